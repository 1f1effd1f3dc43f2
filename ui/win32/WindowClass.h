#pragma once
// The program's own window classes, each registered once for the process: the first window of a
// class registers it, later ones find it registered.

#include <windows.h>

struct WindowClass {
    const char* Name;
    // Windows of an object are created with DefWindowProc and routed to it (WindowObject.h).
    WNDPROC Procedure = DefWindowProcA;
    UINT Style = 0;
    HBRUSH Background = nullptr;
    HICON Icon = nullptr;
};

// The background of the forms and the tool bar.
inline HBRUSH ButtonFaceBackground() {
    return reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
}

void RegisterWindowClass(const WindowClass& windowClass);
