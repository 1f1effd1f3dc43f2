#include "ScreenPicture.h"

#include "GridDesign.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {
// 32 bits a pixel, rows from the top.
BITMAPINFO TopDownBitmap(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

bool Dark(COLORREF c) {
    return GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 96;
}
} // namespace

ScreenPicture::ScreenPicture(HWND window) {
    UpdateWindow(window);
    RECT client;
    GetClientRect(window, &client);
    Size = {client.right, client.bottom};
    HDC screen = GetDC(window);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, Size.cx, Size.cy);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, Size.cx, Size.cy, screen, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    ReadPixels(memory, bitmap);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, screen);
}

ScreenPicture::ScreenPicture(HBITMAP bitmap, SIZE size) : Size(size) {
    HDC memory = CreateCompatibleDC(nullptr);
    ReadPixels(memory, bitmap);
    DeleteDC(memory);
}

void ScreenPicture::ReadPixels(HDC dc, HBITMAP bitmap) {
    BITMAPINFO info = TopDownBitmap(Size.cx, Size.cy);
    Pixels.resize(static_cast<std::size_t>(Size.cx) * Size.cy);
    GetDIBits(dc, bitmap, 0, Size.cy, Pixels.data(), &info, DIB_RGB_COLORS);
}

COLORREF ScreenPicture::At(int x, int y) const {
    const DWORD p = Pixels[y * Size.cx + x];
    return RGB(p >> 16 & 0xFF, p >> 8 & 0xFF, p & 0xFF);
}

std::pair<int, int> InkColumns(const PixelSource& at, const RECT& band) {
    int first = -1, last = -1;
    for (int x = band.left; x < band.right; ++x) {
        for (int y = band.top; y < band.bottom; ++y) {
            if (Dark(at(x, y))) {
                if (first < 0)
                    first = x;
                last = x;
                break;
            }
        }
    }
    return {first, last};
}

// The rows of the band are the columns of its mirror image across the diagonal.
std::pair<int, int> InkRows(const PixelSource& at, const RECT& band) {
    return InkColumns([&at](int x, int y) { return at(y, x); },
                      {band.top, band.left, band.bottom, band.right});
}

int InkWidth(const std::string& text, HFONT font) {
    constexpr int Width = 400, Height = 80;
    HDC dc = CreateCompatibleDC(nullptr);
    const BITMAPINFO info = TopDownBitmap(Width, Height);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    HGDIOBJ oldFont = SelectObject(dc, font);
    PatBlt(dc, 0, 0, Width, Height, WHITENESS);
    SetTextColor(dc, RGB(0, 0, 0));
    TextOutA(dc, 10, 5, text.c_str(), static_cast<int>(text.size()));
    GdiFlush();
    const auto* pixels = static_cast<const DWORD*>(bits);
    const auto ink = InkColumns([&](int x, int y) { return pixels[y * Width + x] & 0xFFFFFF; },
                                {0, 0, Width, Height});
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return ink.second - ink.first + 1;
}

RECT BoxOf(const ScreenPicture& picture, COLORREF colour) {
    RECT box{picture.Width(), picture.Height(), 0, 0};
    for (int y = 0; y < picture.Height(); ++y) {
        for (int x = 0; x < picture.Width(); ++x) {
            if (picture.At(x, y) == colour) {
                box.left = std::min<LONG>(box.left, x);
                box.top = std::min<LONG>(box.top, y);
                box.right = std::max<LONG>(box.right, x + 1);
                box.bottom = std::max<LONG>(box.bottom, y + 1);
            }
        }
    }
    return box;
}

TextPixels TextPixelsIn(const ScreenPicture& picture, const RECT& area) {
    const COLORREF background = picture.At(area.left, area.top);
    RECT box{area.right, area.bottom, area.left, area.top};
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            if (picture.At(x, y) != background) {
                box.left = std::min<LONG>(box.left, x);
                box.top = std::min<LONG>(box.top, y);
                box.right = std::max<LONG>(box.right, x + 1);
                box.bottom = std::max<LONG>(box.bottom, y + 1);
            }
        }
    }
    TextPixels text;
    text.Width = std::max<int>(0, box.right - box.left);
    text.Height = std::max<int>(0, box.bottom - box.top);
    for (int y = box.top; y < box.bottom; ++y)
        for (int x = box.left; x < box.right; ++x)
            text.Pixels.push_back(picture.At(x, y));
    return text;
}

TextPixels WideTextPixels(const std::wstring& text, HFONT font, COLORREF colour,
                          COLORREF background) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ oldFont = SelectObject(dc, font);
    SIZE extent{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    // Room around the text for glyphs that reach past their cells.
    const SIZE size{extent.cx + 20, extent.cy + 20};
    const BITMAPINFO info = TopDownBitmap(size.cx, size.cy);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    const RECT all{0, 0, size.cx, size.cy};
    HBRUSH brush = CreateSolidBrush(background);
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colour);
    ExtTextOutW(dc, 10, 10, 0, nullptr, text.c_str(), static_cast<UINT>(text.size()), nullptr);
    GdiFlush();
    SelectObject(dc, oldBitmap);
    SelectObject(dc, oldFont);
    DeleteDC(dc);
    const ScreenPicture picture(bitmap, size);
    DeleteObject(bitmap);
    return TextPixelsIn(picture, all);
}

