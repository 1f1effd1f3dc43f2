#include "ui/controls/RadioGroup.h"

#include "ui/controls/StandardControls.h"
#include "ui/win32/Layout.h"

#include <commctrl.h>

#include <algorithm>

namespace {
constexpr int MaxRowsInOneColumn = 9;
// At 96 dpi: the entries' indent from the box's left edge, the room they leave beside them in
// all, and the room below the caption and below the last row.
constexpr int Indent = 8;
constexpr int SideRoom = 10;
constexpr int BelowCaption = 1;
constexpr int BelowLastRow = 5;
} // namespace

void TRadioGroup::Create(HWND parent, int id, const char* caption, int left, int top, int width,
                         int height, HFONT font) {
    // A control parent: the dialog's Tab key looks into the box for its entries.
    Handle = CreateChild("BUTTON", caption, BS_GROUPBOX, left, top, width, height, parent, id, font,
                         WS_EX_CONTROLPARENT);
    SetWindowSubclass(Handle, &GroupProc, 0, 0);
}

// The entries are children of the group box, which hands their notifications on.
LRESULT CALLBACK TRadioGroup::GroupProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                        DWORD_PTR) {
    if (LRESULT answer; ForwardedToParent(hwnd, msg, wParam, lParam, answer))
        return answer;
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

// The entries take the arrow keys themselves, wrapping round at either end as a dialog's radio
// buttons do.
LRESULT CALLBACK TRadioGroup::EntryProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                        DWORD_PTR data) {
    auto* group = reinterpret_cast<TRadioGroup*>(data);
    if (msg == WM_GETDLGCODE)
        return DefSubclassProc(hwnd, msg, wParam, lParam) | DLGC_WANTARROWS;
    if (msg == WM_KEYDOWN) {
        switch (wParam) {
        case VK_UP:
        case VK_LEFT:
            group->MoveChoice(hwnd, -1);
            return 0;
        case VK_DOWN:
        case VK_RIGHT:
            group->MoveChoice(hwnd, 1);
            return 0;
        default:
            break;
        }
    }
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

void TRadioGroup::MoveChoice(HWND from, int step) {
    const int next = (IndexOf(from) + step + Count()) % Count();
    SetFocus(Buttons[next]);
    SendMessageA(Handle, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(Buttons[next]), BN_CLICKED),
                 reinterpret_cast<LPARAM>(Buttons[next]));
}

void TRadioGroup::UpdateTabStop() {
    for (int i = 0; i < Count(); ++i) {
        const bool stop = i == (Selected >= 0 ? Selected : 0);
        const LONG_PTR style = GetWindowLongPtrA(Buttons[i], GWL_STYLE);
        SetWindowLongPtrA(Buttons[i], GWL_STYLE, stop ? style | WS_TABSTOP : style & ~WS_TABSTOP);
    }
}

void TRadioGroup::Clear() {
    for (HWND button : Buttons)
        DestroyWindow(button);
    Buttons.clear();
    Selected = -1;
}

void TRadioGroup::Add(const std::string& text) {
    const int id = static_cast<int>(Buttons.size()) + 1;
    HWND entry =
        CreateChild("BUTTON", text.c_str(), BS_RADIOBUTTON, 0, 0, 0, 0, Handle, id, BoxFont());
    SetWindowSubclass(entry, &EntryProc, 0, reinterpret_cast<DWORD_PTR>(this));
    Buttons.push_back(entry);
    Arrange();
    UpdateTabStop();
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
    UpdateTabStop();
    return true;
}

// The box's font, which a move to another DPI replaces: entries added later take it too.
HFONT TRadioGroup::BoxFont() const {
    return reinterpret_cast<HFONT>(SendMessageA(Handle, WM_GETFONT, 0, 0));
}

// Column by column, each entry as high as the box below its caption allows; every margin is
// scaled once to the box's DPI.
void TRadioGroup::Arrange() {
    RECT box;
    GetClientRect(Handle, &box);
    HDC dc = GetDC(Handle);
    HGDIOBJ old = SelectObject(dc, BoxFont());
    TEXTMETRICA metrics;
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(Handle, dc);

    const int columns = Count() > MaxRowsInOneColumn ? 2 : 1;
    const int rows = (Count() + columns - 1) / columns;
    const int usable = box.bottom - metrics.tmHeight - Scaled(Handle, BelowLastRow);
    const int entryHeight = usable / rows;
    const int entryWidth = (box.right - Scaled(Handle, SideRoom)) / columns;
    const int topMargin = metrics.tmHeight + Scaled(Handle, BelowCaption) + (usable % rows) / 2;
    for (int i = 0; i < Count(); ++i) {
        SetWindowPos(Buttons[i], nullptr, Scaled(Handle, Indent) + (i / rows) * entryWidth,
                     topMargin + (i % rows) * entryHeight, entryWidth, entryHeight,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
}
