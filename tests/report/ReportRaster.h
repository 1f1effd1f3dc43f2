#pragma once
// Looking at report images in tests: their pixels, and the area each text of the layout takes.

#include "report/ReportImage.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// 0x00RRGGBB pixels, top row first.
struct Raster {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint32_t> Pixels;
    std::uint32_t At(int x, int y) const { return Pixels[std::size_t(y) * Width + x]; }
};

constexpr std::uint32_t White = 0xFFFFFF;

Raster ReadRaster(const ReportImage& image);

// The rectangle that the text of the given layout row takes on an image of that size: its cell,
// and the ink of glyphs that reach past it.
RECT TextArea(int width, int height, std::size_t row, const std::string& text);

// What a text wrote into its rectangle: the pixels that differ from the blank form there.
struct Ink {
    int Top = 0, Bottom = 0; // first row with ink and one past the last; equal when none
    int Left = 0, Right = 0; // likewise for columns
    int WidestGap = 0;       // the widest run of columns without ink between Left and Right
    int Height() const { return Bottom - Top; }
    int Width() const { return Right - Left; }
};
Ink FindInk(const Raster& blank, const Raster& written, const RECT& area);

// The white box of a form around a point of it: as far as the form stays white from that point
// to the left, the right, up and down.
RECT WhiteBoxAround(const Raster& form, PixelPoint at);

// The face the report's text is drawn in, and what its outlines give at the report's character
// height: the black box of a capital H, and the width of a text. Throws when the face drawn is no
// outline face.
struct ReferenceFace {
    std::string Name;
    int CapitalHeight;
    int TextWidth(const std::string& text) const;
};
ReferenceFace ReportReferenceFace();

// A Windows path for a file of the Linux side.
std::string WindowsPath(const std::string& unixPath);

// Writes a 24-bit bitmap file of the given size, filled with one colour.
void WritePlainBitmap(const std::string& fileName, int width, int height, std::uint8_t grey);
