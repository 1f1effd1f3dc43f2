#include "meter/Reading.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Reading, NumberRule) {
    const struct {
        const char* text;
        float value;
    } cases[] = {
        {"0753", 753.0f}, {"9999", 9999.0f}, {"  0753", 753.0f}, {"\t75", 75.0f}, {"75.5", 75.5f},
        {".5", 0.5f},     {"-075", -75.0f},  {"+075", 75.0f},    {"", 0.0f},      {"   ", 0.0f},
        {"7a", 0.0f},     {"0753 ", 0.0f},   {"1e3", 0.0f},      {"0x1A", 0.0f},  {"inf", 0.0f},
        {"nan", 0.0f},    {"-", 0.0f},       {".", 0.0f},        {"7.5.1", 0.0f}, {"07,5", 0.0f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(MeterReadingValue(c.text), c.value);
    }
    // Too large for a float.
    EXPECT_EQ(MeterReadingValue(std::string(60, '9')), 0.0f);
}

} // namespace
