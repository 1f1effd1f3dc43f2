#include "report/ReadingVerdict.h"

#include "data/PassLimits.h"

#include <cstddef>
#include <iterator>
#include <optional>

namespace {

// The meter's 9999, "no value": by the program's rule it meets every limit.
constexpr std::string_view NoValueText = "-----";
constexpr float NoValue = 9999.0f;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The shown reading in tenths of a percent; none for a text that is no shown reading.
std::optional<float> ShownValue(std::string_view shown) {
    if (shown == NoValueText)
        return NoValue;
    if (shown.size() != 5 || shown[3] != ',')
        return std::nullopt;
    float value = 0;
    for (const char c : {shown[0], shown[1], shown[2], shown[4]}) {
        if (!IsDigit(c))
            return std::nullopt;
        value = value * 10 + static_cast<float>(c - '0');
    }
    return value;
}

} // namespace

bool HoldsReading(std::string_view shown) {
    return ShownValue(shown).has_value();
}

std::string_view ReadingVerdict(std::string_view shown, float limit) {
    const std::optional<float> value = ShownValue(shown);
    if (!value)
        return {};
    return *value >= limit ? "positive" : "negative";
}

std::string MissingVerdictNotice(int record, const ReportMeasurement& measurement) {
    const struct {
        const char* Window;
        const std::string& Text;
    } readings[] = {{"front", measurement.FrontText},
                    {"left", measurement.LeftText},
                    {"right", measurement.RightText}};
    std::string windows;
    std::size_t missing = 0;
    for (const auto& reading : readings) {
        if (HoldsReading(reading.Text))
            continue;
        windows += (missing++ ? " or " : "") + std::string(reading.Window);
    }
    if (missing == 0)
        return {};
    const std::string start = "Record " + std::to_string(record);
    if (missing == std::size(readings))
        return start + " holds no reading from the meter, so its report shows no verdict.";
    return start + " holds no " + windows + " reading from the meter, so its report shows no " +
           windows + " verdict.";
}
