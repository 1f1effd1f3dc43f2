#include "ui/RadioGroup.h"

#include "ui/Controls.h"

#include <commctrl.h>

#include <algorithm>

namespace {
constexpr int MaxRowsInOneColumn = 9;
} // namespace

void TRadioGroup::Create(HWND parent, int id, const char* caption, int left, int top, int width,
                         int height, HFONT font) {
    Font = font;
    Handle =
        CreateChild("BUTTON", caption, BS_GROUPBOX, left, top, width, height, parent, id, font);
    SetWindowSubclass(Handle, &GroupProc, 0, 0);
}

// The entries are children of the group box, which hands their notifications on.
LRESULT CALLBACK TRadioGroup::GroupProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                        DWORD_PTR) {
    if (msg == WM_COMMAND)
        return SendMessageA(GetParent(hwnd), msg, wParam, lParam);
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

void TRadioGroup::Clear() {
    for (HWND button : Buttons)
        DestroyWindow(button);
    Buttons.clear();
    Selected = -1;
}

void TRadioGroup::Add(const std::string& text) {
    const int id = static_cast<int>(Buttons.size()) + 1;
    Buttons.push_back(
        CreateChild("BUTTON", text.c_str(), BS_RADIOBUTTON, 0, 0, 0, 0, Handle, id, Font));
    Arrange();
}

int TRadioGroup::IndexOf(HWND button) const {
    const auto found = std::find(Buttons.begin(), Buttons.end(), button);
    return found == Buttons.end() ? -1 : static_cast<int>(found - Buttons.begin());
}

bool TRadioGroup::SetItemIndex(int index) {
    if (index < -1 || index >= Count() || index == Selected)
        return false;
    if (Selected >= 0)
        SendMessageA(Buttons[Selected], BM_SETCHECK, BST_UNCHECKED, 0);
    if (index >= 0)
        SendMessageA(Buttons[index], BM_SETCHECK, BST_CHECKED, 0);
    Selected = index;
    return true;
}

// Column by column, each entry as high as the box below its caption allows.
void TRadioGroup::Arrange() {
    RECT box;
    GetClientRect(Handle, &box);
    HDC dc = GetDC(Handle);
    HGDIOBJ old = SelectObject(dc, Font);
    TEXTMETRICA metrics;
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(Handle, dc);

    const int columns = Count() > MaxRowsInOneColumn ? 2 : 1;
    const int rows = (Count() + columns - 1) / columns;
    const int usable = box.bottom - metrics.tmHeight - 5;
    const int entryHeight = usable / rows;
    const int entryWidth = (box.right - 10) / columns;
    const int topMargin = metrics.tmHeight + 1 + (usable % rows) / 2;
    for (int i = 0; i < Count(); ++i) {
        SetWindowPos(Buttons[i], nullptr, 8 + (i / rows) * entryWidth,
                     topMargin + (i % rows) * entryHeight, entryWidth, entryHeight,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
}
