#pragma once
// The screen's pixels per inch for a window. The layout is designed at 96; every figure of it is
// scaled once to the DPI a window is shown at.

#include <windows.h>

constexpr int DesignDpi = 96;

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

// The DPI of the monitor the window is on (GetDpiForWindow, Windows 10 1607 and later), else the
// screen's, which is the system's DPI; a null window gives the system's DPI.
int ScreenDpi(HWND window);

// A 96-dpi figure at another DPI, rounded once.
inline int ScaledTo(int value, int dpi) {
    return MulDiv(value, dpi, DesignDpi);
}

// The outer size of a window whose client area is width x height at the DPI.
SIZE FrameSizeFor(int width, int height, DWORD style, DWORD exStyle, bool menu, int dpi);
