#include "ui/win32/Pictures.h"

#include "ui/win32/Dpi.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

constexpr COLORREF Background = RGB(192, 192, 192);

// A 24-bit bottom-up DIB section with a memory DC selected into it, drawn on in 96-dpi units that
// each drawing call scales to the DPI.
struct Canvas {
    Canvas(int width, int height, int dpi)
        : Dpi(dpi), Width(ScaledTo(width, dpi)), Height(ScaledTo(height, dpi)) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = Width;
        info.bmiHeader.biHeight = Height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        Bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        Bits = static_cast<std::uint8_t*>(bits);
        Dc = CreateCompatibleDC(nullptr);
        Old = SelectObject(Dc, Bitmap);
    }
    int S(int value) const { return ScaledTo(value, Dpi); }
    RECT Scaled(int left, int top, int right, int bottom) const {
        return {S(left), S(top), S(right), S(bottom)};
    }
    // Hands the bitmap over to the caller.
    HBITMAP Release() {
        GdiFlush();
        SelectObject(Dc, Old);
        DeleteDC(Dc);
        Dc = nullptr;
        return Bitmap;
    }
    ~Canvas() {
        if (Dc) {
            SelectObject(Dc, Old);
            DeleteDC(Dc);
            DeleteObject(Bitmap);
        }
    }
    void Fill(COLORREF colour, int left, int top, int right, int bottom) {
        HBRUSH brush = CreateSolidBrush(colour);
        const RECT r = Scaled(left, top, right, bottom);
        FillRect(Dc, &r, brush);
        DeleteObject(brush);
    }
    // A frame one design pixel wide.
    void Frame(COLORREF colour, int left, int top, int right, int bottom) {
        Fill(colour, left, top, right, top + 1);
        Fill(colour, left, bottom - 1, right, bottom);
        Fill(colour, left, top, left + 1, bottom);
        Fill(colour, right - 1, top, right, bottom);
    }
    void Polygon(COLORREF fill, COLORREF outline, const POINT* points, int count) {
        HBRUSH brush = CreateSolidBrush(fill);
        HPEN pen = CreatePen(PS_SOLID, S(1), outline);
        HGDIOBJ oldBrush = SelectObject(Dc, brush);
        HGDIOBJ oldPen = SelectObject(Dc, pen);
        std::vector<POINT> scaled(points, points + count);
        for (POINT& p : scaled)
            p = {S(p.x), S(p.y)};
        ::Polygon(Dc, scaled.data(), count);
        SelectObject(Dc, oldBrush);
        SelectObject(Dc, oldPen);
        DeleteObject(brush);
        DeleteObject(pen);
    }
    // Outlined with the DC's pen, black.
    void Ellipse(COLORREF fill, int left, int top, int right, int bottom) {
        HBRUSH brush = CreateSolidBrush(fill);
        HGDIOBJ old = SelectObject(Dc, brush);
        ::Ellipse(Dc, S(left), S(top), S(right), S(bottom));
        SelectObject(Dc, old);
        DeleteObject(brush);
    }
    void Line(COLORREF colour, int width, int x1, int y1, int x2, int y2) {
        HPEN pen = CreatePen(PS_SOLID, S(width), colour);
        HGDIOBJ old = SelectObject(Dc, pen);
        MoveToEx(Dc, S(x1), S(y1), nullptr);
        LineTo(Dc, S(x2), S(y2));
        SelectObject(Dc, old);
        DeleteObject(pen);
    }

    // Text in 96-dpi units: an "Arial" of the pixel height, its top left at the point. GDI lays the
    // letters out in those units and scales them, as no per-figure scaling can: glyph advances are
    // rounded at the font's own size.
    void Text(COLORREF colour, int height, int weight, int x, int y, const char* text) {
        SetMapMode(Dc, MM_ANISOTROPIC);
        SetWindowExtEx(Dc, DesignDpi, DesignDpi, nullptr);
        SetViewportExtEx(Dc, Dpi, Dpi, nullptr);
        HFONT font = CreateFontA(-height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                 OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                 DEFAULT_PITCH | FF_SWISS, "Arial");
        HGDIOBJ old = SelectObject(Dc, font);
        SetBkMode(Dc, TRANSPARENT);
        SetTextColor(Dc, colour);
        TextOutA(Dc, x, y, text, static_cast<int>(std::strlen(text)));
        SelectObject(Dc, old);
        DeleteObject(font);
        SetMapMode(Dc, MM_TEXT);
    }

    int Dpi;
    int Width, Height;
    HBITMAP Bitmap = nullptr;
    std::uint8_t* Bits = nullptr;
    HDC Dc;
    HGDIOBJ Old;
};

void DrawPrinter(Canvas& c) {
    c.Fill(RGB(255, 255, 255), 5, 2, 15, 9);
    c.Frame(RGB(0, 0, 0), 5, 2, 15, 9);
    c.Fill(RGB(128, 128, 128), 2, 8, 18, 15);
    c.Frame(RGB(0, 0, 0), 2, 8, 18, 15);
    c.Fill(RGB(0, 255, 0), 14, 10, 16, 11);
    c.Fill(RGB(255, 255, 255), 5, 13, 15, 18);
    c.Frame(RGB(0, 0, 0), 5, 13, 15, 18);
}

