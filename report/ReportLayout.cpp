#include "report/ReportLayout.h"

#include "data/GridPlaceholders.h"
#include "data/PassLimits.h"
#include "report/ReadingVerdict.h"

#include <cmath>

namespace {

// The default floating-point environment rounds to nearest with ties to even, which is what
// nearbyint then does; it never raises an inexact exception.
int RoundHalfEven(long double value) {
    return static_cast<int>(std::nearbyint(value));
}

int PercentOf(int size, float percent) {
    return RoundHalfEven(static_cast<long double>(size) * percent / 100.0L);
}

// The grid's text, or blank where it holds Connect's placeholder.
std::string_view UnlessPlaceholder(std::string_view text, std::string_view placeholder) {
    return text == placeholder ? std::string_view() : text;
}

// The reading as shown, or blank where the text holds none.
std::string_view ShownReading(std::string_view text) {
    return HoldsReading(text) ? text : std::string_view();
}

} // namespace

PixelPoint PlaceTextPosition(int width, int height, ReportPlace place) {
    return {PercentOf(width, place.XPercent), PercentOf(height, place.YPercent)};
}

int PlaceTextRight(int width, ReportPlace place) {
    return PercentOf(width, place.RightPercent);
}

std::vector<PixelPoint> PlaceTextLines(int width, int height, std::size_t row) {
    const ReportPlace place = ReportPlaces[row];
    std::vector<PixelPoint> lines{PlaceTextPosition(width, height, place)};
    if (row == CommentRow) {
        for (const float y : CommentRunOnYPercents)
            lines.push_back({lines.front().X, PercentOf(height, y)});
    }
    return lines;
}

std::string_view VehicleTypeWord(int selectedIndex) {
    static constexpr std::string_view words[] = {"passenger car", "lorry", "bus", "other"};
    if (selectedIndex < 0 || selectedIndex >= static_cast<int>(std::size(words)))
        return {};
    return words[selectedIndex];
}

std::string_view CutReportText(std::string_view text) {
    return text.substr(0, ReportTextCapacity);
}

std::array<std::string, ReportTextCount> ComposeReportTexts(const ReportEntries& entries,
                                                            const ReportMeasurement& measurement) {
    const std::string_view texts[ReportTextCount] = {
        entries.CustomerName,
        entries.Address1,
        entries.Address2,
        UnlessPlaceholder(measurement.DateText, PlaceholderDateText),
        UnlessPlaceholder(measurement.TimeText, PlaceholderTimeText),
        entries.RegistrationNo,
        VehicleTypeWord(entries.VehicleTypeIndex),
        entries.Make,
        entries.Model,
        entries.Mileage,
        ReadingVerdict(measurement.FrontText, FrontLimit),
        ReadingVerdict(measurement.LeftText, SideLimit),
        ReadingVerdict(measurement.RightText, SideLimit),
        ShownReading(measurement.FrontText),
        ShownReading(measurement.LeftText),
        ShownReading(measurement.RightText),
        entries.Comment,
        entries.Diagnostician,
    };
    std::array<std::string, ReportTextCount> cut;
    for (std::size_t i = 0; i < ReportTextCount; ++i)
        cut[i] = std::string(CutReportText(texts[i]));
    return cut;
}

std::string ReportJobTitle(const ReportEntries& entries) {
    const std::string& number = entries.RegistrationNo;
    const auto first = number.find_first_not_of(" \t");
    if (first == std::string::npos)
        return "Kavra Tintra";
    return "Kavra Tintra " + number.substr(first, number.find_last_not_of(" \t") - first + 1);
}
