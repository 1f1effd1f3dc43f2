#include "DialogButton.h"

#include <cstring>
#include <vector>

namespace {

thread_local int ButtonToPress = 0;
thread_local std::function<void(HWND)> FirstAction;
thread_local bool ButtonPressed = false;

LRESULT CALLBACK WatchActivation(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && !ButtonPressed) {
        const HWND window = reinterpret_cast<HWND>(wParam);
        char className[16] = {};
        GetClassNameA(window, className, sizeof className);
        const HWND button = GetDlgItem(window, ButtonToPress);
        if (std::strcmp(className, "#32770") == 0 && button) {
            if (FirstAction)
                FirstAction(window);
            PostMessageA(button, BM_CLICK, 0, 0);
            ButtonPressed = true;
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

BOOL CALLBACK FindPrinterList(HWND child, LPARAM found) {
    char className[16] = {};
    GetClassNameA(child, className, sizeof className);
    if (std::strcmp(className, "ComboBox") != 0 ||
        SendMessageA(child, CB_FINDSTRINGEXACT, -1, LPARAM("WmxPdf")) == CB_ERR)
        return TRUE;
    *reinterpret_cast<HWND*>(found) = child;
    return FALSE;
}

// The dialog's printer list: the combo box that lists the test's print queue.
HWND PrinterList(HWND dialog) {
    HWND found = nullptr;
    EnumChildWindows(dialog, FindPrinterList, LPARAM(&found));
    return found;
}

} // namespace

PressOnNextDialog::PressOnNextDialog(int buttonId, std::function<void(HWND)> first)
    : hook_(SetWindowsHookExA(WH_CBT, WatchActivation, nullptr, GetCurrentThreadId())) {
    ButtonToPress = buttonId;
    FirstAction = std::move(first);
    ButtonPressed = false;
}

PressOnNextDialog::~PressOnNextDialog() {
    UnhookWindowsHookEx(hook_);
    FirstAction = nullptr;
}

bool PressOnNextDialog::Pressed() const {
    return ButtonPressed;
}

std::string SelectedPrinter(HWND dialog) {
    const HWND list = PrinterList(dialog);
    const LRESULT index = list ? SendMessageA(list, CB_GETCURSEL, 0, 0) : CB_ERR;
    if (index == CB_ERR)
        return {};
    std::vector<char> name(SendMessageA(list, CB_GETLBTEXTLEN, index, 0) + 1);
    SendMessageA(list, CB_GETLBTEXT, index, LPARAM(name.data()));
    return name.data();
}

void SelectPrinter(HWND dialog, const std::string& name) {
    const HWND list = PrinterList(dialog);
    if (!list)
        return;
    SendMessageA(list, CB_SELECTSTRING, -1, LPARAM(name.c_str()));
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), CBN_SELCHANGE), LPARAM(list));
}
