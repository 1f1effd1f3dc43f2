// Both windows at the screen's DPI: every figure of the 96-dpi design scaled, captions whole, all
// grid rows in view, pictures at their scaled size; again after a move to another DPI. The
// screen's DPI is read when a process starts, so each DPI runs the layout tests in a process of
// its own, started after the prefix's setting was changed.
#include "WindowDriver.h"

#include "GridDesign.h"
#include "ScreenPicture.h"
#include "report/ReportImage.h"
#include "ui/controls/StandardControls.h"
#include "ui/port_dialog/PortDialog.h"
#include "ui/print_preview/PrintPreview.h"
#include "ui/win32/Dpi.h"
#include "ui/win32/User32Function.h"

#include <algorithm>
#include <cstdlib>

namespace {

// wmx.exe declares per-monitor awareness in its manifest; the tests ask for the same, from
// Windows 10 1703 on, or for system awareness before.
[[maybe_unused]] const bool PerMonitorAware = [] {
    if (const auto set = User32Function<BOOL(WINAPI*)(HANDLE)>("SetProcessDpiAwarenessContext"))
        return set(reinterpret_cast<HANDLE>(-4)) != FALSE;
    const auto set = User32Function<BOOL(WINAPI*)()>("SetProcessDPIAware");
    return set && set();
}();

constexpr const char* DpiVariable = "WMX_TEST_DPI";

int S(int value, int dpi) {
    return MulDiv(value, dpi, 96);
}

struct Placed {
    const char* Name;
    HWND Control;
    int Left, Top, Width, Height; // at 96 dpi; a size of 0 is the control's own
};

RECT RectInParent(HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// As the control draws its text: an access key's "&" takes no room.
SIZE TextExtent(HWND control) {
    const std::string text = WindowText(control);
    HDC dc = GetDC(control);
    HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
    RECT extent{};
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &extent,
              DT_CALCRECT | DT_SINGLELINE);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return {extent.right, extent.bottom};
}

DWORD CaptionAlignment(HWND control) {
    return GetWindowLongA(control, GWL_STYLE) & SS_TYPEMASK;
}

bool IsCaption(HWND control) {
    char className[16] = "";
    GetClassNameA(control, className, sizeof className);
    return lstrcmpiA(className, "Static") == 0 && CaptionAlignment(control) <= SS_RIGHT;
}

// A caption whose text outgrows its scaled rectangle away from 96 dpi is as wide as its text,
// with its aligned edge in place; its top there is where its field's text puts it
// (ExpectCaptionsLevelWithTheirFields).
void ExpectPlaced(const Placed& p, int dpi) {
    const RECT r = RectInParent(p.Control);
    int left = S(p.Left, dpi), width = S(p.Width, dpi);
    if (dpi != 96 && IsCaption(p.Control) && TextExtent(p.Control).cx > width) {
        const int grown = TextExtent(p.Control).cx - width;
        if (CaptionAlignment(p.Control) == SS_RIGHT)
            left -= grown;
        width += grown;
    }
    EXPECT_EQ(r.left, left) << p.Name << " at " << dpi;
    if (dpi == 96 || !IsCaption(p.Control)) {
        EXPECT_EQ(r.top, S(p.Top, dpi)) << p.Name << " at " << dpi;
    }
    if (p.Width) {
        EXPECT_EQ(r.right - r.left, width) << p.Name << " at " << dpi;
    }
    if (p.Height) {
        EXPECT_EQ(r.bottom - r.top, S(p.Height, dpi)) << p.Name << " at " << dpi;
    }
}

// The last row of a text's ink on the screen, in the coordinates of the top-level window.
int BaseLine(HWND window) {
    const ScreenPicture picture(window);
    const int last = InkRows([&picture](int x, int y) { return picture.At(x, y); },
                             {0, 0, picture.Width(), picture.Height()})
                         .second;
    POINT at{0, last};
    MapWindowPoints(window, GetAncestor(window, GA_ROOT), &at, 1);
    return at.y;
}

// The caption's extent in the control's font fits its client area, beside a radio button's
// circle for an entry of the radio group.
void ExpectCaptionFits(HWND control, int dpi, int beside = 0) {
    const std::string text = WindowText(control);
    const SIZE extent = TextExtent(control);
    RECT client;
    GetClientRect(control, &client);
    EXPECT_LE(extent.cx + S(beside, dpi), client.right) << '"' << text << "\" at " << dpi;
    EXPECT_LE(extent.cy, client.bottom) << '"' << text << "\" at " << dpi;
}

// The control's font is as high as its point size at the DPI asks for, within the pixel that an
// outline font's rounded ascent and descent may add or take.
void ExpectFontSize(HWND control, int points, int dpi) {
    HDC dc = GetDC(control);
    HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    EXPECT_NEAR(metrics.tmHeight - metrics.tmInternalLeading, MulDiv(points, dpi, 72), 1)
        << points << " points at " << dpi << " dpi, " << WindowText(control);
}

class LayoutAtDpi : public MainFormTest {
  protected:
    void SetUp() override {
        MainFormTest::SetUp();
        WriteConfig(*SampleStore());
        ShowWindow();
        Dialog = &Form->PortDialog();
        Dialog->Show();
        ProcessMessages();
    }

