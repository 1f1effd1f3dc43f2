#include "report/ReportFont.h"

#include "report/ReportLayout.h"

#include <cstring>

namespace {

HFONT CreateOutlineFont(const char* face, int characterHeight) {
    LOGFONTA style{};
    style.lfHeight = -characterHeight;
    style.lfWeight = FW_NORMAL;
    style.lfCharSet = DEFAULT_CHARSET;
    style.lfOutPrecision = OUT_TT_ONLY_PRECIS;
    style.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    // Plain pixels in the text colour, as the raster face gave: smoothing would put grey or
    // coloured fringes onto the page.
    style.lfQuality = NONANTIALIASED_QUALITY;
    std::strcpy(style.lfFaceName, face);
    return CreateFontIndirectA(&style);
}

// Whether the font is realized from outlines under the face name it asks for. Some systems give
// the raster face whatever the output precision says.
bool RealizedScalable(HDC dc, HFONT font, const char* face) {
    const HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICA metrics{};
    char realized[LF_FACESIZE] = {};
    const bool scalable =
        GetTextMetricsA(dc, &metrics) && (metrics.tmPitchAndFamily & TMPF_VECTOR) &&
        GetTextFaceA(dc, LF_FACESIZE, realized) > 0 && lstrcmpiA(realized, face) == 0;
    SelectObject(dc, old);
    return scalable;
}

} // namespace

HFONT CreateReportFont(HDC dc, int characterHeight) {
    constexpr const char* face = "MS Sans Serif";
    const HFONT font = CreateOutlineFont(face, characterHeight);
    if (RealizedScalable(dc, font, face))
        return font;
    DeleteObject(font);
    return CreateOutlineFont("Microsoft Sans Serif", characterHeight);
}
