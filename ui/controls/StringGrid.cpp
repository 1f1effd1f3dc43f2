#include "ui/controls/StringGrid.h"

#include "system/SystemFunction.h"
#include "ui/controls/GridAccessible.h"
#include "ui/controls/StandardControls.h"
#include "ui/win32/Layout.h"
#include "ui/win32/WindowClass.h"
#include "ui/win32/WindowObject.h"

namespace {

constexpr const char* GridClass = "WmxStringGrid";
// At 96 dpi: the lines between cells, the sunken border of two bands as wide as a line, and the
// text's distance from a line.
constexpr int Line = 1;
constexpr int Border = 2 * Line;
constexpr int TextMargin = 2;
// Page Up and Page Down move by the rows in view below the headings.
constexpr int RowsPerPage = TStringGrid::RowCount - 1;
constexpr unsigned EveryRow = (1u << TStringGrid::RowCount) - 1;
// Posted to itself when a row's name has changed, to tell assistive tools once the change is
// complete.
constexpr UINT WM_ANNOUNCERENAMED = WM_USER + 1;

void Fill(HDC dc, const RECT& r, int sysColour) {
    FillRect(dc, &r, GetSysColorBrush(sysColour));
}

// One band of an edge, between two rectangles, shaded top-left and bottom-right.
void Band(HDC dc, const RECT& outside, const RECT& inside, int topLeft, int bottomRight) {
    Fill(dc, {outside.left, outside.top, outside.right, inside.top}, topLeft);
    Fill(dc, {outside.left, outside.top, inside.left, outside.bottom}, topLeft);
    Fill(dc, {outside.left, inside.bottom, outside.right, outside.bottom}, bottomRight);
    Fill(dc, {inside.right, outside.top, outside.right, outside.bottom}, bottomRight);
}

RECT Inset(const RECT& r, int by) {
    return {r.left + by, r.top + by, r.right - by, r.bottom - by};
}

// The inactive selection's frame round a row's data cells, in the highlight colour, drawn cell by
// cell inside each: the first cell takes its left side, the last its right.
void FrameCell(HDC dc, const RECT& cell, int width, bool first, bool last) {
    Fill(dc, {cell.left, cell.top, cell.right, cell.top + width}, COLOR_HIGHLIGHT);
    Fill(dc, {cell.left, cell.bottom - width, cell.right, cell.bottom}, COLOR_HIGHLIGHT);
    if (first)
        Fill(dc, {cell.left, cell.top, cell.left + width, cell.bottom}, COLOR_HIGHLIGHT);
    if (last)
        Fill(dc, {cell.right - width, cell.top, cell.right, cell.bottom}, COLOR_HIGHLIGHT);
}

// One system colour at half its strength over another.
COLORREF HalfOver(int colour, int under) {
    const COLORREF a = GetSysColor(colour), b = GetSysColor(under);
    return RGB((GetRValue(a) + GetRValue(b)) / 2, (GetGValue(a) + GetGValue(b)) / 2,
               (GetBValue(a) + GetBValue(b)) / 2);
}

} // namespace