    void ExpectMainWindowAt(int dpi, bool designedFrame) {
        MainWindowParts& f = *Form;
        RECT window, client;
        GetWindowRect(f.Handle, &window);
        GetClientRect(f.Handle, &client);
        if (designedFrame) {
            EXPECT_EQ(window.left, S(30, dpi));
            EXPECT_EQ(window.top, S(44, dpi));
            EXPECT_EQ(client.right, S(725, dpi));
            EXPECT_EQ(client.bottom, S(342, dpi));
        }
        const Placed controls[] = {
            {"SpeedBar", f.SpeedBar, 0, 0, 0, 33},
            {"SpeedButton1", f.SpeedButton1, 8, 4, 25, 25},
            {"SpeedButton2", f.SpeedButton2, 40, 4, 25, 25},
            {"SpeedButton3", f.SpeedButton3, 72, 4, 25, 25},
            {"SpeedButton7", f.SpeedButton7, 104, 4, 25, 25},
            {"SpeedButton4", f.SpeedButton4, 136, 4, 25, 25},
            {"SpeedButton6", f.SpeedButton6, 168, 4, 25, 25},
            {"SpeedButton5", f.SpeedButton5, 200, 4, 25, 25},
            {"sbStart", f.sbStart, 248, 3, 101, 28},
            // The clock's labels size themselves to their text.
            {"Label1", f.Label1, 440, 8, 0, 0},
            {"Label2", f.Label2, 576, 8, 0, 0},
            {"Label3", f.Label3, 42, 64, 26, 13},
            {"StaticText2", f.StaticText2, 40, 88, 30, 17},
            {"StaticText3", f.StaticText3, 40, 112, 30, 17},
            {"StaticText4", f.StaticText4, 32, 144, 39, 17},
            {"StaticText5", f.StaticText5, 24, 168, 42, 17},
            {"StaticText6", f.StaticText6, 40, 192, 27, 17},
            {"StaticText7", f.StaticText7, 32, 216, 32, 17},
            {"StaticText8", f.StaticText8, 24, 240, 42, 17},
            {"StaticText9", f.StaticText9, 24, 272, 47, 17},
            {"StaticText10", f.StaticText10, 8, 296, 66, 17},
            {"Label4", f.Label4, 408, 232, 25, 13},
            {"Edit1", f.Edit1, 80, 56, 313, 21},
            {"Edit2", f.Edit2, 80, 80, 313, 21},
            {"Edit3", f.Edit3, 80, 104, 313, 21},
            {"Edit6", f.Edit6, 80, 136, 105, 21},
            {"rodzaj_pojazdu", f.rodzaj_pojazdu, 80, 160, 105, 21},
            {"Edit7", f.Edit7, 80, 184, 105, 21},
            {"Edit8", f.Edit8, 80, 208, 105, 21},
            {"Edit9", f.Edit9, 80, 232, 105, 21},
            {"Edit10", f.Edit10, 80, 264, 625, 21},
            {"Edit11", f.Edit11, 80, 288, 625, 21},
            {"txtTmp", f.txtTmp, 440, 224, 265, 21},
            {"Tabela", f.Tabela.Handle, 400, 56, 306, 163},
            {"Image1", f.Image1, 192, 136, 201, 97},
        };
        for (const Placed& p : controls)
            ExpectPlaced(p, dpi);
        EXPECT_EQ(RectInParent(f.SpeedBar).right, client.right) << "the tool bar at " << dpi;
        const RECT status = RectInParent(f.StatusBar);
        const RECT expected{0, client.bottom - S(19, dpi), client.right, client.bottom};
        EXPECT_TRUE(EqualRect(&status, &expected))
            << "the status bar at " << dpi << ": " << status.top << " to " << status.bottom;

        for (HWND caption :
             {f.Label3, f.StaticText2, f.StaticText3, f.StaticText4, f.StaticText5, f.StaticText6,
              f.StaticText7, f.StaticText8, f.StaticText9, f.StaticText10, f.Label4, f.sbStart})
            ExpectCaptionFits(caption, dpi);

        ExpectCaptionsLevelWithTheirFields(dpi);
        ExpectFontSize(f.Edit1, 8, dpi);
        ExpectFontSize(f.Label1, 10, dpi);
        ExpectFontSize(f.rodzaj_pojazdu, 8, dpi);
        ExpectFontSize(f.Tabela.Handle, 8, dpi);
        ExpectGridAt(dpi);
        ExpectPicturesAt(dpi);
    }

