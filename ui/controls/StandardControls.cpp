#include "ui/controls/StandardControls.h"

#include "ui/win32/Layout.h"

std::string WindowText(HWND control) {
    std::string text(GetWindowTextLengthA(control), '\0');
    const int got = GetWindowTextA(control, text.data(), static_cast<int>(text.size()) + 1);
    text.resize(got > 0 ? got : 0);
    return text;
}

void SetWindowTextTo(HWND control, const std::string& text) {
    SetWindowTextA(control, text.c_str());
}

HWND CreateChild(const char* className, const char* text, DWORD style, int left, int top, int width,
                 int height, HWND parent, int id, HFONT font, DWORD exStyle) {
    HWND control = CreateWindowExA(
        exStyle, className, text, WS_CHILD | WS_VISIBLE | style, Scaled(parent, left),
        Scaled(parent, top), Scaled(parent, width), Scaled(parent, height), parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
    RememberDesign(control, left, top, width, height);
    if (font)
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    FitCaption(control);
    return control;
}

bool ForwardedToParent(HWND panel, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& answer) {
    if (msg != WM_COMMAND && msg != WM_NOTIFY)
        return false;
    answer = SendMessageA(GetParent(panel), msg, wParam, lParam);
    return true;
}
