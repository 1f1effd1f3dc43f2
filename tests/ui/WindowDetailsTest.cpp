// What a person sees and touches beyond the layout: the menu's shortcut keys, the fields' names
// and access keys, tooltips that go away, the status bar's last panel, the smallest size and the
// tool bar's repainting.
#include "Accessibility.h"
#include "WindowDriver.h"

#include "MessagePump.h"
#include "ui/controls/StandardControls.h"

#include <commctrl.h>

#include <cctype>
#include <iterator>
#include <map>

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

// Each entry field, the caption just before it in the window's order, the name a screen reader
// gives it and the letter of its caption's access key.
const struct CaptionedField {
    HWND MainWindowParts::*Field;
    HWND MainWindowParts::*Caption;
    const char* Name;
    char Key;
} CaptionedFields[] = {
    {&MainWindowParts::Edit1, &MainWindowParts::Label3, "name", 'N'},
    {&MainWindowParts::Edit2, &MainWindowParts::StaticText2, "adres", 'A'},
    {&MainWindowParts::Edit3, &MainWindowParts::StaticText3, "adres", 'S'},
    {&MainWindowParts::Edit6, &MainWindowParts::StaticText4, "reg.No.", 'R'},
    {&MainWindowParts::rodzaj_pojazdu, &MainWindowParts::StaticText5, "car type", 'C'},
    {&MainWindowParts::Edit7, &MainWindowParts::StaticText6, "mark", 'K'},
    {&MainWindowParts::Edit8, &MainWindowParts::StaticText7, "model", 'O'},
    {&MainWindowParts::Edit9, &MainWindowParts::StaticText8, "run [km]", 'U'},
    {&MainWindowParts::Edit10, &MainWindowParts::StaticText9, "comment", 'T'},
    {&MainWindowParts::Edit11, &MainWindowParts::StaticText10, "diagnostician", 'I'},
    {&MainWindowParts::txtTmp, &MainWindowParts::Label4, "result", 'E'},
};

std::string Shortcut(HWND window) {
    IAccessible* object = ClientObject(window);
    if (!object)
        return "(no object)";
    BSTR keys = nullptr;
    std::string text = "(none)";
    if (object->get_accKeyboardShortcut(Child(CHILDID_SELF), &keys) == S_OK && keys) {
        char buffer[64] = "";
        WideCharToMultiByte(CP_ACP, 0, keys, -1, buffer, sizeof buffer, nullptr, nullptr);
        text = buffer;
    }
    SysFreeString(keys);
    object->Release();
    return text;
}

// Read as a screen reader reads them: each field by the caption before it, which is its own, the
// "&" of the access key left out; the fields hold the sample's texts, which are not their names.
TEST_F(WindowDetailsTest, EachFieldIsNamedByItsCaption) {
    for (const CaptionedField& f : CaptionedFields) {
        SCOPED_TRACE(f.Name);
        const HWND field = Form->*f.Field, caption = Form->*f.Caption;
        EXPECT_EQ(ClientName(caption), f.Name);
        EXPECT_EQ(GetWindow(field, GW_HWNDPREV), caption) << "the caption just before its field";
        if (field == Form->rodzaj_pojazdu)
            continue; // Wine names a combo box by its text; Windows by the caption checked above.
        EXPECT_EQ(ClientName(field), f.Name);
        EXPECT_EQ(Shortcut(field), std::string("Alt+") + static_cast<char>(std::tolower(f.Key)));
    }
}

// Alt and a letter reaches one control or menu: no caption takes a letter of another or of the
// menu bar.
TEST_F(WindowDetailsTest, EveryAccessKeyIsTheOnlyOneOfItsLetter) {
    std::map<char, std::string> taken;
    const auto take = [&taken](const std::string& text) {
        const auto at = text.find('&');
        if (at == std::string::npos || at + 1 >= text.size())
            return;
        const char key = static_cast<char>(std::toupper(text[at + 1]));
        EXPECT_TRUE(taken.emplace(key, text).second)
            << "\"" << text << "\" and \"" << taken[key] << "\" share " << key;
    };
    for (int i = 0; i < GetMenuItemCount(Form->MainMenu); ++i) {
        char text[64] = "";
        GetMenuStringA(Form->MainMenu, i, text, sizeof text, MF_BYPOSITION);
        take(text);
    }
    for (const CaptionedField& f : CaptionedFields)
        take(WindowText(Form->*f.Caption));
    EXPECT_EQ(taken.size(), std::size(CaptionedFields) +
                                static_cast<std::size_t>(GetMenuItemCount(Form->MainMenu)));
}

// Alt and a caption's letter moves the focus to its field from elsewhere in the window, an edit's
// text selected as Tab selects it.
TEST_F(WindowDetailsTest, AltAndACaptionsLetterMovesTheFocusToItsField) {
    for (const CaptionedField& f : CaptionedFields) {
        SCOPED_TRACE(std::string("Alt+") + f.Key);
        const HWND field = Form->*f.Field;
        Focus(field == Form->Edit11 ? Form->Edit1 : Form->Edit11);
        Keystroke(f.Key, VK_MENU);
        HWND focus = GetFocus();
        // A drop-down combo keeps its focus on its inner edit.
        if (GetParent(focus) == Form->rodzaj_pojazdu)
            focus = Form->rodzaj_pojazdu;
        EXPECT_EQ(focus, field);
        if (field != Form->rodzaj_pojazdu) {
            DWORD start = 1, end = 0;
            SendMessageA(field, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                         reinterpret_cast<LPARAM>(&end));
            EXPECT_EQ(start, 0u);
            EXPECT_EQ(end, WindowText(field).size());
        }
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