    // At 96 dpi the design puts each caption's text this far below its field's text; at every
    // DPI it stays there, scaled. Measured on the screen with capitals in both, whose ink ends
    // on the base line.
    static constexpr int CaptionBelowFieldText = 5;
    void ExpectCaptionsLevelWithTheirFields(int dpi) {
        MainWindowParts& f = *Form;
        const struct {
            const char* Name;
            HWND Caption;
            HWND Field;
        } captioned[] = {
            {"Label3", f.Label3, f.Edit1},
            {"StaticText2", f.StaticText2, f.Edit2},
            {"StaticText3", f.StaticText3, f.Edit3},
            {"StaticText4", f.StaticText4, f.Edit6},
            {"StaticText5", f.StaticText5, f.rodzaj_pojazdu},
            {"StaticText6", f.StaticText6, f.Edit7},
            {"StaticText7", f.StaticText7, f.Edit8},
            {"StaticText8", f.StaticText8, f.Edit9},
            {"StaticText9", f.StaticText9, f.Edit10},
            {"StaticText10", f.StaticText10, f.Edit11},
            {"Label4", f.Label4, f.txtTmp},
        };
        for (const auto& c : captioned) {
            const std::string caption = WindowText(c.Caption), field = WindowText(c.Field);
            SetWindowTextA(c.Caption, "HEKTOR");
            SetWindowTextA(c.Field, "HEKTOR");
            COMBOBOXINFO combo{};
            combo.cbSize = sizeof combo;
            const HWND text = GetComboBoxInfo(c.Field, &combo) ? combo.hwndItem : c.Field;
            // The caret is no ink.
            HideCaret(text);
            EXPECT_NEAR(BaseLine(c.Caption) - BaseLine(text), S(CaptionBelowFieldText, dpi),
                        dpi == 96 ? 0 : 1)
                << c.Name << " at " << dpi;
            ShowCaret(text);
            SetWindowTextA(c.Caption, caption.c_str());
            SetWindowTextA(c.Field, field.c_str());
        }
    }

