#include "meter/MeterFrame.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<std::uint8_t> Sent(const FrameBuffer& buffer, std::uint16_t length) {
    return {buffer.begin(), buffer.begin() + length};
}

TEST(MeterRequest, IdentificationRequest) {
    FrameBuffer buffer;
    buffer.fill(0xAA);
    const std::uint16_t length = BuildIdentificationRequest(buffer);
    EXPECT_EQ(Sent(buffer, length), (std::vector<std::uint8_t>{0x02, 0x56, 0x3F, 0x0D}));
}

TEST(MeterRequest, MeasurementRequestCarriesTheRecordDigit) {
    FrameBuffer buffer;
    for (std::uint8_t record = 1; record <= 9; ++record) {
        SCOPED_TRACE(int(record));
        buffer.fill(0xAA);
        const std::uint16_t length = BuildMeasurementRequest(buffer, record);
        EXPECT_EQ(Sent(buffer, length),
                  (std::vector<std::uint8_t>{0x02, 0x50, 0x3F, std::uint8_t('0' + record), 0x0D}));
    }
}

} // namespace
