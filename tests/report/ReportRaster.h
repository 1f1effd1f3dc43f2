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

// The rectangle that the text of the given layout row takes on an image of that size.
RECT TextArea(int width, int height, std::size_t row, const std::string& text);

// A Windows path for a file of the Linux side.
std::string WindowsPath(const std::string& unixPath);

// Writes a 24-bit bitmap file of the given size, filled with one colour.
void WritePlainBitmap(const std::string& fileName, int width, int height, std::uint8_t grey);