    void ExpectGridAt(int dpi) {
        TStringGrid& grid = Form->Tabela;
        EXPECT_FALSE(GetWindowLongA(grid.Handle, GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL));
        RECT client;
        GetClientRect(grid.Handle, &client);
        using namespace GridDesign;
        // The cells fill what the lines leave: each line one design pixel scaled, at its design
        // place scaled; the first cells after the border's two bands, the last ones up to them.
        const int line = S(1, dpi);
        for (int r = 0, top = Border; r < Rows; ++r, top += RowPitch) {
            for (int c = 0, left = Border; c < Columns; left += ColWidths[c++] + 1) {
                const RECT cell = grid.CellRect(c, r);
                const RECT expected{
                    c == 0 ? 2 * line : S(left - 1, dpi) + line,
                    r == 0 ? 2 * line : S(top - 1, dpi) + line,
                    c == Columns - 1 ? client.right - 2 * line : S(left + ColWidths[c], dpi),
                    r == Rows - 1 ? client.bottom - 2 * line : S(top + RowHeight, dpi)};
                EXPECT_TRUE(EqualRect(&cell, &expected))
                    << "cell " << c << "," << r << " at " << dpi;
                EXPECT_LE(cell.bottom, client.bottom - 2 * line) << "row " << r << " in view";
            }
        }
        ExpectGridDrawnWhole(grid, dpi);
        for (int row : {9, 5}) {
            POINT at{S(Left + Width / 2, dpi), S(Top + Border + RowPitch * row + 7, dpi)};
            MapWindowPoints(Form->Handle, grid.Handle, &at, 1);
            Click(grid.Handle, at.x, at.y);
            EXPECT_EQ(grid.Row(), row) << "at " << dpi;
        }
        Focus(Form->Edit1);
        ExpectInactiveSelectionPlain(grid, dpi);
    }

    // The logo and the tool-bar pictures fill their scaled size, no more.
    void ExpectPicturesAt(int dpi) {
        const COLORREF face = GetSysColor(COLOR_BTNFACE);
        const ScreenPicture logo(Form->Image1);
        EXPECT_NE(logo.At(S(200, dpi) - 1, S(92, dpi) - 1), face) << dpi;
        EXPECT_EQ(logo.At(S(200, dpi), 0), face) << dpi;
        EXPECT_EQ(logo.At(0, S(92, dpi)), face) << dpi;
        const ScreenPicture button(Form->SpeedButton2);
        const RECT picture = BoxOf(button, RGB(192, 192, 192));
        EXPECT_EQ(picture.right - picture.left, S(20, dpi)) << dpi;
        EXPECT_EQ(picture.bottom - picture.top, S(20, dpi)) << dpi;
    }

    void ExpectDialogAt(int dpi, bool designedFrame) {
        TForm2& d = *Dialog;
        if (designedFrame) {
            RECT window;
            GetWindowRect(d.Handle, &window);
            const RECT expected{S(590, dpi), S(198, dpi), S(590, dpi) + S(334, dpi),
                                S(198, dpi) + S(370, dpi)};
            EXPECT_TRUE(EqualRect(&window, &expected)) << "the dialog at " << dpi;
        }
        const Placed controls[] = {
            {"COMM_select", d.COMM_select.Handle, 24, 16, 275, 193},
            {"COMM", d.COMM, 24, 210, 275, 21},
            {"btOK", d.btOK, 32, 240, 75, 41},
            {"btTestComm", d.btTestComm, 128, 240, 75, 41},
            {"btFind", d.btFind, 224, 240, 75, 41},
            {"Hint", d.Hint, 24, 290, 275, 40},
        };
        for (const Placed& p : controls)
            ExpectPlaced(p, dpi);
        ExpectFontSize(d.btTestComm, 8, dpi);
        for (HWND caption : {d.COMM_select.Handle, d.btOK, d.btTestComm, d.btFind})
            ExpectCaptionFits(caption, dpi);
        ASSERT_GT(d.COMM_select.Count(), 0);
        for (int i = 0; i < d.COMM_select.Count(); ++i)
            ExpectCaptionFits(d.COMM_select.Entry(i), dpi, 16);
        ExpectEntriesArranged(dpi);
    }

