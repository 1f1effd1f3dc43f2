#include "DialogButton.h"
#include "ReportRaster.h"
#include "ScratchFolder.h"

#include "report/ReportError.h"
#include "report/ReportImage.h"
#include "report/TestReport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {

const std::string FormFile = WindowsPath(WMX_REPORT_FORM);

ReportEntries FullEntries() {
    return {"Jan Example", "Long Street 12", "00-950 Town",       "WX 12345",        0, "Make",
            "Model 3",     "123456",         "Rear lamp cracked", "A. Diagnostician"};
}

ReportMeasurement FullMeasurement() {
    return {"10.12.2026", "05:58:12", "074,9", "070,0", "071,2"};
}

std::string TrimmedRight(const std::string& text) {
    return text.substr(0, text.find_last_not_of(' ') + 1);
}

bool Inside(const RECT& r, int x, int y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

// Pixels that differ between two images of one size, as counts inside the area and in total.
struct Changes {
    int inside = 0;
    int total = 0;
};
Changes CountChanges(const Raster& before, const Raster& after, const RECT& area) {
    Changes c;
    for (int y = 0; y < before.Height; ++y)
        for (int x = 0; x < before.Width; ++x)
            if (before.At(x, y) != after.At(x, y)) {
                ++c.total;
                c.inside += Inside(area, x, y);
            }
    return c;
}

Raster Report(const std::string& form, const ReportEntries& e, const ReportMeasurement& m) {
    ReportImage image = ReportImage::Load(form);
    image.WriteTexts(ComposeReportTexts(e, m));
    return ReadRaster(image);
}

TEST(ReportImage, WritesEachValueInsideAWhiteBoxOfTheFormAndNowhereElse) {
    const Raster blank = ReadRaster(ReportImage::Load(FormFile));
    const auto texts = ComposeReportTexts(FullEntries(), FullMeasurement());
    const Raster report = Report(FormFile, FullEntries(), FullMeasurement());

    std::vector<RECT> areas;
    for (std::size_t row = 0; row < ReportTextCount; ++row) {
        const RECT area = TextArea(blank.Width, blank.Height, row, texts[row]);
        areas.push_back(area);
        int inkInside = 0;
        bool formWhite = true;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x) {
                formWhite = formWhite && blank.At(x, y) == White;
                inkInside += blank.At(x, y) != report.At(x, y);
            }
        EXPECT_TRUE(formWhite) << "the form is not white under row " << row + 1;
        EXPECT_GT(inkInside, 0) << "no ink for row " << row + 1 << " \"" << texts[row] << "\"";
    }
    int inkOutside = 0;
    for (int y = 0; y < blank.Height; ++y)
        for (int x = 0; x < blank.Width; ++x)
            if (blank.At(x, y) != report.At(x, y)) {
                bool inside = false;
                for (const RECT& area : areas)
                    inside = inside || Inside(area, x, y);
                inkOutside += !inside;
            }
    EXPECT_EQ(inkOutside, 0);
}

TEST(ReportImage, EmptyValuesLeaveTheirPlacesBlank) {
    const Raster blank = ReadRaster(ReportImage::Load(FormFile));
    const struct {
        const char* what;
        std::size_t row;
        void (*clear)(ReportEntries&);
    } cases[] = {
        {"empty make", 7, [](ReportEntries& e) { e.Make.clear(); }},
        {"no vehicle type item selected", 6, [](ReportEntries& e) { e.VehicleTypeIndex = -1; }},
        {"empty comment", 16, [](ReportEntries& e) { e.Comment.clear(); }},
    };
    for (const auto& c : cases) {
        ReportEntries entries = FullEntries();
        const std::string shown = ComposeReportTexts(entries, FullMeasurement())[c.row];
        c.clear(entries);
        const Raster report = Report(FormFile, entries, FullMeasurement());
        const RECT place = TextArea(blank.Width, blank.Height, c.row, shown);
        const Changes changes = CountChanges(blank, report, place);
        EXPECT_EQ(changes.inside, 0) << c.what;
        EXPECT_GT(changes.total, 0) << c.what << ": the other values are missing";
    }
}

