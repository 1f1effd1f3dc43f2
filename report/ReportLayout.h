#pragma once
// What the test report writes and where: the 18 texts over the form image and their positions as
// percentages of the image's size.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Everything the main window shows at the moment of printing. The texts are taken as displayed;
// VehicleTypeIndex is the combo box's selected item, -1 when none is selected.
struct ReportEntries {
    std::string CustomerName;
    std::string Address1;
    std::string Address2;
    std::string RegistrationNo;
    int VehicleTypeIndex = -1;
    std::string Make;
    std::string Model;
    std::string Mileage;
    std::string Comment;
    std::string Diagnostician;
};

// The measurement printed: the grid row's texts as shown. The verdicts are judged from these
// texts, not from the values stored in the record, which need not agree with them.
struct ReportMeasurement {
    std::string DateText;
    std::string TimeText;
    std::string FrontText;
    std::string LeftText;
    std::string RightText;
};

// One text of the report: its top-left corner in percent of the image's width and height, and the
// right edge of the form's white box that holds it in percent of the width, as single-precision
// values (30.1 stands for the single nearest to 30.1).
struct ReportPlace {
    float XPercent;
    float YPercent;
    float RightPercent;
};

constexpr std::size_t ReportTextCount = 18;

// In the order in which the texts are written; a later text covers an earlier one it overlaps.
inline constexpr std::array<ReportPlace, ReportTextCount> ReportPlaces{{
    {25.0f, 20.0f, 93.5f}, // customer name
    {25.0f, 22.5f, 93.5f}, // address, first line
    {25.0f, 25.0f, 93.5f}, // address, second line
    {25.0f, 30.1f, 50.0f}, // date of the test
    {25.0f, 33.0f, 50.0f}, // time of the test
    {70.0f, 30.1f, 93.5f}, // registration number
    {70.0f, 33.0f, 93.5f}, // vehicle type word
    {70.0f, 35.7f, 93.5f}, // make
    {70.0f, 38.7f, 93.5f}, // model
    {70.0f, 41.7f, 93.5f}, // mileage
    {73.0f, 53.7f, 93.5f}, // front verdict
    {73.0f, 59.6f, 93.5f}, // left verdict
    {73.0f, 65.6f, 93.5f}, // right verdict
    {50.0f, 53.7f, 71.3f}, // front reading
    {50.0f, 59.6f, 71.3f}, // left reading
    {50.0f, 65.6f, 71.3f}, // right reading
    {27.8f, 76.1f, 93.5f}, // comment
    {27.8f, 86.0f, 64.5f}, // diagnostician
}};

// The comment's row: a comment too long for its box runs on below it over the empty lines of the
// remarks area, at these heights in percent of the image's height, from the comment's left edge to
// its box's right edge.
constexpr std::size_t CommentRow = 16;
inline constexpr std::array<float, 3> CommentRunOnYPercents{78.9f, 81.2f, 83.5f};

struct PixelPoint {
    int X;
    int Y;
    friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

// Where a text placed at the given percentages starts on an image of width x height pixels:
// size x percent / 100 in extended precision, rounded to the nearest pixel, ties to even.
PixelPoint PlaceTextPosition(int width, int height, ReportPlace place);
// The first column past the text's box on an image of that width, rounded the same way: nothing of
// the text is drawn there or further right.
int PlaceTextRight(int width, ReportPlace place);
// Where each line of a row's text starts on an image of width x height pixels: the row's place,
// then for the comment the lines it runs on to.
std::vector<PixelPoint> PlaceTextLines(int width, int height, std::size_t row);

// The word printed for the combo box's selected item; empty for no item or an unknown one.
std::string_view VehicleTypeWord(int selectedIndex);

// A report text holds at most 255 characters; longer values are cut without notice.
constexpr std::size_t ReportTextCapacity = 255;
std::string_view CutReportText(std::string_view text);

// The text's character height in image pixels: 20 points converted at 96 pixels per inch,
// whatever the screen's resolution, so that a report comes out alike from every PC.
constexpr int ReportTextPoints = 20;
constexpr int ReportCharacterHeight = (ReportTextPoints * 96 + 36) / 72;
static_assert(ReportCharacterHeight == 27);
// A text too wide for its box is drawn smaller until it fits, down to two thirds of the character
// height; a text that does not fit even then is cut at the box's right edge.
constexpr int ReportSmallestCharacterHeight = ReportCharacterHeight * 2 / 3;

// The print job's title, by which the report is told apart in a shared printer's queue: the
// program's name and the vehicle's registration number, "Kavra Tintra WX 12345" (the name alone
// when the number is blank).
std::string ReportJobTitle(const ReportEntries& entries);

// The 18 texts in the order of ReportPlaces, already cut to their length. A reading text that holds
// no reading prints blank with no verdict beside it, and Connect's placeholder date and time
// print blank.
std::array<std::string, ReportTextCount> ComposeReportTexts(const ReportEntries& entries,
                                                            const ReportMeasurement& measurement);
