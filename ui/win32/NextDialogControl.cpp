#include "ui/win32/NextDialogControl.h"

void MoveToNextDialogControl(HWND window, WPARAM wParam, LPARAM lParam) {
    HWND to = LOWORD(lParam) ? reinterpret_cast<HWND>(wParam)
                             : GetNextDlgTabItem(window, GetFocus(), wParam != 0);
    if (!to || (to != window && !IsChild(window, to)))
        return;
    if (SendMessageA(to, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
        SendMessageA(to, EM_SETSEL, 0, -1);
    SetFocus(to);
}
