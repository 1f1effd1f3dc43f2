#pragma once
// Small helpers for the standard controls, shared by the windows and the other parts.

#include <windows.h>

#include <string>

std::string WindowText(HWND control);
void SetWindowTextTo(HWND control, const std::string& text);

// An inner panel (the tool bar, a group box) hands its controls' commands and notifications on
// to its parent, whose dispatch table handles them: true when the message was one of them, with
// the parent's answer.
bool ForwardedToParent(HWND panel, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& answer);

// A control at its 96-dpi rectangle, placed and remembered at its window's layout DPI.
HWND CreateChild(const char* className, const char* text, DWORD style, int left, int top, int width,
                 int height, HWND parent, int id, HFONT font, DWORD exStyle = 0);
