#pragma once
// Small helpers for the standard controls, shared by the windows and the other parts.

#include <windows.h>

#include <string>

std::string WindowText(HWND control);
void SetWindowTextTo(HWND control, const std::string& text);

// A control at its 96-dpi rectangle, placed and remembered at its window's layout DPI.
HWND CreateChild(const char* className, const char* text, DWORD style, int left, int top, int width,
                 int height, HWND parent, int id, HFONT font, DWORD exStyle = 0);
