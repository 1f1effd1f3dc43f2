#include "data/ReadingValue.h"

#include <algorithm>

namespace {
constexpr float NoValue = 9999.0f;
// The display form "075,3" holds the meter's four digits; more cannot come from the meter.
constexpr int DisplayDigits = 4;
} // namespace

float ReadingValue(std::string_view text) {
    if (!text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c == '-'; }))
        return NoValue;
    float value = 0;
    int digits = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            continue;
        if (++digits > DisplayDigits)
            return 0;
        value = value * 10 + static_cast<float>(c - '0');
    }
    return value;
}
