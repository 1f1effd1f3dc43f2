// The main window's hints: in status panel 3 for the control under the pointer or the menu item
// selected, and as tooltips.
#include "ui/main_window/MainWindow.h"

#include <commctrl.h>

#include <string>

namespace {

// Connect's hint, on the tool button and on its menu item alike.
constexpr const char* StartHint = "polacz sie z Tintrem";

struct ItemHint {
    int Id;
    const char* Hint;
};

const ItemHint MenuHints[] = {
    {idFileOpenItem, "Open an existing file"},
    {idFileSaveItem, "Save current file"},
    {idFileSaveAsItem, "Save current file under a new name"},
    {idFilePrintItem, "Print current file"},
    {idFilePrintPreviewItem, "Show the report as it will be printed"},
    {idFilePrintSetupItem, "Change printer setup"},
    {idFileExitItem, "Exit this application"},
    {idHelpAboutItem, "Show program information"},
    {idsbStart, StartHint},
};

} // namespace

const char* TMainForm::MenuHint(int id) {
    for (const ItemHint& h : MenuHints) {
        if (h.Id == id)
            return h.Hint;
    }
    return "";
}

void TMainForm::MenuItemSelected(WPARAM wParam, LPARAM lParam) {
    const bool closed = HIWORD(wParam) == 0xFFFF && lParam == 0;
    const char* hint = closed || (HIWORD(wParam) & MF_POPUP) ? "" : MenuHint(LOWORD(wParam));
    // A recent file's item may show its path shortened: its hint shows it whole.
    if (const std::string* file = ListedRecentFile(LOWORD(wParam)))
        hint = file->c_str();
    CurrentHint = hint;
    ShowHint(hint);
}

void TMainForm::AddHint(HWND control, const char* hint) {
    SetPropA(control, "hint", const_cast<char*>(hint));
    TOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V1_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = GetParent(control);
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = const_cast<char*>(hint);
    SendMessageA(Tooltips, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

const char* TMainForm::HintOf(HWND control) const {
    return static_cast<const char*>(GetPropA(control, "hint"));
}

// The hint of the control under the pointer or of the nearest container that has one.
void TMainForm::UpdateHintFromPointer() {
    POINT at;
    GetCursorPos(&at);
    std::string hint;
    for (HWND h = WindowFromPoint(at); h && h != Handle; h = GetParent(h)) {
        if (const char* text = HintOf(h)) {
            hint = text;
            break;
        }
    }
    if (hint != CurrentHint) {
        CurrentHint = hint;
        ShowHint(hint);
    }
}
