#pragma once
// Pictures of windows as they are on the screen, and what the tests look for in them.

#include "ui/controls/StringGrid.h"

#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

class ScreenPicture {
  public:
    // The window's client area, after any pending painting.
    explicit ScreenPicture(HWND window);
    // A bitmap's pixels of that size, read alike.
    ScreenPicture(HBITMAP bitmap, SIZE size);
    // Pixels read elsewhere: 0x00RRGGBB, rows from the top.
    ScreenPicture(SIZE size, std::vector<DWORD> pixels) : Size(size), Pixels(std::move(pixels)) {}
    COLORREF At(int x, int y) const;
    int Width() const { return Size.cx; }
    int Height() const { return Size.cy; }

  private:
    void ReadPixels(HDC dc, HBITMAP bitmap);
    SIZE Size{};
    std::vector<DWORD> Pixels;
};

using PixelSource = std::function<COLORREF(int x, int y)>;

// The first and last columns of a band where dark pixels (text) show; -1, -1 for none.
std::pair<int, int> InkColumns(const PixelSource& at, const RECT& band);
// The same for rows.
std::pair<int, int> InkRows(const PixelSource& at, const RECT& band);
// How wide a text's ink is when nothing cuts it.
int InkWidth(const std::string& text, HFONT font);
// The bounding box of the pixels of one colour.
RECT BoxOf(const ScreenPicture& picture, COLORREF colour);

// The contrast of two colours as the web's accessibility guidelines reckon it: 1 (none) to 21.
double Contrast(COLORREF a, COLORREF b);
// Checks a picture of the grid at a DPI with the focus elsewhere: its selected row stands out
// plainly from the other rows, in a fill and a frame at least a line wide, its text plain on the
// fill.
void ExpectInactiveSelectionPlain(const TStringGrid& grid, int dpi);

// A text's pixels on a plain background: the smallest rectangle holding every pixel that differs
// from the background, with the colours there.
struct TextPixels {
    int Width = 0, Height = 0;
    std::vector<COLORREF> Pixels;
    friend bool operator==(const TextPixels&, const TextPixels&) = default;
};
// In a rectangle of a picture whose background is the colour of the rectangle's top-left pixel.
TextPixels TextPixelsIn(const ScreenPicture& picture, const RECT& area);
// The text drawn by ExtTextOutW in the font and colour on the background.
TextPixels WideTextPixels(const std::wstring& text, HFONT font, COLORREF colour,
                          COLORREF background);

// Checks a picture of the grid at a DPI: a line between every two cells at its design place
// scaled, every line and each band of the border one design pixel scaled wide, and every heading
// drawn whole inside its cell.
void ExpectGridDrawnWhole(const TStringGrid& grid, int dpi);
