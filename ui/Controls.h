#pragma once
// Small helpers for the standard controls, shared by the windows and the other parts.

#include <windows.h>

#include <string>

std::string WindowText(HWND control);
void SetWindowTextTo(HWND control, const std::string& text);

// "MS Sans Serif" at a point size, for the screen's 96 pixels per inch layout.
HFONT CreateUiFont(int points, bool bold);

HWND CreateChild(const char* className, const char* text, DWORD style, int left, int top, int width,
                 int height, HWND parent, int id, HFONT font, DWORD exStyle = 0);
