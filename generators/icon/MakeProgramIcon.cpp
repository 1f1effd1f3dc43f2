// Draws the program's icon, a tinted windscreen on a light sky, with GDI at 16, 24, 32, 48 and
// 256 pixels and writes it as an icon file: 32-bit bitmaps for the small sizes, PNG for 256
// (as Windows keeps its own large icons). Usage: make_program_icon <output.ico>

#include "PngImage.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

constexpr int Sizes[] = {16, 24, 32, 48, 256};

// The motif's outline on a 32-unit square, scaled to each size.
constexpr POINT Glass[] = {{2, 28}, {8, 6}, {24, 6}, {30, 28}};
constexpr POINT Shine[] = {{10, 25}, {14, 9}, {18, 9}, {14, 25}};

void DrawPolygon(HDC dc, const POINT (&shape)[4], int size, COLORREF fill, COLORREF outline) {
    POINT scaled[4];
    for (int i = 0; i < 4; ++i)
        scaled[i] = {shape[i].x * size / 32, shape[i].y * size / 32};
    HBRUSH brush = CreateSolidBrush(fill);
    HPEN pen = CreatePen(PS_SOLID, size >= 64 ? size / 32 : 1, outline);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    Polygon(dc, scaled, 4);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(brush);
    DeleteObject(pen);
}

// The picture at one size: top-down rows of 4-byte pixels (blue, green, red, alpha), opaque.
std::vector<std::uint8_t> Draw(int size) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size;
    info.bmiHeader.biHeight = -size;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);

    HBRUSH sky = CreateSolidBrush(RGB(230, 236, 255));
    const RECT all{0, 0, size, size};
    FillRect(dc, &all, sky);
    DeleteObject(sky);
    DrawPolygon(dc, Glass, size, RGB(40, 70, 110), RGB(20, 20, 20));
    DrawPolygon(dc, Shine, size, RGB(90, 130, 180), RGB(90, 130, 180));
    GdiFlush();

    const auto* first = static_cast<const std::uint8_t*>(bits);
    std::vector<std::uint8_t> pixels(first, first + size * size * 4);
    for (std::size_t i = 3; i < pixels.size(); i += 4)
        pixels[i] = 255; // GDI leaves alpha at 0
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);
    return pixels;
}

void Put16(std::vector<std::uint8_t>& out, unsigned value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

// An icon entry's bitmap: its header (twice the height, for the colour and the mask), the
// colour rows bottom-up and an all-clear AND mask (the alpha channel decides).
std::vector<std::uint8_t> BitmapEntry(const std::vector<std::uint8_t>& pixels, int size) {
    const std::uint32_t maskStride = ((size + 31) / 32) * 4;
    std::vector<std::uint8_t> out;
    Put32(out, sizeof(BITMAPINFOHEADER));
    Put32(out, size);
    Put32(out, size * 2);
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, BI_RGB);
    Put32(out, size * size * 4 + maskStride * size);
    for (int i = 0; i < 4; ++i)
        Put32(out, 0); // resolution and palette
    for (int y = size - 1; y >= 0; --y) {
        const auto row = pixels.begin() + y * size * 4;
        out.insert(out.end(), row, row + size * 4);
    }
    out.resize(out.size() + maskStride * size, 0);
    return out;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_program_icon <output.ico>\n");
        return 2;
    }
    std::vector<std::vector<std::uint8_t>> images;
    for (int size : Sizes) {
        const auto pixels = Draw(size);
        images.push_back(size < 256 ? BitmapEntry(pixels, size) : EncodePng(pixels, size, size));
    }

    std::vector<std::uint8_t> file;
    Put16(file, 0);
    Put16(file, 1); // icon
    Put16(file, static_cast<unsigned>(images.size()));
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        file.push_back(static_cast<std::uint8_t>(Sizes[i])); // 256 is written as 0
        file.push_back(static_cast<std::uint8_t>(Sizes[i]));
        file.push_back(0); // no palette
        file.push_back(0);
        Put16(file, 1);  // planes
        Put16(file, 32); // bits per pixel
        Put32(file, static_cast<std::uint32_t>(images[i].size()));
        Put32(file, offset);
        offset += static_cast<std::uint32_t>(images[i].size());
    }
    for (const auto& image : images)
        file.insert(file.end(), image.begin(), image.end());

    FILE* out = std::fopen(argv[1], "wb");
    if (!out || std::fwrite(file.data(), 1, file.size(), out) != file.size() || std::fclose(out)) {
        std::fprintf(stderr, "make_program_icon: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
