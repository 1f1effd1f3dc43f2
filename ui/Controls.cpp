#include "ui/Controls.h"

std::string WindowText(HWND control) {
    std::string text(GetWindowTextLengthA(control), '\0');
    const int got = GetWindowTextA(control, text.data(), static_cast<int>(text.size()) + 1);
    text.resize(got > 0 ? got : 0);
    return text;
}

void SetWindowTextTo(HWND control, const std::string& text) {
    SetWindowTextA(control, text.c_str());
}

HFONT CreateUiFont(int points, bool bold) {
    return CreateFontA(-MulDiv(points, 96, 72), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE,
                       FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                       DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "MS Sans Serif");
}

HWND CreateChild(const char* className, const char* text, DWORD style, int left, int top, int width,
                 int height, HWND parent, int id, HFONT font, DWORD exStyle) {
    HWND control = CreateWindowExA(
        exStyle, className, text, WS_CHILD | WS_VISIBLE | style, left, top, width, height, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
    if (font)
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
}
