// What a person sees and touches beyond the layout: the menu's shortcut keys, tooltips that go
// away, the status bar's last panel, the smallest size and the tool bar's repainting.
#include "WindowDriver.h"

#include "MessagePump.h"
#include "ui/controls/StandardControls.h"

#include <commctrl.h>

namespace {

class WindowDetailsTest : public SampleWindowTest {
  protected:
    bool TooltipShown() const { return IsWindowVisible(Form->Tooltips); }
    // Rests the pointer on a control until its tooltip comes up.
    bool HoverUntilTooltip(HWND control) {
        MovePointerTo(control);
        return PumpUntil([this] { return TooltipShown(); }, 3000);
    }
};

TEST_F(WindowDetailsTest, MenuShowsTheShortcutKeysBesideItsItems) {
    const struct {
        int Id;
        const char* Caption;
    } items[] = {
        {idFileOpenItem, "&Open...\tCtrl+O"},       {idFileSaveItem, "&Save\tCtrl+S"},
        {idFileSaveAsItem, "Save &As...\tF12"},     {idFilePrintItem, "&Print\tCtrl+P"},
        {idFilePrintPreviewItem, "Print Pre&view"}, {idFilePrintSetupItem, "P&rint Setup..."}};
    for (const auto& item : items) {
        char caption[64] = "";
        GetMenuStringA(Form->FileMenu, item.Id, caption, sizeof caption, MF_BYCOMMAND);
        EXPECT_STREQ(caption, item.Caption);
    }
}

TEST_F(WindowDetailsTest, TooltipGoesWhenItsControlIsClickedOrADialogOpens) {
    HWND comboText = GetWindow(Form->rodzaj_pojazdu, GW_CHILD);
    ASSERT_TRUE(HoverUntilTooltip(comboText));
    MouseClick();
    EXPECT_FALSE(TooltipShown()) << "a click ends it";

    ASSERT_TRUE(HoverUntilTooltip(Form->SpeedButton1));
    bool shownOverDialog = true;
    Dialogs.Expect([&](HWND dialog) {
        shownOverDialog = TooltipShown();
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    Keystroke('O', VK_CONTROL);
    EXPECT_EQ(Dialogs.Pending(), 0u);
    EXPECT_FALSE(shownOverDialog) << "a dialog ends it";
    EXPECT_TRUE(HoverUntilTooltip(Form->SpeedButton2)) << "tooltips come back after the dialog";
}

TEST_F(WindowDetailsTest, StatusBarsLastPanelRunsToTheRightEdge) {
    for (int width : {733, 1000}) {
        SCOPED_TRACE(width);
        RECT frame;
        GetWindowRect(Form->Handle, &frame);
        SetWindowPos(Form->Handle, nullptr, 0, 0, width, frame.bottom - frame.top,
                     SWP_NOMOVE | SWP_NOZORDER);
        ProcessMessages();
        int edges[4] = {};
        ASSERT_EQ(SendMessageA(Form->StatusBar, SB_GETPARTS, 4, reinterpret_cast<LPARAM>(edges)),
                  4);
        EXPECT_EQ(edges[0], 100);
        EXPECT_EQ(edges[3], -1);
        RECT last, bar;
        SendMessageA(Form->StatusBar, SB_GETRECT, 3, reinterpret_cast<LPARAM>(&last));
        GetClientRect(Form->StatusBar, &bar);
        EXPECT_GE(last.right, bar.right - 20) << "up to the size grip";
    }
}

TEST_F(WindowDetailsTest, WindowIsNeverSmallerThanItsLayout) {
    SetWindowPos(Form->Handle, nullptr, 0, 0, 200, 100, SWP_NOMOVE | SWP_NOZORDER);
    ProcessMessages();
    RECT client;
    GetClientRect(Form->Handle, &client);
    EXPECT_GE(client.right, 725);
    EXPECT_GE(client.bottom, 342);
}

TEST_F(WindowDetailsTest, ToolBarIsRepaintedWholeWhenTheWindowChangesSize) {
    const std::function<void()> changes[] = {
        [&] { ::ShowWindow(Form->Handle, SW_MAXIMIZE); },
        [&] { ::ShowWindow(Form->Handle, SW_RESTORE); },
        [&] { SetWindowPos(Form->Handle, nullptr, 0, 0, 900, 450, SWP_NOMOVE | SWP_NOZORDER); },
    };
    for (std::size_t i = 0; i < std::size(changes); ++i) {
        SCOPED_TRACE(i);
        ProcessMessages();
        ValidateRect(Form->SpeedBar, nullptr);
        changes[i]();
        RECT bar, dirty;
        GetClientRect(Form->SpeedBar, &bar);
        ASSERT_TRUE(GetUpdateRect(Form->SpeedBar, &dirty, FALSE));
        EXPECT_TRUE(EqualRect(&dirty, &bar)) << "all of the panel, not only what was uncovered";
        ProcessMessages();
    }
}

} // namespace
