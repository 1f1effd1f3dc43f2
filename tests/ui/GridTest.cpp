// The grid as the layout draws it: where its rows are, what a picture of it shows, and the keys
// that move its selection.
#include "WindowDriver.h"

#include "ui/Controls.h"

#include <algorithm>

namespace {

// The grid's design at 96 dpi: a 2-pixel border, then cells each followed by a 1-pixel line.
const int ColWidths[] = {40, 69, 68, 40, 40, 40};
constexpr int Border = 2;
constexpr int RowPitch = 15 + 1;
constexpr int Rows = 10;

// The grid's pixels as they are on the screen.
class Capture {
  public:
    explicit Capture(HWND window) {
        UpdateWindow(window);
        GetClientRect(window, &Size);
        HDC screen = GetDC(window);
        HDC memory = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, Size.right, Size.bottom);
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, Size.right, Size.bottom, screen, 0, 0, SRCCOPY);
        SelectObject(memory, old);
        BITMAPINFO info{};
        info.bmiHeader = {sizeof info.bmiHeader, Size.right, -Size.bottom, 1, 32, BI_RGB};
        Pixels.resize(Size.right * Size.bottom);
        GetDIBits(memory, bitmap, 0, Size.bottom, Pixels.data(), &info, DIB_RGB_COLORS);
        DeleteObject(bitmap);
        DeleteDC(memory);
        ReleaseDC(window, screen);
    }
    COLORREF At(int x, int y) const {
        const DWORD p = Pixels[y * Size.right + x];
        return RGB(p >> 16 & 0xFF, p >> 8 & 0xFF, p & 0xFF);
    }
    RECT Size{};

  private:
    std::vector<DWORD> Pixels;
};

bool Dark(COLORREF c) {
    return GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 96;
}

// The columns, left to right, where dark pixels (text) show in a band of a picture.
std::pair<int, int> InkColumns(const std::function<COLORREF(int, int)>& at, const RECT& band) {
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

// How wide the text's ink is when nothing cuts it.
int InkWidth(const std::string& text, HFONT font) {
    HDC dc = CreateCompatibleDC(nullptr);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, 200, -40, 1, 32, BI_RGB};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    HGDIOBJ oldFont = SelectObject(dc, font);
    PatBlt(dc, 0, 0, 200, 40, WHITENESS);
    SetTextColor(dc, RGB(0, 0, 0));
    TextOutA(dc, 10, 5, text.c_str(), static_cast<int>(text.size()));
    GdiFlush();
    const auto* pixels = static_cast<const DWORD*>(bits);
    const auto ink =
        InkColumns([&](int x, int y) { return pixels[y * 200 + x] & 0xFFFFFF; }, {0, 0, 200, 40});
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return ink.second - ink.first + 1;
}

class GridTest : public MainFormTest {
  protected:
    void SetUp() override {
        MainFormTest::SetUp();
        WriteConfig(*SampleStore());
        ShowWindow();
    }
    // The left edge of a column at 96 dpi.
    static int ColLeft(int col) {
        int left = Border;
        for (int c = 0; c < col; ++c)
            left += ColWidths[c] + 1;
        return left;
    }
};

TEST_F(GridTest, AClickAtTheCentreOfEachRowOfTheLayoutSelectsThatRow) {
    Focus(Form->Edit1);
    for (int row = 9; row >= 1; --row) {
        // In the main window's client area: the grid at 400, 56.
        POINT at{400 + 306 / 2, 56 + Border + RowPitch * row + 15 / 2};
        MapWindowPoints(Form->Handle, Form->Tabela.Handle, &at, 1);
        Click(Form->Tabela.Handle, at.x, at.y);
        EXPECT_EQ(Form->Tabela.Row(), row);
        EXPECT_EQ(CurrentRecord, row);
        EXPECT_EQ(WindowText(Form->Edit6), "REG " + std::to_string(row));
    }
    // A click on a heading selects nothing.
    const POINT elsewhere[] = {{400 + 20, 56 + Border + RowPitch * 4 + 7}, {553, 56 + 8}};
    for (POINT at : elsewhere) {
        MapWindowPoints(Form->Handle, Form->Tabela.Handle, &at, 1);
        Click(Form->Tabela.Handle, at.x, at.y);
        EXPECT_EQ(Form->Tabela.Row(), 1) << at.x << "," << at.y;
    }
}

