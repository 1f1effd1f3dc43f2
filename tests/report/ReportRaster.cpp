#include "ReportRaster.h"

#include <cstring>
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
    HDC screen = GetDC(nullptr);
    LOGFONTA style{};
    style.lfHeight = -ReportCharacterHeight(GetDeviceCaps(screen, LOGPIXELSY));
    style.lfCharSet = DEFAULT_CHARSET;
    std::strcpy(style.lfFaceName, "MS Sans Serif");
    HFONT font = CreateFontIndirectA(&style);
    const HGDIOBJ old = SelectObject(screen, font);
    SIZE size{};
    GetTextExtentPoint32A(screen, text.data(), static_cast<int>(text.size()), &size);
    SelectObject(screen, old);
    DeleteObject(font);
    ReleaseDC(nullptr, screen);
    const PixelPoint at = PlaceTextPosition(width, height, ReportPlaces[row]);
    return RECT{at.X, at.Y, at.X + size.cx, at.Y + size.cy};
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