void ExpectGridDrawnWhole(const TStringGrid& grid, int dpi) {
    using namespace GridDesign;
    const auto scaled = [dpi](int v) { return MulDiv(v, dpi, 96); };
    int lineAfter[5];
    for (int c = 0, left = Border; c < 5; ++c) {
        left += ColWidths[c];
        lineAfter[c] = left++;
    }
    const ScreenPicture picture(grid.Handle);
    const COLORREF line = GetSysColor(COLOR_BTNSHADOW);
    const int width = scaled(1);
    const int top = 2 * width, bottom = picture.Height() - 2 * width;
    const int left = 2 * width, right = picture.Width() - 2 * width;
    // The border: two bands, each as wide as a line.
    const int middle = picture.Height() / 2;
    for (int x = 0; x < 2 * width; ++x)
        EXPECT_EQ(picture.At(x, middle),
                  GetSysColor(x < width ? COLOR_BTNSHADOW : COLOR_3DDKSHADOW))
            << "border at " << x;
    EXPECT_NE(picture.At(2 * width, middle), GetSysColor(COLOR_3DDKSHADOW)) << "border too wide";
    for (int c = 0; c < 5; ++c) {
        const int from = scaled(lineAfter[c]), to = from + width;
        for (int x = from; x < to; ++x) {
            for (int y = top; y < bottom; ++y)
                ASSERT_EQ(picture.At(x, y), line) << "column line " << c << " at " << x << "," << y;
        }
        const int y = scaled(Border + RowPitch * 5 + 1);
        EXPECT_NE(picture.At(from - 1, y), line) << c;
        EXPECT_NE(picture.At(to, y), line) << c;
    }
    for (int r = 0; r < Rows - 1; ++r) {
        const int from = scaled(Border + RowPitch * r + RowHeight), to = from + width;
        for (int y = from; y < to; ++y) {
            for (int x = left; x < right; ++x)
                ASSERT_EQ(picture.At(x, y), line) << "row line " << r << " at " << x << "," << y;
        }
        const int x = scaled(lineAfter[0] + 2);
        EXPECT_NE(picture.At(x, from - 1), line) << r;
        EXPECT_NE(picture.At(x, to), line) << r;
    }
    const auto font = reinterpret_cast<HFONT>(SendMessageA(grid.Handle, WM_GETFONT, 0, 0));
    const char* headings[] = {"record", "date", "time", "front", "left", "right"};
    for (int c = 0; c < 6; ++c) {
        const RECT cell = grid.CellRect(c, 0);
        const auto ink = InkColumns([&](int x, int y) { return picture.At(x, y); }, cell);
        EXPECT_EQ(ink.second - ink.first + 1, InkWidth(headings[c], font)) << headings[c];
        EXPECT_LT(ink.second, cell.right - 1) << headings[c] << " touches its line";
    }
}

namespace {
double Luminance(COLORREF c) {
    const auto linear = [](int channel) {
        const double v = channel / 255.0;
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(GetRValue(c)) + 0.7152 * linear(GetGValue(c)) +
           0.0722 * linear(GetBValue(c));
}
} // namespace

double Contrast(COLORREF a, COLORREF b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

void ExpectInactiveSelectionPlain(const TStringGrid& grid, int dpi) {
    ASSERT_NE(GetFocus(), grid.Handle);
    const int row = grid.Row(), other = row == 9 ? 8 : row + 1;
    const ScreenPicture picture(grid.Handle);
    // The time's cell is filled on its right, whether it shows a time or not.
    const RECT time = grid.CellRect(2, row), unselected = grid.CellRect(2, other);
    const int middle = (time.top + time.bottom) / 2;
    const COLORREF background = picture.At(unselected.right - 3, unselected.bottom - 3);
    const COLORREF fill = picture.At(time.right - 3, middle);
    const COLORREF frame = picture.At(time.right - 3, time.top);
    // Contrast enough to tell the states of a control apart (the frame) and to see a band at a
    // glance (the fill); the button face it used to be gave 1.1.
    EXPECT_GE(Contrast(frame, background), 3.0) << "frame at " << dpi;
    EXPECT_GE(Contrast(fill, background), 1.5) << "fill at " << dpi;
    // The frame is a line wide at least, along the top and the bottom of each cell of the row.
    const int line = MulDiv(1, dpi, 96);
    for (int col = 1; col < 6; ++col) {
        const RECT cell = grid.CellRect(col, row);
        const int x = (cell.left + cell.right) / 2;
        for (int i = 0; i < line; ++i) {
            EXPECT_EQ(picture.At(x, cell.top + i), frame) << "column " << col << " at " << dpi;
            EXPECT_EQ(picture.At(x, cell.bottom - 1 - i), frame)
                << "column " << col << " at " << dpi;
        }
    }
    const RECT first = grid.CellRect(1, row), last = grid.CellRect(5, row);
    EXPECT_EQ(picture.At(first.left, middle), frame) << "left side at " << dpi;
    EXPECT_EQ(picture.At(last.right - 1, middle), frame) << "right side at " << dpi;
    // The text of the front reading: its strongest ink against the fill.
    ASSERT_FALSE(grid.Cells(3, row).empty());
    const RECT front = grid.CellRect(3, row);
    double ink = 1;
    for (int y = front.top + line; y < front.bottom - line; ++y) {
        for (int x = front.left + line; x < front.right - line; ++x)
            ink = std::max(ink, Contrast(picture.At(x, y), fill));
    }
    EXPECT_GE(ink, 4.5) << "text at " << dpi;
}
