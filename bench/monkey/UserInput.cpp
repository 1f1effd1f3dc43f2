#include "UserInput.h"

#include <vector>

namespace UserInput {

namespace {

INPUT Keyboard(WORD key, WORD scan, DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = scan;
    input.ki.dwFlags = flags;
    return input;
}

void MovePointer(POINT screen) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = screen.x * 65536 / GetSystemMetrics(SM_CXSCREEN);
    input.mi.dy = screen.y * 65536 / GetSystemMetrics(SM_CYSCREEN);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof input);
}

} // namespace

void Click(HWND window, POINT at) {
    ClientToScreen(window, &at);
    MovePointer(at);
    INPUT buttons[2]{};
    buttons[0].type = buttons[1].type = INPUT_MOUSE;
    buttons[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    buttons[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, buttons, sizeof(INPUT));
}

void ClickMiddle(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    Click(window, {(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}

void Key(WORD key, std::initializer_list<WORD> modifiers) {
    std::vector<INPUT> inputs;
    for (WORD m : modifiers)
        inputs.push_back(Keyboard(m, 0, 0));
    inputs.push_back(Keyboard(key, 0, 0));
    inputs.push_back(Keyboard(key, 0, KEYEVENTF_KEYUP));
    for (auto m = modifiers.end(); m != modifiers.begin();)
        inputs.push_back(Keyboard(*--m, 0, KEYEVENTF_KEYUP));
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void Type(const std::wstring& text) {
    std::vector<INPUT> inputs;
    for (wchar_t c : text) {
        inputs.push_back(Keyboard(0, c, KEYEVENTF_UNICODE));
        inputs.push_back(Keyboard(0, c, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP));
    }
    if (!inputs.empty())
        SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

} // namespace UserInput
