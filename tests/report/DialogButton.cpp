#include "DialogButton.h"

#include <cstring>

namespace {

thread_local int ButtonToPress = 0;
thread_local bool ButtonPressed = false;

LRESULT CALLBACK WatchActivation(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && !ButtonPressed) {
        const HWND window = reinterpret_cast<HWND>(wParam);
        char className[16] = {};
        GetClassNameA(window, className, sizeof className);
        const HWND button = GetDlgItem(window, ButtonToPress);
        if (std::strcmp(className, "#32770") == 0 && button) {
            PostMessageA(button, BM_CLICK, 0, 0);
            ButtonPressed = true;
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace

PressOnNextDialog::PressOnNextDialog(int buttonId)
    : hook_(SetWindowsHookExA(WH_CBT, WatchActivation, nullptr, GetCurrentThreadId())) {
    ButtonToPress = buttonId;
    ButtonPressed = false;
}

PressOnNextDialog::~PressOnNextDialog() {
    UnhookWindowsHookEx(hook_);
}

bool PressOnNextDialog::Pressed() const {
    return ButtonPressed;
}
