#include "data/MeasurementRecord.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

TEST(ShortString, CutsLongTextsAndKeepsBytesAfterTheLength) {
    ShortString s;
    std::memset(&s, 'x', sizeof s);
    SetText(s, std::string(300, 'a'));
    EXPECT_EQ(s.Length, 255);
    EXPECT_EQ(GetText(s), std::string(255, 'a'));

    SetText(s, "ab");
    EXPECT_EQ(s.Length, 2);
    EXPECT_EQ(GetText(s), "ab");
    EXPECT_EQ(s.Chars[2], 'a') << "bytes after the length are left as they were";

    SetText(s, "");
    EXPECT_EQ(GetText(s), "");
}

TEST(MeasurementSet, SlotsAreNumberedFromOneInFileOrder) {
    static MeasurementSet store{};
    store.Slot(1).VehicleType = 0x01020304;
    store.Slot(9).RightValue = 753.0f;
    const auto* bytes = reinterpret_cast<const unsigned char*>(&store);
    EXPECT_EQ(bytes[2316], 0x04) << "little-endian at offset 2316 of slot 1";
    EXPECT_EQ(bytes[2319], 0x01);
    float right;
    std::memcpy(&right, bytes + 8 * 3856 + 776, sizeof right);
    EXPECT_EQ(right, 753.0f);
}