TEST(ReportImage, ValuesAreCutTo255Characters) {
    // A wide plain image, so that 300 narrow characters still fit on it.
    ScratchFolder folder;
    WritePlainBitmap("wide.bmp", 9000, 120, 255);
    auto withComment = [](std::size_t length) {
        ReportEntries entries;
        entries.Comment.assign(length, 'l');
        return Report("wide.bmp", entries, FullMeasurement());
    };
    const Raster cut = withComment(300);
    EXPECT_TRUE(cut.Pixels == withComment(255).Pixels);
    EXPECT_FALSE(cut.Pixels == withComment(254).Pixels);
}

// A value wider than its box of the form is drawn smaller until it fits, down to two thirds of
// the character height, and past that cut at the box's right edge; none crosses its box.
TEST(ReportImage, LongValuesShrinkToFitTheirBoxThenAreCutAtItsEdge) {
    enum Drawn { Fits, Shrinks, Cut };
    struct Length {
        std::size_t characters;
        Drawn drawn;
    };
    using E = ReportEntries;
    using M = ReportMeasurement;
    const struct {
        const char* name;
        std::size_t row;
        std::vector<Length> lengths;
        std::string E::*entry;   // the value's field, among the entries
        std::string M::*reading; // or among the measurement's texts
    } boxes[] = {
        {"name", 0, {{40, Fits}, {65, Shrinks}, {131, Cut}, {255, Cut}}, &E::CustomerName, {}},
        {"address", 2, {{65, Shrinks}}, &E::Address2, {}},
        {"date", 3, {{10, Fits}, {24, Shrinks}}, {}, &M::DateText},
        {"time", 4, {{60, Cut}}, {}, &M::TimeText},
        {"registration", 5, {{12, Fits}, {22, Shrinks}, {40, Cut}}, &E::RegistrationNo, {}},
        {"make", 7, {{22, Shrinks}}, &E::Make, {}},
        {"model", 8, {{40, Cut}}, &E::Model, {}},
        {"mileage", 9, {{255, Cut}}, &E::Mileage, {}},
        {"diagnostician", 17, {{20, Fits}, {35, Shrinks}, {80, Cut}}, &E::Diagnostician, {}},
    };
    // Capitals and digits: their ink is as tall as the capitals of the size they are drawn at.
    std::string pattern;
    while (pattern.size() < ReportTextCapacity)
        pattern += "HEKTOR WX 1234 ";
    const ReferenceFace face = ReportReferenceFace();
    const int smallCapitals =
        face.CapitalHeight * ReportSmallestCharacterHeight / ReportCharacterHeight;
    const Raster form = ReadRaster(ReportImage::Load(FormFile));
    // The page with nothing written: the ink of the value is all it adds.
    const Raster without = Report(FormFile, {}, {});
    for (const auto& b : boxes) {
        const RECT box =
            WhiteBoxAround(form, PlaceTextPosition(form.Width, form.Height, ReportPlaces[b.row]));
        for (const Length& l : b.lengths) {
            const std::string text = pattern.substr(0, l.characters);
            ReportEntries entries;
            ReportMeasurement measurement;
            (b.entry ? entries.*b.entry : measurement.*b.reading) = text;
            const Ink ink = FindInk(without, Report(FormFile, entries, measurement),
                                    {0, 0, form.Width, form.Height});
            const std::string what = std::string(b.name) + " of " + std::to_string(l.characters);
            ASSERT_GT(ink.Width(), 0) << what << ": nothing written";
            EXPECT_GE(ink.Left, box.left) << what;
            EXPECT_LE(ink.Right, box.right) << what << " crosses its box's right edge";
            EXPECT_GE(ink.Top, box.top) << what;
            EXPECT_LE(ink.Bottom, box.bottom) << what;
            switch (l.drawn) {
            case Fits:
                EXPECT_NEAR(ink.Height(), face.CapitalHeight, 1) << what << ": not at its size";
                // Within the side bearings of its first and last letter.
                EXPECT_NEAR(ink.Width(), face.TextWidth(TrimmedRight(text)),
                            ReportCharacterHeight / 3)
                    << what << ": not at its size";
                break;
            case Shrinks:
                EXPECT_LT(ink.Height(), face.CapitalHeight - 1) << what << ": not smaller";
                EXPECT_GE(ink.Height(), smallCapitals - 1) << what << ": below two thirds";
                break;
            case Cut:
                EXPECT_NEAR(ink.Height(), smallCapitals, 1) << what << ": not at two thirds";
                EXPECT_GT(ink.Right, box.right - ReportSmallestCharacterHeight / 2)
                    << what << ": not cut at its box's edge";
                break;
            }
        }
    }
}