void TStringGrid::Create(HWND parent, int id, int left, int top, int width, int height, HFONT font,
                         const int (&colWidths)[6]) {
    RegisterWindowClass({.Name = GridClass, .Style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW});
    for (int c = 0; c < ColCount; ++c)
        ColWidths[c] = colWidths[c];
    Handle = CreateChild(GridClass, "", WS_TABSTOP, left, top, width, height, parent, id, nullptr);
    RouteMessagesTo(Handle, *this);
    SendMessageA(Handle, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

std::string TStringGrid::Cells(int col, int row) const {
    return Text[row][col];
}

void TStringGrid::SetCell(int col, int row, const std::string& text) {
    if (Text[row][col] == text)
        return;
    Text[row][col] = text;
    const RECT cell = CellRect(col, row);
    InvalidateRect(Handle, &cell, FALSE);
    // A row is named by its cells, and by the headings' titles.
    NoteRenamed(row == 0 ? EveryRow : 1u << row);
}

// Assistive tools address the rows as the table's children 1..10. They hear of a renamed row once
// its change is complete (a reading writes five cells of its row), when the grid's message comes.
void TStringGrid::NoteRenamed(unsigned rows) {
    if (!Handle)
        return;
    if (!RenamedRows)
        PostMessageA(Handle, WM_ANNOUNCERENAMED, 0, 0);
    RenamedRows |= rows;
}

void TStringGrid::AnnounceRenamed() {
    const unsigned rows = RenamedRows;
    RenamedRows = 0;
    for (int r = 0; r < RowCount; ++r) {
        if (rows & (1u << r))
            NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, Handle, OBJID_CLIENT, r + 1);
    }
    // The row with the focus is spoken again under its new name.
    if ((rows & (1u << SelectedRow)) && GetFocus() == Handle)
        NotifyWinEvent(EVENT_OBJECT_FOCUS, Handle, OBJID_CLIENT, SelectedRow + 1);
}

void TStringGrid::SetRow(int row) {
    InvalidateRow(SelectedRow);
    SelectedRow = row;
    InvalidateRow(SelectedRow);
    NotifyWinEvent(EVENT_OBJECT_SELECTION, Handle, OBJID_CLIENT, SelectedRow + 1);
    if (GetFocus() == Handle)
        NotifyWinEvent(EVENT_OBJECT_FOCUS, Handle, OBJID_CLIENT, SelectedRow + 1);
}

TStringGrid::Event TStringGrid::Notify(const NMHDR& header) {
    switch (header.code) {
    case NM_CLICK:
        return Event::Click;
    case NM_SETFOCUS:
        return Event::Enter;
    default:
        return Event::None;
    }
}

// Positions at 96 dpi: each cell is followed by its line.
int TStringGrid::ColLeft(int col) const {
    int left = Border;
    for (int c = 0; c < col; ++c)
        left += ColWidths[c] + Line;
    return left;
}

int TStringGrid::RowTop(int row) const {
    return Border + row * (RowHeight + Line);
}

// Every line, and each of the border's two bands, is one design pixel scaled once: lines of
// one width throughout, each starting at its design place scaled. The cells take what is left
// between them, the last ones reaching the border.
int TStringGrid::LineWidth() const {
    return Scaled(Handle, Line);
}

int TStringGrid::CellLeft(int col) const {
    return col == 0 ? 2 * LineWidth() : Scaled(Handle, ColLeft(col) - Line) + LineWidth();
}

int TStringGrid::CellRight(int col) const {
    if (col < ColCount - 1)
        return Scaled(Handle, ColLeft(col + 1) - Line);
    RECT client;
    GetClientRect(Handle, &client);
    return client.right - 2 * LineWidth();
}

int TStringGrid::CellTop(int row) const {
    return row == 0 ? 2 * LineWidth() : Scaled(Handle, RowTop(row) - Line) + LineWidth();
}

int TStringGrid::CellBottom(int row) const {
    if (row < RowCount - 1)
        return Scaled(Handle, RowTop(row + 1) - Line);
    RECT client;
    GetClientRect(Handle, &client);
    return client.bottom - 2 * LineWidth();
}

RECT TStringGrid::CellRect(int col, int row) const {
    return {CellLeft(col), CellTop(row), CellRight(col), CellBottom(row)};
}

void TStringGrid::InvalidateRow(int row) const {
    RECT r = CellRect(0, row);
    r.right = CellRect(ColCount - 1, row).right;
    InvalidateRect(Handle, &r, FALSE);
}

void TStringGrid::NotifyParent(UINT code) const {
    NMHDR header{Handle, static_cast<UINT_PTR>(GetDlgCtrlID(Handle)), code};
    SendMessageA(GetParent(Handle), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

void TStringGrid::MoveSelection(int row) {
    if (row < 1)
        row = 1;
    if (row > RowCount - 1)
        row = RowCount - 1;
    if (row == SelectedRow)
        return;
    SetRow(row);
    NotifyParent(NM_CLICK);
}

// A click on a cell of rows 1..9 outside the heading column selects its row; a line belongs to
// the cell before it.
void TStringGrid::Click(POINT at) {
    int col = -1;
    for (int c = 0; c < ColCount; ++c) {
        const int end = c < ColCount - 1 ? CellLeft(c + 1) : CellRight(c);
        if (at.x >= CellLeft(c) && at.x < end)
            col = c;
    }
    int row = -1;
    for (int r = 0; r < RowCount; ++r) {
        const int end = r < RowCount - 1 ? CellTop(r + 1) : CellBottom(r);
        if (at.y >= CellTop(r) && at.y < end)
            row = r;
    }
    if (col < 1 || row < 1)
        return;
    SetRow(row);
    NotifyParent(NM_CLICK);
}

void TStringGrid::Paint(HDC dc) const {
    RECT client;
    GetClientRect(Handle, &client);
    Fill(dc, client, COLOR_WINDOW);
    // A sunken border as the system draws one, in two bands as wide as a line.
    const int pixel = LineWidth();
    const RECT inner = Inset(client, pixel);
    const RECT cells = Inset(client, 2 * pixel);
    Band(dc, client, inner, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);
    Band(dc, inner, cells, COLOR_3DDKSHADOW, COLOR_3DLIGHT);
    // The lines are what the cells leave uncovered.
    Fill(dc, cells, COLOR_BTNSHADOW);
    HGDIOBJ oldFont = SelectObject(dc, Font);
    SetBkMode(dc, TRANSPARENT);
    const int margin = Scaled(Handle, TextMargin);
    // As the system's lists: the selection in the highlight colour while the grid has the focus.
    // While it has not, in the highlight at half its strength framed in the highlight itself, the
    // lines between the cells left whole: plain to see in every colour scheme, high contrast ones
    // included, and unlike the focus.
    const bool focused = GetFocus() == Handle;
    const HBRUSH selection = focused ? GetSysColorBrush(COLOR_HIGHLIGHT)
                                     : CreateSolidBrush(HalfOver(COLOR_HIGHLIGHT, COLOR_WINDOW));
    const int selectionText = focused ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT;
    for (int r = 0; r < RowCount; ++r) {
        for (int c = 0; c < ColCount; ++c) {
            RECT cell = CellRect(c, r);
            const bool heading = r == 0 || c == 0;
            const bool selected = !heading && r == SelectedRow;
            if (selected)
                FillRect(dc, &cell, selection);
            else
                Fill(dc, cell, heading ? COLOR_BTNFACE : COLOR_WINDOW);
            if (selected && !focused)
                FrameCell(dc, cell, pixel, c == 1, c == ColCount - 1);
            if (heading) {
                Fill(dc, {cell.left, cell.top, cell.right, cell.top + pixel}, COLOR_BTNHIGHLIGHT);
                Fill(dc, {cell.left, cell.top, cell.left + pixel, cell.bottom}, COLOR_BTNHIGHLIGHT);
            }
            SetTextColor(dc, GetSysColor(heading    ? COLOR_BTNTEXT
                                         : selected ? selectionText
                                                    : COLOR_WINDOWTEXT));
            RECT text = cell;
            text.left += margin;
            DrawTextA(dc, Text[r][c].c_str(), static_cast<int>(Text[r][c].size()), &text,
                      DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        }
    }
    SelectObject(dc, oldFont);
    if (!focused)
        DeleteObject(selection);
    // The focus: a dotted frame inside the selected row, in the highlight's text colour, which
    // stands out on the highlight (an inverted one hardly shows on it).
    if (focused) {
        RECT focus = CellRect(1, SelectedRow);
        focus.right = CellRect(ColCount - 1, SelectedRow).right;
        focus = Inset(focus, pixel);
        HPEN pen = CreatePen(PS_DOT, 1, GetSysColor(COLOR_HIGHLIGHTTEXT));
        HGDIOBJ oldPen = SelectObject(dc, pen);
        HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
        Rectangle(dc, focus.left, focus.top, focus.right, focus.bottom);
        SelectObject(dc, oldBrush);
        SelectObject(dc, oldPen);
        DeleteObject(pen);
    }
}

LRESULT TStringGrid::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_PAINT: {
        // Drawn off screen first, so the cells do not flicker when the selection moves.
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(Handle, &paint);
        RECT client;
        GetClientRect(Handle, &client);
        HDC memory = CreateCompatibleDC(dc);
        HBITMAP bitmap = CreateCompatibleBitmap(dc, client.right, client.bottom);
        HGDIOBJ old = SelectObject(memory, bitmap);
        Paint(memory);
        BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
        SelectObject(memory, old);
        DeleteObject(bitmap);
        DeleteDC(memory);
        EndPaint(Handle, &paint);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_SETFONT:
        Font = reinterpret_cast<HFONT>(wParam);
        if (lParam)
            InvalidateRect(Handle, nullptr, FALSE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(Font);
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS;
    // The focus comes first, so that the field being left is stored into the row on show
    // before the click shows another.
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (GetFocus() != Handle)
            SetFocus(Handle);
        Click({static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
        return 0;
    case WM_KEYDOWN:
        switch (wParam) {
        case VK_UP:
            MoveSelection(SelectedRow - 1);
            return 0;
        case VK_DOWN:
            MoveSelection(SelectedRow + 1);
            return 0;
        case VK_PRIOR:
            MoveSelection(SelectedRow - RowsPerPage);
            return 0;
        case VK_NEXT:
            MoveSelection(SelectedRow + RowsPerPage);
            return 0;
        case VK_HOME:
            MoveSelection(1);
            return 0;
        case VK_END:
            MoveSelection(RowCount - 1);
            return 0;
        default:
            break;
        }
        break;
    case WM_SETFOCUS:
        InvalidateRow(SelectedRow);
        NotifyWinEvent(EVENT_OBJECT_FOCUS, Handle, OBJID_CLIENT, SelectedRow + 1);
        NotifyParent(NM_SETFOCUS);
        return 0;
    case WM_GETOBJECT: {
        if (static_cast<LONG>(lParam) != static_cast<LONG>(OBJID_CLIENT))
            break;
        // Loaded for the first tool that asks. A system without the accessibility libraries gets
        // the window's own answer: the grid works on, and no tool can run there to ask.
        static const SystemFunction<decltype(&CoInitializeEx)> initialize("ole32.dll",
                                                                          "CoInitializeEx");
        static const SystemFunction<decltype(&LresultFromObject)> fromObject("oleacc.dll",
                                                                             "LresultFromObject");
        if (!initialize.Get() || !fromObject.Get())
            break;
        if (!Accessible) {
            // The object reaches the tool through COM, which this thread may not have set up yet
            // (a tool may be the first to ask).
            initialize.Get()(nullptr, COINIT_APARTMENTTHREADED);
            Accessible = CreateGridAccessible(*this);
        }
        return fromObject.Get()(__uuidof(IAccessible), wParam, Accessible);
    }
    case WM_DESTROY:
        // Tools may still hold the object: it answers no more once the grid has gone.
        if (Accessible) {
            DetachGridAccessible(Accessible);
            Accessible->Release();
            Accessible = nullptr;
        }
        break;
    case WM_KILLFOCUS:
        InvalidateRow(SelectedRow);
        return 0;
    case WM_ANNOUNCERENAMED:
        AnnounceRenamed();
        return 0;
    default:
        break;
    }
    return DefWindowProcA(Handle, msg, wParam, lParam);
}