TEST_F(GridTest, APictureShowsEveryHeadingWholeEveryLineAndTheSelectionWithoutTheFocus) {
    ClickRow(3);
    Focus(Form->Edit1);
    const Capture picture(Form->Tabela.Handle);
    ASSERT_EQ(picture.Size.right, 306);
    ASSERT_EQ(picture.Size.bottom, 163);
    const COLORREF line = GetSysColor(COLOR_BTNSHADOW);
    const int cellsBottom = Border + RowPitch * Rows - 1;
    const int cellsRight = ColLeft(6) - 1;

    // A line after every column but the last, through all rows, and only one pixel wide.
    for (int c = 0; c < 5; ++c) {
        const int x = ColLeft(c + 1) - 1;
        for (int y = Border; y < cellsBottom; ++y)
            ASSERT_EQ(picture.At(x, y), line) << "column line " << c << " at " << x << "," << y;
        const int y = Border + RowPitch * 5 + 1;
        EXPECT_NE(picture.At(x - 1, y), line) << c;
        EXPECT_NE(picture.At(x + 1, y), line) << c;
    }
    // A line under every row but the last, across all columns.
    for (int r = 0; r < Rows - 1; ++r) {
        const int y = Border + RowPitch * r + 15;
        for (int x = Border; x < cellsRight; ++x)
            ASSERT_EQ(picture.At(x, y), line) << "row line " << r << " at " << x << "," << y;
        EXPECT_NE(picture.At(ColLeft(1) + 1, y - 1), line) << r;
        EXPECT_NE(picture.At(ColLeft(1) + 1, y + 1), line) << r;
    }

    // Each heading as wide as its whole text, inside its cell.
    const auto font = reinterpret_cast<HFONT>(SendMessageA(Form->Tabela.Handle, WM_GETFONT, 0, 0));
    const char* headings[] = {"record", "date", "time", "front", "left", "right"};
    for (int c = 0; c < 6; ++c) {
        const RECT cell = Form->Tabela.CellRect(c, 0);
        const auto ink = InkColumns([&](int x, int y) { return picture.At(x, y); }, cell);
        EXPECT_EQ(ink.second - ink.first + 1, InkWidth(headings[c], font)) << headings[c];
        EXPECT_LT(ink.second, cell.right - 1) << headings[c] << " touches its line";
    }

    // The selected row is highlighted in its data cells only, with the focus elsewhere.
    const RECT number = Form->Tabela.CellRect(0, 3);
    const RECT time = Form->Tabela.CellRect(2, 3);
    EXPECT_EQ(picture.At(number.right - 2, number.bottom - 2), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(picture.At(time.right - 2, time.bottom - 2), GetSysColor(COLOR_HIGHLIGHT));
    const RECT other = Form->Tabela.CellRect(2, 4);
    EXPECT_EQ(picture.At(other.right - 2, other.bottom - 2), GetSysColor(COLOR_WINDOW));
}

TEST_F(GridTest, TheFocusIsDrawnAroundTheSelectedRow) {
    const auto edgeMarked = [&] {
        const Capture picture(Form->Tabela.Handle);
        const RECT time = Form->Tabela.CellRect(2, 5);
        for (int x = time.left; x < time.right; ++x) {
            if (picture.At(x, time.top) != GetSysColor(COLOR_HIGHLIGHT))
                return true;
        }
        return false;
    };
    ClickRow(5);
    ASSERT_EQ(GetFocus(), Form->Tabela.Handle);
    EXPECT_TRUE(edgeMarked());
    Focus(Form->Edit1);
    EXPECT_FALSE(edgeMarked());
}

TEST_F(GridTest, KeysMoveTheSelectionAndShowTheRowTheyReach) {
    ClickRow(1);
    const struct {
        UINT Key;
        const char* Name;
        int Row;
    } keys[] = {{VK_END, "End", 9},        {VK_UP, "Up", 8},     {VK_PRIOR, "Page Up", 1},
                {VK_NEXT, "Page Down", 9}, {VK_HOME, "Home", 1}, {VK_DOWN, "Down", 2}};
    for (const auto& k : keys) {
        PressKey(Form->Tabela.Handle, k.Key);
        EXPECT_EQ(Form->Tabela.Row(), k.Row) << k.Name;
        EXPECT_EQ(CurrentRecord, k.Row) << k.Name;
        EXPECT_EQ(WindowText(Form->Edit7), "Make " + std::to_string(k.Row)) << k.Name;
    }
    // A key that cannot move the selection shows nothing again.
    PressKey(Form->Tabela.Handle, VK_HOME);
    SetWindowTextA(Form->Edit7, "kept");
    PressKey(Form->Tabela.Handle, VK_UP);
    EXPECT_EQ(Form->Tabela.Row(), 1);
    EXPECT_EQ(WindowText(Form->Edit7), "kept");
}

} // namespace
