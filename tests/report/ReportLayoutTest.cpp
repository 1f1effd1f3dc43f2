#include "report/ReportLayout.h"

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

TEST(ReportLayout, VerdictsMeetTheirLimitWhenEqual) {
    EXPECT_EQ(VerdictWord(750.0f, FrontLimit), "positive");
    EXPECT_EQ(VerdictWord(749.9f, FrontLimit), "negative");
    EXPECT_EQ(VerdictWord(700.0f, SideLimit), "positive");
    EXPECT_EQ(VerdictWord(699.9f, SideLimit), "negative");
    EXPECT_EQ(VerdictWord(9999.0f, FrontLimit), "positive");
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
    ReportMeasurement measurement{"2026-12-10", "05:50:00", "074,9", "070,0",
                                  "069,9",      749.0f,     700.0f,  699.0f};
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
