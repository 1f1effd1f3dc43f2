// The report's texts at their size, measured on the composed image: capitals as tall as the
// face's outlines give at the report's character height, and letters at their normal spacing.
// The same tests run under other conditions, each named in the environment and checked first,
// so that a run never passes under the wrong ones: WMX_SCREEN_DPI, the screen's resolution set
// in the prefix for that run, and WMX_CODE_PAGE, the ANSI code page of the locale it runs in.

#include "ReportRaster.h"

#include "report/ReportImage.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

namespace {

const std::string FormFile = WindowsPath(WMX_REPORT_FORM);

int ScreenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

// The rows measured: texts whose letters and digits all stand on the line and reach cap height.
constexpr std::size_t CustomerRow = 0, RegistrationRow = 5, MakeRow = 7;
// Polish words in the code page 1250, with letters that sit above, below and through the others.
const std::string Zazolc = "Za\xbf\xf3\xb3\xe6"; // Zażółć
const std::string Gesla = "g\xea\x9cl\xb9";      // gęślą
constexpr std::size_t DiagnosticianRow = 17;

struct Composed {
    std::array<std::string, ReportTextCount> Texts;
    Raster Blank;
    Raster Report;
};

Composed Compose() {
    ReportEntries entries;
    entries.CustomerName = "JAN NOWAK";
    entries.RegistrationNo = "WX 12345";
    entries.Make = "HEKTOR";
    entries.Comment = Zazolc;
    entries.Diagnostician = Gesla;
    const ReportMeasurement measurement{"10.12.2026", "05:58:12", "074,9", "070,0", "071,2"};
    Composed c{ComposeReportTexts(entries, measurement), {}, {}};
    ReportImage image = ReportImage::Load(FormFile);
    c.Blank = ReadRaster(image);
    image.WriteTexts(c.Texts);
    c.Report = ReadRaster(image);
    return c;
}

Ink RowInk(const Composed& c, std::size_t row) {
    return FindInk(c.Blank, c.Report, TextArea(c.Blank.Width, c.Blank.Height, row, c.Texts[row]));
}

TEST(ReportText, RunsUnderTheConditionsItWasStartedFor) {
    if (const char* dpi = std::getenv("WMX_SCREEN_DPI")) {
        EXPECT_EQ(ScreenDpi(), std::atoi(dpi));
    }
    if (const char* codePage = std::getenv("WMX_CODE_PAGE")) {
        EXPECT_EQ(GetACP(), static_cast<UINT>(std::atoi(codePage)));
    }
}

TEST(ReportText, CapitalsAreAsTallAsTheFacesOutlinesGive) {
    const ReferenceFace face = ReportReferenceFace();
    const Composed composed = Compose();
    for (const std::size_t row : {CustomerRow, RegistrationRow, MakeRow}) {
        const int height = RowInk(composed, row).Height();
        std::printf("\"%s\": capitals %d pixels high; \"%s\" at %d pixels gives %d (screen %d dpi, "
                    "code page %u)\n",
                    composed.Texts[row].c_str(), height, face.Name.c_str(), ReportCharacterHeight,
                    face.CapitalHeight, ScreenDpi(), GetACP());
        EXPECT_NEAR(height, face.CapitalHeight, face.CapitalHeight * 0.1) << composed.Texts[row];
    }
}

// Letters follow each other as the face spaces them: the written word is as wide as the face
// makes it, and no letter stands apart from the next.
TEST(ReportText, LettersKeepTheirNormalSpacing) {
    const ReferenceFace face = ReportReferenceFace();
    const Composed composed = Compose();
    for (const std::size_t row : {CommentRow, DiagnosticianRow}) {
        const Ink ink = RowInk(composed, row);
        const int width = face.TextWidth(composed.Texts[row]);
        std::printf("word of row %zu: %d pixels wide, widest gap %d; the face gives %d\n", row + 1,
                    ink.Width(), ink.WidestGap, width);
        EXPECT_NEAR(ink.Width(), width, width * 0.1) << "row " << row + 1;
        EXPECT_LE(ink.WidestGap, ReportCharacterHeight / 4) << "row " << row + 1;
    }
}

} // namespace
