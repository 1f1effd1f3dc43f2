#include "ui/StringGrid.h"

#include <vector>

void TStringGrid::Create(HWND parent, int id, int left, int top, int width, int height, HFONT font,
                         const int (&colWidths)[6]) {
    Handle = CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "",
                             WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL |
                                 LVS_SHOWSELALWAYS | LVS_NOSORTHEADER,
                             left, top, width, height, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                             GetModuleHandleA(nullptr), nullptr);
    SendMessageA(Handle, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SendMessageA(Handle, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    for (int c = 0; c < ColCount; ++c) {
        LVCOLUMNA column{};
        column.mask = LVCF_WIDTH | LVCF_TEXT;
        column.cx = colWidths[c];
        column.pszText = const_cast<char*>("");
        SendMessageA(Handle, LVM_INSERTCOLUMNA, c, reinterpret_cast<LPARAM>(&column));
    }
    for (int r = 1; r < RowCount; ++r) {
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = r - 1;
        item.pszText = const_cast<char*>("");
        SendMessageA(Handle, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
    SetWindowLongPtrA(Handle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    DefaultProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(Handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ListProc)));
    SetRow(1);
}

// A click first takes the focus and only then moves the selection, whatever order the list view
// itself uses, so the field being left is stored into the row that was on show. Clicks beside
// the rows are swallowed so that a row always stays selected.
LRESULT CALLBACK TStringGrid::ListProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* grid = reinterpret_cast<TStringGrid*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK: {
        if (GetFocus() != hwnd)
            SetFocus(hwnd);
        LVHITTESTINFO hit{};
        hit.pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        SendMessageA(hwnd, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit));
        if (hit.iItem < 0 || msg == WM_RBUTTONDOWN || msg == WM_RBUTTONDBLCLK)
            return 0;
        break;
    }
    default:
        break;
    }
    return CallWindowProcA(grid->DefaultProc, hwnd, msg, wParam, lParam);
}

std::string TStringGrid::Cells(int col, int row) const {
    std::vector<char> buffer(1024);
    if (row == 0) {
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT;
        column.pszText = buffer.data();
        column.cchTextMax = static_cast<int>(buffer.size());
        SendMessageA(Handle, LVM_GETCOLUMNA, col, reinterpret_cast<LPARAM>(&column));
        return column.pszText;
    }
    LVITEMA item{};
    item.iSubItem = col;
    item.pszText = buffer.data();
    item.cchTextMax = static_cast<int>(buffer.size());
    const auto n = SendMessageA(Handle, LVM_GETITEMTEXTA, row - 1, reinterpret_cast<LPARAM>(&item));
    return std::string(buffer.data(), n);
}

void TStringGrid::SetCell(int col, int row, const std::string& text) {
    if (row == 0) {
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT;
        column.pszText = const_cast<char*>(text.c_str());
        SendMessageA(Handle, LVM_SETCOLUMNA, col, reinterpret_cast<LPARAM>(&column));
        return;
    }
    LVITEMA item{};
    item.iSubItem = col;
    item.pszText = const_cast<char*>(text.c_str());
    SendMessageA(Handle, LVM_SETITEMTEXTA, row - 1, reinterpret_cast<LPARAM>(&item));
}

void TStringGrid::SetRow(int row) {
    Selecting = true;
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(Handle, LVM_SETITEMSTATE, row - 1, reinterpret_cast<LPARAM>(&item));
    SendMessageA(Handle, LVM_ENSUREVISIBLE, row - 1, FALSE);
    Selecting = false;
    SelectedRow = row;
}

TStringGrid::Event TStringGrid::Notify(const NMHDR& header) {
    switch (header.code) {
    case LVN_ITEMCHANGED: {
        const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
        const bool nowSelected =
            (change.uNewState & LVIS_SELECTED) && !(change.uOldState & LVIS_SELECTED);
        if (!nowSelected || change.iItem < 0 || Selecting)
            return Event::None;
        SelectedRow = change.iItem + 1;
        return Event::Click;
    }
    case NM_CLICK:
        return reinterpret_cast<const NMITEMACTIVATE&>(header).iItem >= 0 ? Event::Click
                                                                          : Event::None;
    case NM_SETFOCUS:
        return Event::Enter;
    default:
        return Event::None;
    }
}

LRESULT TStringGrid::CustomDraw(NMHDR& header) const {
    auto& draw = reinterpret_cast<NMLVCUSTOMDRAW&>(header);
    if (draw.nmcd.dwDrawStage == CDDS_PREPAINT)
        return CDRF_NOTIFYITEMDRAW;
    if (draw.nmcd.dwDrawStage == CDDS_ITEMPREPAINT &&
        static_cast<int>(draw.nmcd.dwItemSpec) == SelectedRow - 1) {
        draw.nmcd.uItemState &= ~(CDIS_SELECTED | CDIS_FOCUS);
        draw.clrText = GetSysColor(COLOR_HIGHLIGHTTEXT);
        draw.clrTextBk = GetSysColor(COLOR_HIGHLIGHT);
    }
    return CDRF_DODEFAULT;
}