void DrawPicture(Canvas& c, ToolPicture picture) {
    const COLORREF black = RGB(0, 0, 0);
    switch (picture) {
    case ToolPicture::Open: {
        const POINT back[] = {{1, 4}, {7, 4}, {8, 6}, {16, 6}, {16, 17}, {1, 17}};
        c.Polygon(RGB(255, 255, 0), black, back, 6);
        const POINT front[] = {{4, 9}, {19, 9}, {16, 17}, {1, 17}};
        c.Polygon(RGB(128, 128, 0), black, front, 4);
        break;
    }
    case ToolPicture::Save:
        c.Fill(RGB(0, 0, 128), 2, 2, 18, 18);
        c.Frame(black, 2, 2, 18, 18);
        c.Fill(RGB(255, 255, 255), 5, 3, 15, 10);
        c.Fill(RGB(192, 192, 192), 6, 12, 14, 17);
        c.Fill(RGB(0, 0, 128), 11, 13, 13, 16);
        break;
    case ToolPicture::Print:
        DrawPrinter(c);
        break;
    case ToolPicture::PrintPreview: {
        // A page of text under a magnifying glass.
        const POINT page[] = {{2, 1}, {11, 1}, {14, 4}, {14, 19}, {2, 19}};
        c.Polygon(RGB(255, 255, 255), black, page, 5);
        for (int y = 5; y < 17; y += 3)
            c.Fill(RGB(96, 96, 96), 4, y, 10, y + 1);
        c.Line(RGB(96, 64, 32), 3, 15, 15, 18, 18);
        c.Ellipse(RGB(160, 210, 255), 7, 6, 17, 16);
        break;
    }
    case ToolPicture::PrintSetup:
        DrawPrinter(c);
        c.Line(RGB(0, 0, 160), 3, 10, 18, 18, 10);
        c.Fill(RGB(0, 0, 160), 15, 6, 20, 9);
        c.Fill(Background, 17, 7, 20, 8);
        break;
    case ToolPicture::Information:
        c.Ellipse(RGB(0, 0, 255), 1, 1, 19, 19);
        c.Fill(RGB(255, 255, 255), 9, 4, 11, 6);
        c.Fill(RGB(255, 255, 255), 9, 8, 11, 15);
        c.Fill(RGB(255, 255, 255), 7, 14, 13, 15);
        break;
    case ToolPicture::Exit:
        c.Fill(RGB(0, 160, 0), 3, 1, 17, 5);
        c.Fill(RGB(255, 255, 255), 5, 2, 15, 4);
        c.Fill(RGB(96, 64, 32), 4, 6, 16, 19);
        c.Fill(RGB(0, 0, 0), 6, 8, 14, 19);
        c.Fill(RGB(255, 255, 0), 12, 12, 13, 13);
        break;
    }
}

// The disabled state: the picture's shape in light and dark grey, as if etched in the button.
void Etch(const Canvas& from, Canvas& to) {
    const int stride = (from.Width * 3 + 3) & ~3;
    for (int y = 0; y < from.Height; ++y) {
        for (int x = 0; x < from.Width; ++x) {
            const std::uint8_t* p = from.Bits + y * stride + x * 3;
            std::uint8_t* q = to.Bits + y * stride + x * 3;
            const bool background = p[0] == GetBValue(Background) &&
                                    p[1] == GetGValue(Background) && p[2] == GetRValue(Background);
            const int luma = (p[0] + 6 * p[1] + 3 * p[2]) / 10;
            const std::uint8_t grey = background ? 192 : (luma < 128 ? 128 : 255);
            q[0] = q[1] = q[2] = grey;
        }
    }
}

} // namespace

PicturePair DrawToolPicture(ToolPicture picture, int dpi) {
    Canvas normal(20, 20, dpi);
    normal.Fill(Background, 0, 0, 20, 20);
    DrawPicture(normal, picture);
    GdiFlush();
    Canvas disabled(20, 20, dpi);
    Etch(normal, disabled);
    return {normal.Release(), disabled.Release()};
}

HBITMAP DrawLogo(int dpi) {
    Canvas c(200, 92, dpi);
    // Sky to road: a soft vertical gradient behind a tinted windscreen.
    for (int y = 0; y < 92; ++y)
        c.Fill(RGB(230 - y, 236 - y / 2, 255), 0, y, 200, y + 1);
    const POINT glass[] = {{8, 78}, {26, 20}, {98, 20}, {116, 78}};
    c.Polygon(RGB(40, 70, 110), RGB(20, 20, 20), glass, 4);
    const POINT shine[] = {{34, 70}, {46, 28}, {60, 28}, {48, 70}};
    c.Polygon(RGB(90, 130, 180), RGB(90, 130, 180), shine, 4);
    c.Line(RGB(20, 20, 20), 3, 4, 82, 120, 82);

    c.Text(RGB(20, 40, 90), 30, FW_BOLD, 124, 24, "wmx");
    c.Text(RGB(20, 40, 90), 11, FW_NORMAL, 126, 58, "tint meter");
    return c.Release();
}

HICON ProgramIcon(int sizeMetric) {
    const int size = GetSystemMetrics(sizeMetric);
    return static_cast<HICON>(
        LoadImageA(GetModuleHandleA(nullptr), "PROGRAM", IMAGE_ICON, size, size, LR_SHARED));
}
