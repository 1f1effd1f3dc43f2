// Draws the blank test-report form "protokol.bmp": an A4 portrait page at 150 pixels per inch
// (1240 x 1754), 24 bits per pixel. The program writes its values into the white boxes; each box
// starts a little before and left of the value's place and leaves room for one line of text
// 27 pixels high. The report keeps each value left of its box's right edge, which it knows as a
// percentage of the width (ReportPlaces): a box that moves here moves there too. A comment too
// long for its box runs on below it over three lines of the remarks area (CommentRunOnYPercents),
// which stays white from the comment's box down to the diagnostician's.
// Usage: make_report_form <output file>

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr int Width = 1240;
constexpr int Height = 1754;

// Pixel positions of the values on this page size, as the report computes them.
constexpr int LeftValueX = 310;  // 25 %
constexpr int RightValueX = 868; // 70 %
constexpr int ReadingX = 620;    // 50 %
constexpr int VerdictX = 905;    // 73 %
constexpr int NoteX = 345;       // 27.8 %

struct Painter {
    HDC dc;

    void Fill(int left, int top, int right, int bottom, COLORREF colour) {
        const RECT r{left, top, right, bottom};
        HBRUSH brush = CreateSolidBrush(colour);
        FillRect(dc, &r, brush);
        DeleteObject(brush);
    }
    // A white box with a black frame two pixels wide drawn just outside it.
    void Box(int left, int top, int right, int bottom) {
        Fill(left - 2, top - 2, right + 2, bottom + 2, RGB(0, 0, 0));
        Fill(left, top, right, bottom, RGB(255, 255, 255));
    }
    void HorizontalLine(int left, int right, int y, int thickness = 2) {
        Fill(left, y, right, y + thickness, RGB(0, 0, 0));
    }
    void Text(int x, int y, const char* text, int height, bool bold, UINT align = TA_LEFT) {
        HFONT font = CreateFontA(-height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, 0, 0, 0,
                                 DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                 ANTIALIASED_QUALITY, DEFAULT_PITCH, "Tahoma");
        const HGDIOBJ old = SelectObject(dc, font);
        SetTextAlign(dc, align | TA_TOP);
        TextOutA(dc, x, y, text, static_cast<int>(std::strlen(text)));
        SelectObject(dc, old);
        DeleteObject(font);
    }
    void Label(int x, int y, const char* text) { Text(x, y + 4, text, 22, false); }
    void SectionHeading(int y, const char* text) {
        Fill(80, y, 1160, y + 36, RGB(225, 225, 225));
        Text(92, y + 6, text, 22, true);
    }
    // A white box for a value placed at (x, y), reaching to the given right edge.
    void ValueBox(int x, int y, int right) { Box(x - 10, y - 6, right, y + 40); }
};

void Draw(Painter& p) {
    p.Fill(0, 0, Width, Height, RGB(255, 255, 255));
    p.Fill(40, 40, Width - 40, Height - 40, RGB(0, 0, 0));
    p.Fill(43, 43, Width - 43, Height - 43, RGB(255, 255, 255));

    p.Text(Width / 2, 80, "TEST REPORT", 56, true, TA_CENTER);
    p.Text(Width / 2, 150, "Light transmission of vehicle windows", 30, false, TA_CENTER);
    p.Text(Width / 2, 192, "Vehicle inspection station", 22, false, TA_CENTER);
    p.HorizontalLine(80, 1160, 240, 3);

    p.SectionHeading(290, "CUSTOMER");
    p.Label(80, 351, "Name");
    p.Label(80, 395, "Address");
    p.Box(300, 343, 1160, 479);
    p.HorizontalLine(300, 1160, 388, 1);
    p.HorizontalLine(300, 1160, 432, 1);

    p.SectionHeading(486, "VEHICLE AND TEST");
    p.Label(80, 528, "Date of test");
    p.Label(80, 579, "Time of test");
    p.ValueBox(LeftValueX, 528, 620);
    p.ValueBox(LeftValueX, 579, 620);
    const struct {
        int y;
        const char* label;
    } vehicle[] = {{528, "Registration no."},
                   {579, "Vehicle type"},
                   {626, "Make"},
                   {679, "Model"},
                   {731, "Mileage [km]"}};
    for (const auto& row : vehicle) {
        p.Label(660, row.y, row.label);
        p.ValueBox(RightValueX, row.y, 1160);
    }

    p.SectionHeading(800, "MEASUREMENT");
    p.Box(80, 860, 1160, 1220);
    p.Fill(80, 860, 1160, 910, RGB(240, 240, 240));
    p.Text(100, 872, "Window", 22, true);
    p.Text(ReadingX, 872, "Reading [%]", 22, true);
    p.Text(VerdictX, 872, "Verdict", 22, true);
    p.HorizontalLine(80, 1160, 910);
    p.Fill(ReadingX - 20, 860, ReadingX - 18, 1220, RGB(0, 0, 0));
    p.Fill(VerdictX - 20, 860, VerdictX - 18, 1220, RGB(0, 0, 0));
    const struct {
        int y;
        const char* name;
        const char* limit;
    } windows[] = {{942, "Windscreen (front)", "at least 75,0 %"},
                   {1045, "Left side window", "at least 70,0 %"},
                   {1151, "Right side window", "at least 70,0 %"}};
    for (std::size_t i = 0; i < std::size(windows); ++i) {
        p.Text(100, windows[i].y, windows[i].name, 26, false);
        p.Text(100, windows[i].y + 36, windows[i].limit, 18, false);
        if (i > 0)
            p.HorizontalLine(80, 1160, windows[i].y - 24, 1);
    }
    p.Text(80, 1236, "A window passes when its reading is at or above its limit.", 18, false);

    p.SectionHeading(1280, "REMARKS");
    p.Label(80, 1335, "Comment");
    p.ValueBox(NoteX, 1335, 1160);

    p.Label(80, 1508, "Diagnostician");
    p.ValueBox(NoteX, 1508, 800);
    p.Label(830, 1508, "Signature");
    p.HorizontalLine(960, 1160, 1546);

    p.HorizontalLine(80, 1160, 1640, 1);
    p.Text(Width / 2, 1656,
           "The readings are those stored by the hand-held meter at the time given above.", 18,
           false, TA_CENTER);
}

bool WriteBitmapFile(const char* name, const void* pixels, DWORD pixelBytes) {
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = Width;
    info.biHeight = Height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    info.biSizeImage = pixelBytes;
    info.biXPelsPerMeter = info.biYPelsPerMeter = 5906; // 150 per inch
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + pixelBytes;

    FILE* out = std::fopen(name, "wb");
    if (!out)
        return false;
    const bool written = std::fwrite(&file, sizeof file, 1, out) == 1 &&
                         std::fwrite(&info, sizeof info, 1, out) == 1 &&
                         std::fwrite(pixels, pixelBytes, 1, out) == 1;
    return std::fclose(out) == 0 && written;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_report_form <output.bmp>\n");
        return 2;
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = Width;
    info.bmiHeader.biHeight = Height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    HBITMAP page = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    HDC dc = CreateCompatibleDC(nullptr);
    if (!page || !dc) {
        std::fprintf(stderr, "make_report_form: no memory for the page\n");
        return 1;
    }
    const HGDIOBJ old = SelectObject(dc, page);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    Painter painter{dc};
    Draw(painter);
    GdiFlush();
    const DWORD pixelBytes = ((Width * 24 + 31) / 32 * 4) * Height;
    const bool written = WriteBitmapFile(argv[1], pixels, pixelBytes);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(page);
    if (!written) {
        std::fprintf(stderr, "make_report_form: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
