#include "ui/win32/ActivationFocus.h"

bool TActivationFocus::Activate(HWND window, WPARAM wParam) {
    if (LOWORD(wParam) == WA_INACTIVE) {
        IsInactive = true;
        HWND focus = GetFocus();
        if (IsChild(window, focus))
            Focused = focus;
        return false;
    }
    if (!Focused || !IsWindow(Focused) || !IsWindowVisible(Focused) || !IsWindowEnabled(Focused))
        Focused = GetNextDlgTabItem(window, nullptr, FALSE);
    // Cleared once the focus is back: whatever loses it to the remembered control was not left by
    // the user.
    if (Focused)
        SetFocus(Focused);
    IsInactive = false;
    return Focused != nullptr;
}
