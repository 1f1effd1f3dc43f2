#pragma once
// Real input, as from the keyboard and the mouse: the system delivers it to the foreground window
// and to the window under the pointer, so a window a modal box has disabled refuses it as it
// refuses a user's.

#include <windows.h>

#include <initializer_list>
#include <string>

namespace UserInput {
// A left click at a point of the window's client area, or at its middle.
void Click(HWND window, POINT at);
void ClickMiddle(HWND window);
// A key with modifiers held (VK_CONTROL, VK_SHIFT, VK_MENU).
void Key(WORD key, std::initializer_list<WORD> modifiers = {});
// Characters as the keyboard types them, whatever the layout (Polish letters included).
void Type(const std::wstring& text);
} // namespace UserInput