    // The port list's entries in one column, indented 8 design pixels and leaving 2 at the right,
    // scaled; as high as each other, one below the other.
    void ExpectEntriesArranged(int dpi) {
        const TRadioGroup& group = Dialog->COMM_select;
        ASSERT_LE(group.Count(), 9) << "one column";
        RECT box;
        GetClientRect(group.Handle, &box);
        const RECT first = RectInParent(group.Entry(0));
        for (int i = 0; i < group.Count(); ++i) {
            const RECT entry = RectInParent(group.Entry(i));
            EXPECT_EQ(entry.left, S(8, dpi)) << "entry " << i << " at " << dpi;
            EXPECT_EQ(entry.right - entry.left, box.right - S(10, dpi))
                << "entry " << i << " at " << dpi;
            EXPECT_EQ(entry.bottom - entry.top, first.bottom - first.top) << "entry " << i;
            EXPECT_EQ(entry.top, first.top + i * (first.bottom - first.top)) << "entry " << i;
        }
    }

    TForm2* Dialog = nullptr;
};

TEST_F(LayoutAtDpi, BothWindowsAreTheirDesignScaledToTheScreensDpi) {
    const int dpi = ScreenDpi(nullptr);
    if (const char* expected = std::getenv(DpiVariable)) {
        ASSERT_EQ(dpi, std::atoi(expected)) << "the screen's DPI this process was started at";
    }
    const auto context = User32Function<HANDLE(WINAPI*)()>("GetThreadDpiAwarenessContext");
    const auto awareness =
        User32Function<int(WINAPI*)(HANDLE)>("GetAwarenessFromDpiAwarenessContext");
    if (context && awareness) {
        EXPECT_EQ(awareness(context()), 2) << "per-monitor aware, as wmx.exe declares itself";
    }
    ExpectMainWindowAt(dpi, true);
    ExpectDialogAt(dpi, true);
}

// Sent by the system when a window moves to a monitor of another DPI; Wine gives every monitor
// the same DPI, so the test sends it itself with the rectangle the system would suggest.
void MoveToDpi(HWND window, int from, int to, const RECT* back = nullptr) {
    RECT r;
    GetWindowRect(window, &r);
    RECT suggested{MulDiv(r.left, to, from), MulDiv(r.top, to, from), 0, 0};
    suggested.right = suggested.left + MulDiv(r.right - r.left, to, from);
    suggested.bottom = suggested.top + MulDiv(r.bottom - r.top, to, from);
    if (back)
        suggested = *back;
    SendMessageA(window, WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&suggested));
    ProcessMessages();
}

