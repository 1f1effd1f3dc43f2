#pragma once
// The keyboard focus of a top-level window across its activations, as dialog boxes keep it: the
// control that had the focus when the window lost the activation gets it back when the window is
// activated again; one that has gone, been hidden or disabled meanwhile is replaced by the
// window's first Tab stop.

#include <windows.h>

class TActivationFocus {
  public:
    // For WM_ACTIVATE; true when it gave the focus, and the window procedure returns 0.
    bool Activate(HWND window, WPARAM wParam);
    // The control to take the focus at the next activation.
    void Remember(HWND control) { Focused = control; }
    // Between losing the activation and getting it back: a control's losing the focus then is
    // no move of the user's inside the window, so the main window runs no exit handler for it.
    bool Inactive() const { return IsInactive; }

  private:
    HWND Focused = nullptr;
    bool IsInactive = false;
};
