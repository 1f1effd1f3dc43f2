#pragma once
// WM_NEXTDLGCTL for a window that is no dialog box but lets IsDialogMessage handle its keys. An
// access key in a caption sends it twice: the caption, then the next control, which is the
// caption's field.

#include <windows.h>

// Gives the focus as a dialog box does: to the control in wParam when lParam's low word is set,
// else to the next Tab stop after the focus (the previous one when wParam is set), with an edit's
// text selected.
void MoveToNextDialogControl(HWND window, WPARAM wParam, LPARAM lParam);