// A comment too long for its box runs on over the three lines of the remarks area at its full
// size, and is drawn smaller only once those are full: then on all four lines, down to two thirds
// of the character height, and past that cut at the right edge of the last line.
TEST(ReportImage, ALongCommentRunsOnBelowItsBoxBeforeItShrinks) {
    enum Drawn { Full, Smaller, Cut };
    std::string capitals;
    while (capitals.size() < ReportTextCapacity)
        capitals += "HEKTOR WX 1234 ";
    const struct {
        const char* Name;
        std::string Text;
        std::size_t InkedLines;
        Drawn drawn;
    } cases[] = {
        {"fits the box", capitals.substr(0, 40), 1, Full},
        {"one line more", capitals.substr(0, 62), 2, Full},
        {"255 characters of words", capitals.substr(0, 255), 4, Smaller},
        {"255 characters without a blank", std::string(255, 'W'), 4, Cut},
    };
    const ReferenceFace face = ReportReferenceFace();
    const int smallCapitals =
        face.CapitalHeight * ReportSmallestCharacterHeight / ReportCharacterHeight;
    const Raster form = ReadRaster(ReportImage::Load(FormFile));
    const Raster without = Report(FormFile, {}, {});
    const std::vector<PixelPoint> lines = PlaceTextLines(form.Width, form.Height, CommentRow);
    const int right = PlaceTextRight(form.Width, ReportPlaces[CommentRow]);
    const RECT box = WhiteBoxAround(form, lines.front());
    ASSERT_LE(right, box.right) << "the lines end within the box's width";
    for (const PixelPoint& line : lines) {
        bool white = true;
        for (int y = line.Y; y < line.Y + ReportCharacterHeight; ++y)
            for (int x = line.X; x < right; ++x)
                white = white && form.At(x, y) == White;
        EXPECT_TRUE(white) << "the form under the line at " << line.Y;
    }
    for (const auto& c : cases) {
        ReportEntries entries;
        entries.Comment = c.Text;
        const Raster report = Report(FormFile, entries, {});
        EXPECT_EQ(FindInk(without, report, {0, 0, form.Width, lines.front().Y}).Height(), 0)
            << c.Name << ": ink above the box";
        EXPECT_EQ(FindInk(without, report, {right, 0, form.Width, form.Height}).Width(), 0)
            << c.Name << ": ink right of the box's edge";
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const std::string what = std::string(c.Name) + ", line " + std::to_string(i + 1);
            // From the line's top to the next line's, or to the diagnostician's box.
            const int bottom =
                i + 1 < lines.size() ? lines[i + 1].Y : lines[i].Y + 2 * ReportCharacterHeight;
            const Ink ink = FindInk(without, report, {0, lines[i].Y, form.Width, bottom});
            if (i >= c.InkedLines) {
                EXPECT_EQ(ink.Height(), 0) << what << ": not empty";
                continue;
            }
            ASSERT_GT(ink.Height(), 0) << what << ": empty";
            EXPECT_GE(ink.Left, lines[i].X - 2) << what;
            EXPECT_LE(ink.Bottom, lines[i].Y + ReportCharacterHeight) << what;
            if (i == 0) {
                EXPECT_GE(ink.Top, box.top) << what;
                EXPECT_LE(ink.Bottom, box.bottom) << what << " crosses its box";
            }
            switch (c.drawn) {
            case Full:
                EXPECT_NEAR(ink.Height(), face.CapitalHeight, 1) << what << ": not at its size";
                break;
            case Smaller:
                EXPECT_LT(ink.Height(), face.CapitalHeight - 1) << what << ": not smaller";
                EXPECT_GE(ink.Height(), smallCapitals - 1) << what << ": below two thirds";
                break;
            case Cut:
                EXPECT_NEAR(ink.Height(), smallCapitals, 1) << what << ": not at two thirds";
                break;
            }
        }
        if (c.drawn == Cut) {
            const Ink last =
                FindInk(without, report,
                        {0, lines.back().Y, form.Width, lines.back().Y + ReportCharacterHeight});
            EXPECT_GT(last.Right, right - ReportSmallestCharacterHeight / 2)
                << c.Name << ": not cut at the edge";
        }
    }
}

