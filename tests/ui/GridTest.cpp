// The grid as the layout draws it: where its rows are, what a picture of it shows, and the keys
// that move its selection.
#include "WindowDriver.h"

#include "GridDesign.h"
#include "ScreenPicture.h"
#include "ui/controls/StandardControls.h"

#include <utility>
#include <vector>

namespace {

using namespace GridDesign;

class GridTest : public SampleWindowTest {};

TEST_F(GridTest, AClickAtTheCentreOfEachRowOfTheLayoutSelectsThatRow) {
    Focus(Form->Edit1);
    for (int row = 9; row >= 1; --row) {
        // In the main window's client area: the grid at 400, 56.
        POINT at{Left + Width / 2, Top + Border + RowPitch * row + RowHeight / 2};
        MapWindowPoints(Form->Handle, Form->Tabela.Handle, &at, 1);
        Click(Form->Tabela.Handle, at.x, at.y);
        EXPECT_EQ(Form->Tabela.Row(), row);
        EXPECT_EQ(CurrentRecord, row);
        EXPECT_EQ(WindowText(Form->Edit6), "REG " + std::to_string(row));
    }
    // A click on a heading selects nothing.
    const POINT elsewhere[] = {{Left + 20, Top + Border + RowPitch * 4 + 7},
                               {Left + Width / 2, Top + 8}};
    for (POINT at : elsewhere) {
        MapWindowPoints(Form->Handle, Form->Tabela.Handle, &at, 1);
        Click(Form->Tabela.Handle, at.x, at.y);
        EXPECT_EQ(Form->Tabela.Row(), 1) << at.x << "," << at.y;
    }
}

TEST_F(GridTest, APictureShowsEveryHeadingWholeEveryLineAndTheSelectionWithoutTheFocus) {
    ClickRow(3);
    Focus(Form->Edit1);
    ExpectGridDrawnWhole(Form->Tabela, 96);

    // The selected row shows in its data cells only, with the focus elsewhere plainly.
    const ScreenPicture picture(Form->Tabela.Handle);
    const RECT number = Form->Tabela.CellRect(0, 3);
    EXPECT_EQ(picture.At(number.right - 2, number.bottom - 2), GetSysColor(COLOR_BTNFACE));
    const RECT other = Form->Tabela.CellRect(2, 4);
    EXPECT_EQ(picture.At(other.right - 2, other.bottom - 2), GetSysColor(COLOR_WINDOW));
    ExpectInactiveSelectionPlain(Form->Tabela, 96);
}

// With the focus the row is in the highlight colour with a dotted frame of the highlight's text
// colour just inside it; without it, in another colour with no dotted frame.
TEST_F(GridTest, TheFocusIsDrawnAroundTheSelectedRow) {
    struct Seen {
        COLORREF Inside;
        int FramePixels;
    };
    const auto look = [&] {
        const ScreenPicture picture(Form->Tabela.Handle);
        const RECT time = Form->Tabela.CellRect(2, 5);
        Seen seen{picture.At(time.right - 3, time.bottom - 3), 0};
        for (int x = time.left; x < time.right; ++x)
            seen.FramePixels += picture.At(x, time.top + 1) == GetSysColor(COLOR_HIGHLIGHTTEXT);
        return seen;
    };
    ClickRow(5);
    ASSERT_EQ(GetFocus(), Form->Tabela.Handle);
    const Seen focused = look();
    EXPECT_EQ(focused.Inside, GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_GT(focused.FramePixels, 4) << "a dotted line along the row's top";
    Focus(Form->Edit1);
    const Seen unfocused = look();
    EXPECT_NE(unfocused.Inside, focused.Inside);
    EXPECT_NE(unfocused.Inside, GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(unfocused.FramePixels, 0);
}

// The system's colours for the test's length, as a user's scheme sets them.
class ColourScheme {
  public:
    explicit ColourScheme(std::vector<std::pair<int, COLORREF>> colours) {
        for (const auto& [element, colour] : colours) {
            Elements.push_back(element);
            New.push_back(colour);
            Old.push_back(GetSysColor(element));
        }
        SetSysColors(static_cast<int>(Elements.size()), Elements.data(), New.data());
    }
    ~ColourScheme() {
        SetSysColors(static_cast<int>(Elements.size()), Elements.data(), Old.data());
    }
    ColourScheme(const ColourScheme&) = delete;
    ColourScheme& operator=(const ColourScheme&) = delete;

  private:
    std::vector<int> Elements;
    std::vector<COLORREF> New, Old;
};

// A high-contrast scheme gives its own colours: white text on black, a bright highlight.
TEST_F(GridTest, TheSelectionWithoutTheFocusIsPlainInAHighContrastScheme) {
    const ColourScheme highContrast({{COLOR_WINDOW, RGB(0, 0, 0)},
                                     {COLOR_WINDOWTEXT, RGB(255, 255, 255)},
                                     {COLOR_HIGHLIGHT, RGB(26, 235, 255)},
                                     {COLOR_HIGHLIGHTTEXT, RGB(0, 0, 0)},
                                     {COLOR_BTNFACE, RGB(0, 0, 0)},
                                     {COLOR_BTNTEXT, RGB(255, 255, 255)}});
    ASSERT_EQ(GetSysColor(COLOR_HIGHLIGHT), RGB(26, 235, 255));
    ClickRow(6);
    Focus(Form->Edit1);
    RedrawWindow(Form->Tabela.Handle, nullptr, nullptr, RDW_INVALIDATE);
    ExpectInactiveSelectionPlain(Form->Tabela, 96);
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
