// Clock, hints, information boxes and exit.
#include "WindowDriver.h"

#include "MessagePump.h"
#include "ScreenPicture.h"
#include "ui/controls/StandardControls.h"

#include <commctrl.h>

#include <cstdlib>
#include <utility>

namespace {

class ShellTest : public SampleWindowTest {
  protected:
    // The text of a status panel as the status bar keeps it, in UTF-16.
    std::wstring PanelText(int panel) const {
        const auto length = LOWORD(SendMessageW(Form->StatusBar, SB_GETTEXTLENGTHW, panel, 0));
        std::wstring text(length + 1, L'\0');
        SendMessageW(Form->StatusBar, SB_GETTEXTW, panel, reinterpret_cast<LPARAM>(text.data()));
        text.resize(length);
        return text;
    }
    // The tooltip's text for a control.
    std::wstring TooltipText(HWND control) const {
        wchar_t text[128] = L"";
        TTTOOLINFOW tool{};
        tool.cbSize = TTTOOLINFOW_V1_SIZE;
        tool.hwnd = GetParent(control);
        tool.uId = reinterpret_cast<UINT_PTR>(control);
        tool.lpszText = text;
        SendMessageW(Form->Tooltips, TTM_GETTEXTW, std::size(text),
                     reinterpret_cast<LPARAM>(&tool));
        return text;
    }
};

TEST_F(ShellTest, ClockShowsTheSystemsDateAndTimeFormats) {
    PostMessageA(Form->Handle, WM_TIMER, idTimer1, 0);
    ProcessMessages();
    char date[80], time[80];
    GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, date, sizeof date);
    GetTimeFormatA(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, time, sizeof time);
    EXPECT_EQ(WindowText(Form->Label1), date);
    EXPECT_NE(WindowText(Form->Label2), "??:??:??");
    EXPECT_EQ(WindowText(Form->Label2).size(), std::string(time).size());
}

TEST_F(ShellTest, InformationBoxesShowTheirTexts) {
    // The web address, and the version of the resources the program carries.
    const char* const AboutText = "http://www.wmx-tint.example/\n\nVersion " WMX_VERSION;
    const struct {
        HWND Control;
        const char* Expected;
    } cases[] = {{Form->SpeedButton6, AboutText},
                 {Form->Image1, "WMX window tint measurement software, inspection station kit"}};
    for (const auto& c : cases) {
        MessageBoxSeen box;
        Dialogs.Expect(AnswerMessageBox(box));
        Click(c.Control, 5, 5);
        EXPECT_EQ(box.Caption, "Kavra Tintra");
        EXPECT_EQ(box.Text, c.Expected);
        EXPECT_FALSE(box.HasIcon);
    }
    MessageBoxSeen about;
    Dialogs.Expect(AnswerMessageBox(about));
    PostMessageA(Form->Handle, WM_COMMAND, idHelpAboutItem, 0);
    ProcessMessages();
    EXPECT_EQ(about.Text, AboutText);
}

TEST_F(ShellTest, HintsShowInStatusPanelThreeAndAsTooltips) {
    const struct {
        HWND Control;
        const wchar_t* Hint;
    } cases[] = {
        {Form->SpeedButton3, L"drukuje wybrany pomiar (kliknij w tabelkę)"},
        {Form->SpeedButton7, L"podgląd wydruku wybranego pomiaru"},
        {Form->sbStart, L"polacz sie z Tintrem"},
        {Form->Edit1, L""},
        {Form->SpeedButton5, L"wyjscie"},
    };
    for (const auto& c : cases) {
        RECT r;
        GetWindowRect(c.Control, &r);
        SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        MSG move{};
        move.hwnd = c.Control;
        move.message = WM_MOUSEMOVE;
        ProcessMessage(move);
        EXPECT_EQ(PanelText(3), c.Hint);
        if (*c.Hint) {
            EXPECT_EQ(TooltipText(c.Control), c.Hint);
        }
    }
    const std::pair<int, const char*> items[] = {
        {idFileSaveItem, "Save current file"},
        {idFileSaveAsItem, "Save current file under a new name"},
    };
    for (const auto& [id, hint] : items) {
        SendMessageA(Form->Handle, WM_MENUSELECT, MAKEWPARAM(id, MF_HILITE),
                     reinterpret_cast<LPARAM>(Form->FileMenu));
        EXPECT_EQ(Form->StatusText(3), hint);
    }
}

// The hints with Polish letters as a person sees them, in the tooltip and in status panel 3: the
// same pixels as the text drawn by the wide function in the same font, whatever the code page
// (WMX_CODE_PAGE names the one a run must have).
TEST_F(ShellTest, HintsAreDrawnAsTheirTextUnderTheCodePage) {
    if (const char* codePage = std::getenv("WMX_CODE_PAGE")) {
        ASSERT_EQ(GetACP(), static_cast<UINT>(std::atoi(codePage)));
    }
    const struct {
        HWND Control;
        const wchar_t* Hint;
    } cases[] = {
        {Form->SpeedButton7, L"podgląd wydruku wybranego pomiaru"},
        {Form->SpeedButton3, L"drukuje wybrany pomiar (kliknij w tabelkę)"},
    };
    const auto font = [](HWND window) {
        return reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
    };
    const auto expectSame = [](const TextPixels& shown, const TextPixels& drawn,
                               const char* where) {
        EXPECT_GT(shown.Width, 0) << where << ": no text";
        EXPECT_TRUE(shown == drawn)
            << where << ": " << shown.Width << " x " << shown.Height << " pixels shown, "
            << drawn.Width << " x " << drawn.Height << " drawn";
    };
    for (const auto& c : cases) {
        MovePointerTo(c.Control);
        ASSERT_TRUE(PumpUntil(
            [&] {
                wchar_t text[128] = L"";
                TTTOOLINFOW tool{};
                tool.cbSize = TTTOOLINFOW_V1_SIZE;
                tool.lpszText = text;
                return IsWindowVisible(Form->Tooltips) &&
                       SendMessageW(Form->Tooltips, TTM_GETCURRENTTOOLW, 0,
                                    reinterpret_cast<LPARAM>(&tool)) &&
                       tool.uId == reinterpret_cast<UINT_PTR>(c.Control);
            },
            5000))
            << "no tooltip for the control";
        const ScreenPicture tip(Form->Tooltips);
        // Inside the tooltip's and the panel's edges.
        const RECT tipArea{2, 2, tip.Width() - 2, tip.Height() - 2};
        expectSame(TextPixelsIn(tip, tipArea),
                   WideTextPixels(c.Hint, font(Form->Tooltips), GetSysColor(COLOR_INFOTEXT),
                                  tip.At(tipArea.left, tipArea.top)),
                   "the tooltip");
        const ScreenPicture bar(Form->StatusBar);
        RECT panel;
        SendMessageW(Form->StatusBar, SB_GETRECT, 3, reinterpret_cast<LPARAM>(&panel));
        InflateRect(&panel, -2, -2);
        expectSame(TextPixelsIn(bar, panel),
                   WideTextPixels(c.Hint, font(Form->StatusBar), GetSysColor(COLOR_BTNTEXT),
                                  bar.At(panel.left, panel.top)),
                   "status panel 3");
    }
}

TEST_F(ShellTest, ExitClosesTheWindow) {
    PostMessageA(Form->SpeedButton5, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageA(Form->SpeedButton5, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(RunMessageLoop(), 0) << "the loop ends";
    EXPECT_FALSE(IsWindow(Form->Handle));
}

} // namespace
