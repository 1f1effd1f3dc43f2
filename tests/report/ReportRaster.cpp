#include "ReportRaster.h"

#include "report/ReportFont.h"

#include <algorithm>
#include <fstream>
#include <stdexcept>

Raster ReadRaster(const ReportImage& image) {
    Raster raster{image.Width(), image.Height(), {}};
    raster.Pixels.resize(std::size_t(raster.Width) * raster.Height);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = raster.Width;
    info.bmiHeader.biHeight = -raster.Height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC dc = CreateCompatibleDC(nullptr);
    const int lines = GetDIBits(dc, image.Handle(), 0, raster.Height, raster.Pixels.data(), &info,
                                DIB_RGB_COLORS);
    DeleteDC(dc);
    if (lines != raster.Height)
        throw std::runtime_error("GetDIBits failed");
    for (auto& p : raster.Pixels)
        p &= 0xFFFFFF;
    return raster;
}

RECT TextArea(int width, int height, std::size_t row, const std::string& text) {
    HDC dc = CreateCompatibleDC(nullptr);
    HFONT font = CreateReportFont(dc);
    const HGDIOBJ old = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
    // An outline glyph may reach past its cell: the first one to the left, the last to the right,
    // by its overhang and a pixel of rounding.
    ABC first{}, last{};
    if (!text.empty()) {
        GetCharABCWidthsA(dc, UINT(std::uint8_t(text.front())), UINT(std::uint8_t(text.front())),
                          &first);
        GetCharABCWidthsA(dc, UINT(std::uint8_t(text.back())), UINT(std::uint8_t(text.back())),
                          &last);
    }
    SelectObject(dc, old);
    DeleteObject(font);
    DeleteDC(dc);
    const PixelPoint at = PlaceTextPosition(width, height, ReportPlaces[row]);
    return RECT{at.X + std::min(first.abcA, 0) - 1, at.Y,
                at.X + size.cx - std::min(last.abcC, 0) + 1, at.Y + size.cy};
}

Ink FindInk(const Raster& blank, const Raster& written, const RECT& area) {
    const int width = area.right - area.left;
    std::vector<bool> column(width), row(area.bottom - area.top);
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (blank.At(x, y) != written.At(x, y))
                row[y - area.top] = column[x - area.left] = true;
    Ink ink;
    const auto first = [](const std::vector<bool>& v) {
        return int(std::find(v.begin(), v.end(), true) - v.begin());
    };
    const auto pastLast = [](const std::vector<bool>& v) {
        return int(v.rend() - std::find(v.rbegin(), v.rend(), true));
    };
    ink.Top = area.top + first(row);
    ink.Bottom = std::max<int>(ink.Top, area.top + pastLast(row));
    ink.Left = area.left + first(column);
    ink.Right = std::max<int>(ink.Left, area.left + pastLast(column));
    for (int x = ink.Left, gap = 0; x < ink.Right; ++x) {
        gap = column[x - area.left] ? 0 : gap + 1;
        ink.WidestGap = std::max(ink.WidestGap, gap);
    }
    return ink;
}

RECT WhiteBoxAround(const Raster& form, PixelPoint at) {
    const auto white = [&form](int x, int y) {
        return x >= 0 && y >= 0 && x < form.Width && y < form.Height && form.At(x, y) == White;
    };
    RECT box{at.X, at.Y, at.X + 1, at.Y + 1};
    while (white(box.left - 1, at.Y))
        --box.left;
    while (white(box.right, at.Y))
        ++box.right;
    while (white(at.X, box.top - 1))
        --box.top;
    while (white(at.X, box.bottom))
        ++box.bottom;
    return box;
}

namespace {

// A font of the named face at the report's character height, drawn from its outlines only.
HFONT OutlineFont(const std::string& face) {
    LOGFONTA style{};
    style.lfHeight = -ReportCharacterHeight;
    style.lfCharSet = DEFAULT_CHARSET;
    style.lfOutPrecision = OUT_TT_ONLY_PRECIS;
    face.copy(style.lfFaceName, LF_FACESIZE - 1);
    return CreateFontIndirectA(&style);
}

} // namespace

ReferenceFace ReportReferenceFace() {
    HDC dc = CreateCompatibleDC(nullptr);
    HFONT font = CreateReportFont(dc);
    HGDIOBJ old = SelectObject(dc, font);
    char name[LF_FACESIZE] = {};
    GetTextFaceA(dc, LF_FACESIZE, name);
    SelectObject(dc, old);
    DeleteObject(font);

    font = OutlineFont(name);
    old = SelectObject(dc, font);
    TEXTMETRICA metrics{};
    GLYPHMETRICS capital{};
    const MAT2 identity{{0, 1}, {0, 0}, {0, 0}, {0, 1}};
    const bool outlines =
        GetTextMetricsA(dc, &metrics) && (metrics.tmPitchAndFamily & TMPF_TRUETYPE) &&
        GetGlyphOutlineA(dc, 'H', GGO_METRICS, &capital, 0, nullptr, &identity) != GDI_ERROR;
    SelectObject(dc, old);
    DeleteObject(font);
    DeleteDC(dc);
    if (!outlines)
        throw std::runtime_error(std::string("the report's face is no outline face: ") + name);
    return {name, static_cast<int>(capital.gmBlackBoxY)};
}

int ReferenceFace::TextWidth(const std::string& text) const {
    HDC dc = CreateCompatibleDC(nullptr);
    HFONT font = OutlineFont(Name);
    const HGDIOBJ old = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    DeleteObject(font);
    DeleteDC(dc);
    return size.cx;
}

std::string WindowsPath(const std::string& unixPath) {
    std::string path = "Z:" + unixPath;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

void WritePlainBitmap(const std::string& fileName, int width, int height, std::uint8_t grey) {
    const std::uint32_t rowBytes = (width * 3 + 3) / 4 * 4;
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    BITMAPFILEHEADER header{};
    header.bfType = 0x4D42;
    header.bfOffBits = sizeof header + sizeof info;
    header.bfSize = header.bfOffBits + rowBytes * height;
    std::ofstream out(fileName, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&header), sizeof header);
    out.write(reinterpret_cast<const char*>(&info), sizeof info);
    const std::vector<char> row(rowBytes, static_cast<char>(grey));
    for (int y = 0; y < height; ++y)
        out.write(row.data(), row.size());
    if (!out.flush())
        throw std::runtime_error("cannot write " + fileName);
}
