// Clock, hints, information boxes and exit.
#include "WindowDriver.h"

#include "ui/controls/StandardControls.h"

#include <commctrl.h>

#include <utility>

namespace {

class ShellTest : public SampleWindowTest {};

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
        const char* Hint;
    } cases[] = {
        {Form->SpeedButton3, "drukuje wybrany pomiar (kliknij w tabelk\xea)"},
        {Form->SpeedButton7, "podgl\xb9"
                             "d wydruku wybranego pomiaru"},
        {Form->sbStart, "polacz sie z Tintrem"},
        {Form->Edit1, ""},
        {Form->SpeedButton5, "wyjscie"},
    };
    for (const auto& c : cases) {
        RECT r;
        GetWindowRect(c.Control, &r);
        SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        MSG move{};
        move.hwnd = c.Control;
        move.message = WM_MOUSEMOVE;
        ProcessMessage(move);
        EXPECT_EQ(Form->StatusText(3), c.Hint);
        if (*c.Hint) {
            char text[128] = "";
            TOOLINFOA tool{};
            tool.cbSize = TTTOOLINFOA_V1_SIZE;
            tool.hwnd = GetParent(c.Control);
            tool.uId = reinterpret_cast<UINT_PTR>(c.Control);
            tool.lpszText = text;
            SendMessageA(Form->Tooltips, TTM_GETTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
            EXPECT_STREQ(text, c.Hint);
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

TEST_F(ShellTest, ExitClosesTheWindow) {
    PostMessageA(Form->SpeedButton5, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageA(Form->SpeedButton5, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(RunMessageLoop(), 0) << "the loop ends";
    EXPECT_FALSE(IsWindow(Form->Handle));
}

} // namespace