TEST_F(LayoutAtDpi, AMoveToAnotherDpiLaysBothWindowsOutAgainAndBack) {
    const int dpi = ScreenDpi(nullptr);
    const int other = dpi == 144 ? 192 : 144;
    RECT before, dialogBefore;
    GetWindowRect(Form->Handle, &before);
    GetWindowRect(Dialog->Handle, &dialogBefore);
    MoveToDpi(Form->Handle, dpi, other);
    MoveToDpi(Dialog->Handle, dpi, other);
    ExpectMainWindowAt(other, false);
    ExpectDialogAt(other, false);
    // An entry added after the move, as the next Connect adds them, takes the new DPI's font.
    Dialog->COMM_select.Add("COM9");
    ExpectFontSize(Dialog->COMM_select.Entry(Dialog->COMM_select.Count() - 1), 8, other);
    ExpectEntriesArranged(other);
    RECT window;
    GetWindowRect(Form->Handle, &window);
    // The suggested rectangle, unless it is narrower than the layout at the new DPI.
    MINMAXINFO limits{};
    SendMessageA(Form->Handle, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    EXPECT_EQ(
        window.right - window.left,
        std::max<int>(MulDiv(before.right - before.left, other, dpi), limits.ptMinTrackSize.x))
        << "the suggested rectangle";

    // Back where it was, as the system suggests for the monitor it came from.
    MoveToDpi(Form->Handle, other, dpi, &before);
    MoveToDpi(Dialog->Handle, other, dpi, &dialogBefore);
    ExpectMainWindowAt(dpi, true);
    ExpectDialogAt(dpi, true);
}

// The preview's surround and tool bar follow the DPI, also after a move to another; its page at
// actual size does not: one pixel of the form to one screen pixel at every DPI.
TEST_F(LayoutAtDpi, PreviewScalesItsSurroundAndToolBarAndShowsTheFormPixelForPixel) {
    ASSERT_TRUE(CopyFileA(WMX_REPORT_FORM, Path("protokol.bmp").c_str(), FALSE));
    const int formWidth = ReportImage::Load(Path("protokol.bmp")).Width();
    PostMessageA(Form->Handle, WM_COMMAND, idFilePrintPreviewItem, 0);
    ProcessMessages();
    ASSERT_TRUE(Form->Preview && Form->Preview->IsOpen());
    const HWND preview = Form->Preview->Handle;
    const TPrintPreview& shown = *Form->Preview;
    const auto expectAt = [&](int dpi) {
        const RECT bar = RectInParent(shown.ToolBar);
        EXPECT_EQ(bar.bottom - bar.top, S(33, dpi)) << "the tool bar at " << dpi;
        EXPECT_EQ(shown.PageArea().top, bar.bottom) << "the page's room at " << dpi;
        const Placed buttons[] = {
            {"Print", shown.PrintButton, 8, 4, 75, 25},
            {"Whole page", shown.WholePageButton, 91, 4, 75, 25},
            {"Actual size", shown.ActualSizeButton, 166, 4, 75, 25},
            {"Close", shown.CloseButton, 249, 4, 75, 25},
        };
        for (const Placed& b : buttons) {
            ExpectPlaced(b, dpi);
            ExpectCaptionFits(b.Control, dpi);
            ExpectFontSize(b.Control, 8, dpi);
        }
        const RECT fitted = Form->Preview->PageRect();
        EXPECT_EQ(std::min(fitted.left, fitted.top - bar.bottom), S(16, dpi))
            << "the surround at " << dpi;
        PressKey(preview, VK_ADD);
        const RECT actual = Form->Preview->PageRect();
        EXPECT_EQ(actual.right - actual.left, formWidth) << "at actual size at " << dpi;
        PressKey(preview, VK_SUBTRACT);
    };
    const int dpi = ScreenDpi(nullptr);
    expectAt(dpi);
    const int other = dpi == 144 ? 192 : 144;
    MoveToDpi(preview, dpi, other);
    expectAt(other);
}

// The prefix's screen DPI for processes started while it lives; the old value comes back after.
class ScreenDpiSetting {
  public:
    explicit ScreenDpiSetting(DWORD dpi) {
        RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, nullptr, 0,
                        KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &Key, nullptr);
        DWORD size = sizeof Previous;
        Had = RegQueryValueExA(Key, "LogPixels", nullptr, nullptr,
                               reinterpret_cast<BYTE*>(&Previous), &size) == ERROR_SUCCESS;
        Set(dpi);
    }
    ~ScreenDpiSetting() {
        if (Had)
            Set(Previous);
        else
            RegDeleteValueA(Key, "LogPixels");
        RegCloseKey(Key);
    }
    ScreenDpiSetting(const ScreenDpiSetting&) = delete;
    ScreenDpiSetting& operator=(const ScreenDpiSetting&) = delete;

  private:
    void Set(DWORD dpi) {
        RegSetValueExA(Key, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi),
                       sizeof dpi);
    }
    HKEY Key = nullptr;
    DWORD Previous = 0;
    bool Had = false;
};

// Runs this program's layout tests in a new process; its exit code, or -1 when it hangs.
int RunLayoutTestsAt(int dpi) {
    char program[MAX_PATH];
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    std::string command = std::string("\"") + program + "\" --gtest_filter=LayoutAtDpi.*";
    SetEnvironmentVariableA(DpiVariable, std::to_string(dpi).c_str());
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const BOOL started = CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                        nullptr, &startup, &process);
    SetEnvironmentVariableA(DpiVariable, nullptr);
    if (!started)
        return -2;
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process.hProcess, 45000) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &code);
    else
        TerminateProcess(process.hProcess, code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}

TEST(ScreenDpi, TheLayoutTestsPassAtEachCommonDpi) {
    for (int dpi : {120, 144, 192}) {
        const ScreenDpiSetting setting(dpi);
        EXPECT_EQ(RunLayoutTestsAt(dpi), 0) << "the layout tests at " << dpi << " dpi";
    }
}

} // namespace
