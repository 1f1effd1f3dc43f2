#pragma once
// A string grid of the program's own: 6 columns by 10 rows of text cells with one-pixel lines
// between them, row 0 and column 0 fixed headings, whole rows 1..9 selected by a click or by the
// arrow, Home, End, Page Up and Page Down keys, cells the user cannot edit. It tells its parent
// of clicks (NM_CLICK) and of taking the focus (NM_SETFOCUS) through WM_NOTIFY. The selected row
// is drawn in the highlight colour while the grid has the focus, and at half the highlight's
// strength in a frame of the highlight while it has not.

#include <windows.h>

#include <commctrl.h>

#include <string>

struct IAccessible;

class TStringGrid {
  public:
    enum class Event { None, Click, Enter };

    TStringGrid() = default;
    TStringGrid(const TStringGrid&) = delete;
    TStringGrid& operator=(const TStringGrid&) = delete;

    // Sizes at 96 dpi; the grid draws itself at its window's layout DPI.
    void Create(HWND parent, int id, int left, int top, int width, int height, HFONT font,
                const int (&colWidths)[6]);

    std::string Cells(int col, int row) const;
    void SetCell(int col, int row, const std::string& text);

    // The selected row, 1..9.
    int Row() const { return SelectedRow; }
    // Selects a row without raising a click.
    void SetRow(int row);

    // The grid's click and focus-gain events in its parent's WM_NOTIFY.
    static Event Notify(const NMHDR& header);

    // A cell's rectangle in the grid's client area, lines and border excluded.
    RECT CellRect(int col, int row) const;
    int ColWidth(int col) const { return ColWidths[col]; }

    static constexpr int ColCount = 6;
    static constexpr int RowCount = 10;
    static constexpr int RowHeight = 15;
    HWND Handle = nullptr;

  private:
    template <class Owner>
    friend LRESULT CALLBACK RouteToOwner(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    void Paint(HDC dc) const;
    void InvalidateRow(int row) const;
    void NotifyParent(UINT code) const;
    void NoteRenamed(unsigned rows);
    void AnnounceRenamed();
    void MoveSelection(int row);
    void Click(POINT at);
    int ColLeft(int col) const;
    int RowTop(int row) const;
    int LineWidth() const;
    int CellLeft(int col) const;
    int CellRight(int col) const;
    int CellTop(int row) const;
    int CellBottom(int row) const;

    int ColWidths[ColCount] = {};
    std::string Text[RowCount][ColCount];
    int SelectedRow = 1;
    HFONT Font = nullptr;
    // Made at the first question of an assistive tool (GridAccessible.h).
    IAccessible* Accessible = nullptr;
    // The rows whose names changed since they were last announced, one bit a row.
    unsigned RenamedRows = 0;
};
