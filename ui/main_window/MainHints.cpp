// The main window's hints: in status panel 3 for the control under the pointer or the menu item
// selected, and as tooltips. They are the program's own texts, some with Polish letters: kept in
// UTF-16 and shown through the wide functions, so that they read right under every code page.
#include "ui/main_window/MainWindow.h"
#include "ui/win32/AnsiPath.h"

#include <commctrl.h>

#include <string>

namespace {

// Connect's hint, on the tool button and on its menu item alike.
constexpr const wchar_t* StartHint = L"polacz sie z Tintrem";

struct ItemHint {
    int Id;
    const wchar_t* Hint;
};

const ItemHint MenuHints[] = {
    {idFileOpenItem, L"Open an existing file"},
    {idFileSaveItem, L"Save current file"},
    {idFileSaveAsItem, L"Save current file under a new name"},
    {idFilePrintItem, L"Print current file"},
    {idFilePrintPreviewItem, L"Show the report as it will be printed"},
    {idFilePrintSetupItem, L"Change printer setup"},
    {idFileExitItem, L"Exit this application"},
    {idHelpAboutItem, L"Show program information"},
    {idsbStart, StartHint},
};

} // namespace

const wchar_t* TMainForm::MenuHint(int id) {
    for (const ItemHint& h : MenuHints) {
        if (h.Id == id)
            return h.Hint;
    }
    return L"";
}

void TMainForm::MenuItemSelected(WPARAM wParam, LPARAM lParam) {
    const bool closed = HIWORD(wParam) == 0xFFFF && lParam == 0;
    std::wstring hint =
        closed || (HIWORD(wParam) & MF_POPUP) ? L"" : MenuHint(LOWORD(wParam));
    // A recent file's item may show its path shortened: its hint shows it whole.
    if (const std::string* file = ListedRecentFile(LOWORD(wParam)))
        hint = WideText(*file);
    CurrentHint = hint;
    ShowHint(hint);
}

void TMainForm::AddHint(HWND control, const wchar_t* hint) {
    SetPropA(control, "hint", const_cast<wchar_t*>(hint));
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V1_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = GetParent(control);
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = const_cast<wchar_t*>(hint);
    SendMessageW(Tooltips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

const wchar_t* TMainForm::HintOf(HWND control) const {
    return static_cast<const wchar_t*>(GetPropA(control, "hint"));
}

// The hint of the control under the pointer or of the nearest container that has one.
void TMainForm::UpdateHintFromPointer() {
    POINT at;
    GetCursorPos(&at);
    std::wstring hint;
    for (HWND h = WindowFromPoint(at); h && h != Handle; h = GetParent(h)) {
        if (const wchar_t* text = HintOf(h)) {
            hint = text;
            break;
        }
    }
    if (hint != CurrentHint) {
        CurrentHint = hint;
        ShowHint(hint);
    }
}
