#include "data/RecoveryImage.h"
#include "data/StoreImage.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

std::unique_ptr<MeasurementSet> SampleSet() {
    auto set = std::make_unique<MeasurementSet>();
    std::memset(set.get(), 0, sizeof *set);
    SetText(set->Slot(1).CustomerName, "Zofia Kowalska");
    SetText(set->Slot(9).Comment, std::string(255, 'c'));
    set->Slot(4).FrontValue = 753.0f;
    return set;
}

TEST(RecoveryImage, KeepsTheSetAndItsFileByteForByte) {
    const auto set = SampleSet();
    for (const std::string& origin :
         {std::string(), std::string("C:\\stacja\\pomiary 1.wmx"), std::string(600, 'x')}) {
        SCOPED_TRACE(origin.size());
        auto read = std::make_unique<MeasurementSet>();
        const auto name = ReadRecoveryImage(RecoveryImage(*set, origin), *read);
        ASSERT_TRUE(name);
        EXPECT_EQ(*name, origin);
        EXPECT_EQ(std::memcmp(read.get(), set.get(), StoreImageSize), 0);
    }
}

// A copy cut short by a crash while it was written, or any other file, gives nothing.
TEST(RecoveryImage, RefusesWhatIsNotOneWholeCopy) {
    const auto set = SampleSet();
    const auto whole = RecoveryImage(*set, "C:\\a.wmx");
    auto wrongMark = whole;
    wrongMark[0] = 'X';
    auto longer = whole;
    longer.push_back(0);
    const std::vector<std::uint8_t> cases[] = {
        {},     {whole.begin(), whole.end() - 1},  {whole.begin(), whole.begin() + 9}, wrongMark,
        longer, {whole.begin() + 18, whole.end()}, // a bare .wmx image
    };
    for (const auto& bytes : cases) {
        SCOPED_TRACE(bytes.size());
        auto read = std::make_unique<MeasurementSet>();
        std::memset(read.get(), 0x5A, sizeof *read);
        EXPECT_FALSE(ReadRecoveryImage(bytes, *read));
        EXPECT_EQ(reinterpret_cast<const std::uint8_t*>(read.get())[100], 0x5A) << "untouched";
    }
}

} // namespace
