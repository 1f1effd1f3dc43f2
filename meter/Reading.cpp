#include "meter/Reading.h"

#include "data/PassLimits.h"

#include <algorithm>
#include <charconv>
#include <system_error>

std::string DisplayReading(std::string_view reading) {
    if (reading == "9999")
        return "-----";
    if (reading.size() < 4)
        return std::string(reading);
    std::string shown(reading.substr(0, 3));
    shown += ',';
    shown += reading[3];
    return shown;
}

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Digits, optionally with a fraction after a point; at least one digit in all.
bool IsUnsignedDecimal(std::string_view text) {
    const auto point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view fraction =
        point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
    return whole.size() + fraction.size() > 0 && std::ranges::all_of(whole, IsDigit) &&
           std::ranges::all_of(fraction, IsDigit);
}

} // namespace

float MeterReadingValue(std::string_view reading) {
    const auto first = reading.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return 0.0f;
    std::string_view number = reading.substr(first);
    bool negative = false;
    if (number.front() == '+' || number.front() == '-') {
        negative = number.front() == '-';
        number.remove_prefix(1);
    }
    if (!IsUnsignedDecimal(number))
        return 0.0f;
    float value = 0.0f;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value,
                                              std::chars_format::fixed);
    if (error != std::errc() || end != number.data() + number.size())
        return 0.0f;
    return negative ? -value : value;
}

const char* Verdict(float front, float left, float right) {
    return front >= FrontLimit && left >= SideLimit && right >= SideLimit ? "positive" : "negative";
}
