#include "ui/win32/ModalScope.h"

TModalScope::TModalScope(HWND Owner)
    : Owner(Owner), OwnerWasEnabled(!Owner || IsWindowEnabled(Owner)) {
    EnumThreadWindows(GetCurrentThreadId(), DisableWindow, reinterpret_cast<LPARAM>(this));
}

TModalScope::~TModalScope() {
    if (!OwnerWasEnabled && IsWindow(Owner))
        EnableWindow(Owner, FALSE);
    for (HWND window : Disabled) {
        if (IsWindow(window))
            EnableWindow(window, TRUE);
    }
}

// Hidden windows take no input; a window already disabled belongs to whoever disabled it.
BOOL CALLBACK TModalScope::DisableWindow(HWND Window, LPARAM Scope) {
    auto& scope = *reinterpret_cast<TModalScope*>(Scope);
    if (Window != scope.Owner && IsWindowVisible(Window) && IsWindowEnabled(Window)) {
        EnableWindow(Window, FALSE);
        scope.Disabled.push_back(Window);
    }
    return TRUE;
}
