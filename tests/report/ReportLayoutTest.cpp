#include "report/ReportLayout.h"

#include "data/GridPlaceholders.h"
#include "report/ReadingVerdict.h"

#include <gtest/gtest.h>

#include <string>

namespace {

enum Row : std::size_t {
    CustomerName,
    Address1,
    Address2,
    Date,
    Time,
    RegistrationNo,
    VehicleType,
    Make,
    Model,
    Mileage,
    FrontVerdict,
    LeftVerdict,
    RightVerdict,
    FrontReading,
    LeftReading,
    RightReading,
    Comment,
    Diagnostician,
};

TEST(ReportLayout, PositionsOnAnA4ImageAt300Dpi) {
    const struct {
        Row row;
        PixelPoint at;
    } cases[] = {
        {CustomerName, {620, 702}},   {Date, {620, 1056}},         {VehicleType, {1736, 1158}},
        {FrontVerdict, {1810, 1884}}, {LeftReading, {1240, 2091}}, {Comment, {689, 2670}},
        {Diagnostician, {689, 3017}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PlaceTextPosition(2480, 3508, ReportPlaces[c.row]), c.at) << "row " << c.row;
}

TEST(ReportLayout, RoundsHalfToEvenWithSinglePrecisionPercentages) {
    const struct {
        int width, height;
        ReportPlace place;
        PixelPoint at;
    } cases[] = {
        {5, 20, {50.0f, 22.5f, 50.0f}, {2, 4}},  // 2.5 and 4.5 go down to even
        {3, 60, {50.0f, 22.5f, 50.0f}, {2, 14}}, // 1.5 and 13.5 go up to even
        // 27.8 as a single is a little below 27.8, so 250 x 27.8 % falls just short of 69.5.
        {250, 100, {27.8f, 86.0f, 27.8f}, {69, 86}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PlaceTextPosition(c.width, c.height, c.place), c.at)
            << c.width << " x " << c.height << " at " << c.place.XPercent << " %";
        // The box's right edge at the same percentage as the position rounds to the same column.
        EXPECT_EQ(PlaceTextRight(c.width, c.place), c.at.X) << c.width << " wide";
    }
}

// What the page prints from a grid row: each verdict is judged from the reading text beside it, a
// text that holds no reading prints neither itself nor a verdict, and Connect's placeholders print
// blank. The notice is what the question before printing says.
TEST(ReportLayout, PrintsEachReadingWithItsOwnVerdictOrNeither) {
    const struct {
        const char* Name;
        ReportMeasurement Row;
        // Date, time, the front, left and right readings, then their verdicts.
        std::array<std::string, 8> Printed;
        const char* Notice;
    } cases[] = {
        {"read by the meter",
         {"2026-12-10", "05:50:00", "075,3", "070,0", "069,9"},
         {"2026-12-10", "05:50:00", "075,3", "070,0", "069,9", "positive", "positive", "negative"},
         ""},
        {"at the limits, no value on the meter",
         {"2026-12-10", "05:50:00", "075,0", "070,0", "-----"},
         {"2026-12-10", "05:50:00", "075,0", "070,0", "-----", "positive", "positive", "positive"},
         ""},
        {"a tenth below the limits",
         {"2026-12-10", "05:50:00", "074,9", "069,9", "069,9"},
         {"2026-12-10", "05:50:00", "074,9", "069,9", "069,9", "negative", "negative", "negative"},
         ""},
        {"cleared by Connect",
         {PlaceholderDateText, PlaceholderTimeText, PlaceholderReadingText, PlaceholderReadingText,
          PlaceholderReadingText},
         {"", "", "", "", "", "", "", ""},
         "Record 4 holds no reading from the meter, so its report shows no verdict."},
        {"from a file without date or time",
         {"", "", "099,9", "000,0", "070,0"},
         {"", "", "099,9", "000,0", "070,0", "positive", "negative", "positive"},
         ""},
        {"one cell empty",
         {"2026-12-10", "05:50:00", "080,0", "", "071,5"},
         {"2026-12-10", "05:50:00", "080,0", "", "071,5", "positive", "", "positive"},
         "Record 4 holds no left reading from the meter, so its report shows no left verdict."},
        // Texts the meter's display form never takes: no reading, whatever number they hold.
        {"not in the display form",
         {"2026-12-10", "05:50:00", "75,3", "075.3", "0753"},
         {"2026-12-10", "05:50:00", "", "", "", "", "", ""},
         "Record 4 holds no reading from the meter, so its report shows no verdict."},
        {"partly in the display form",
         {"10.12.2026", "05:50", "075,3", " 75,3", "-"},
         {"10.12.2026", "05:50", "075,3", "", "", "positive", "", ""},
         "Record 4 holds no left or right reading from the meter, so its report shows no left or "
         "right verdict."},
    };
    for (const auto& c : cases) {
        const auto texts = ComposeReportTexts({}, c.Row);
        const std::array<std::string, 8> printed{
            texts[Date],         texts[Time],         texts[FrontReading], texts[LeftReading],
            texts[RightReading], texts[FrontVerdict], texts[LeftVerdict],  texts[RightVerdict]};
        EXPECT_EQ(printed, c.Printed) << c.Name;
        EXPECT_EQ(MissingVerdictNotice(4, c.Row), c.Notice) << c.Name;
    }
}

TEST(ReportLayout, VehicleTypeWordsForTheComboItems) {
    const struct {
        int index;
        const char* word;
    } cases[] = {
        {0, "passenger car"}, {1, "lorry"}, {2, "bus"}, {3, "other"}, {-1, ""}, {4, ""}, {-2, ""}};
    for (const auto& c : cases)
        EXPECT_EQ(VehicleTypeWord(c.index), c.word) << c.index;
}

TEST(ReportLayout, TheJobIsTitledWithTheRegistrationNumber) {
    const struct {
        const char* Number;
        const char* Title;
    } cases[] = {{"WX 12345", "Kavra Tintra WX 12345"},
                 {"  KR 4471C ", "Kavra Tintra KR 4471C"},
                 {"", "Kavra Tintra"},
                 {" \t ", "Kavra Tintra"}};
    for (const auto& c : cases) {
        ReportEntries entries;
        entries.RegistrationNo = c.Number;
        EXPECT_EQ(ReportJobTitle(entries), c.Title) << "'" << c.Number << "'";
    }
}

TEST(ReportLayout, ComposesTheTextsInLayoutOrder) {
    ReportEntries entries{"Customer", "Street 1", "City",
                          "WX 12345", 1,          "Make",
                          "Model",    "12000",    std::string(300, 'c'),
                          "Inspector"};
    ReportMeasurement measurement{"2026-12-10", "05:50:00", "074,9", "070,0", "069,9"};
    const auto texts = ComposeReportTexts(entries, measurement);
    const std::array<std::string, ReportTextCount> expected{"Customer",
                                                            "Street 1",
                                                            "City",
                                                            "2026-12-10",
                                                            "05:50:00",
                                                            "WX 12345",
                                                            "lorry",
                                                            "Make",
                                                            "Model",
                                                            "12000",
                                                            "negative",
                                                            "positive",
                                                            "negative",
                                                            "074,9",
                                                            "070,0",
                                                            "069,9",
                                                            std::string(255, 'c'),
                                                            "Inspector"};
    EXPECT_EQ(texts, expected);
}

} // namespace