TEST(ReportImage, FilesThatCannotBeUsedGiveTheirMessage) {
    ScratchFolder folder;
    const std::string cannotOpen = "Cannot open file \"" + folder.Path() + "\\protokol.bmp\". ";
    std::vector<char> form;
    {
        std::ifstream in(FormFile, std::ios::binary);
        form.assign(std::istreambuf_iterator<char>(in), {});
    }
    ASSERT_GT(form.size(), 1000u);
    const struct {
        const char* what;
        void (*make)(const std::vector<char>& form);
        const std::string message; // a whole message, or the start of one followed by a reason
        bool reasonFollows;
    } cases[] = {
        {"missing", [](const std::vector<char>&) {}, cannotOpen, true},
        {"a folder in its place",
         [](const std::vector<char>&) { CreateDirectoryA("protokol.bmp", nullptr); }, cannotOpen,
         true},
        {"a text file",
         [](const std::vector<char>&) { std::ofstream("protokol.bmp") << "not a picture\r\n"; },
         "Bitmap image is not valid", false},
        {"a cut bitmap",
         [](const std::vector<char>& form) {
             std::ofstream("protokol.bmp", std::ios::binary).write(form.data(), 1000);
         },
         "Bitmap image is not valid", false},
    };
    for (const auto& c : cases) {
        c.make(form);
        try {
            ReportImage::Load(ReportFormFile);
            ADD_FAILURE() << c.what << ": loaded";
        } catch (const EReportError& e) {
            const std::string message = e.what();
            if (c.reasonFollows) {
                EXPECT_EQ(message.substr(0, c.message.size()), c.message) << c.what;
                EXPECT_GT(message.size(), c.message.size()) << c.what << ": no reason";
            } else {
                EXPECT_EQ(message, c.message) << c.what;
            }
        }
        RemoveDirectoryA("protokol.bmp");
        DeleteFileA("protokol.bmp");
    }
}

struct SourceCalls {
    int entries = 0;
    int selections = 0;
    ReportSource Source() {
        return {[this] {
                    ++entries;
                    return FullEntries();
                },
                [this] {
                    ++selections;
                    return FullMeasurement();
                }};
    }
};

TEST(PrintTestReport, CancelInThePrintDialogLoadsAndAsksNothing) {
    ScratchFolder folder; // no form here: loading it would throw
    SourceCalls calls;
    PressOnNextDialog cancel(IDCANCEL);
    EXPECT_NO_THROW(PrintTestReport(nullptr, calls.Source()));
    EXPECT_TRUE(cancel.Pressed());
    EXPECT_EQ(calls.entries + calls.selections, 0);
}

TEST(PrintTestReport, MissingFormStopsBeforeTheRecordIsSelected) {
    ScratchFolder folder;
    SourceCalls calls;
    PressOnNextDialog print(IDOK);
    try {
        PrintTestReport(nullptr, calls.Source());
        ADD_FAILURE() << "printed without a form";
    } catch (const EReportError& e) {
        EXPECT_EQ(std::string(e.what()).rfind("Cannot open file \"" + folder.Path(), 0), 0u)
            << e.what();
    }
    EXPECT_TRUE(print.Pressed());
    EXPECT_EQ(calls.entries + calls.selections, 0);
}

TEST(SetUpPrinter, ThePrinterChosenThereServesLaterReports) {
    ScratchFolder folder;
    SourceCalls calls;
    auto printerInPrintDialog = [&] {
        std::string shown;
        PressOnNextDialog look(IDCANCEL, [&](HWND dialog) { shown = SelectedPrinter(dialog); });
        PrintTestReport(nullptr, calls.Source());
        return shown;
    };
    EXPECT_EQ(printerInPrintDialog(), "WmxPdf");
    {
        PressOnNextDialog choose(IDOK, [](HWND dialog) { SelectPrinter(dialog, "WmxPdf2"); });
        SetUpPrinter(nullptr);
        ASSERT_TRUE(choose.Pressed());
    }
    EXPECT_EQ(printerInPrintDialog(), "WmxPdf2");
    EXPECT_EQ(printerInPrintDialog(), "WmxPdf2");
}

} // namespace
