#pragma once
// A string grid over a report-style list view: heading row 0 (the list's header), heading
// column 0, rows 1..9 selected whole, cells the user cannot edit.

#include <windows.h>

#include <commctrl.h>

#include <string>

class TStringGrid {
  public:
    enum class Event { None, Click, Enter };

    void Create(HWND parent, int id, int left, int top, int width, int height, HFONT font,
                const int (&colWidths)[6]);

    std::string Cells(int col, int row) const;
    void SetCell(int col, int row, const std::string& text);

    // The selected row, 1..9. It stays on the last selected row when the list shows none.
    int Row() const { return SelectedRow; }
    // Selects a row without raising a click.
    void SetRow(int row);

    // Turns the list view's notifications into the grid's click and focus-gain events.
    Event Notify(const NMHDR& header);
    // Paints the selected row highlighted whether the grid has the focus or not; returns the
    // answer to the list view's custom-draw notification.
    LRESULT CustomDraw(NMHDR& header) const;

    static constexpr int ColCount = 6;
    static constexpr int RowCount = 10;
    HWND Handle = nullptr;

  private:
    static LRESULT CALLBACK ListProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    WNDPROC DefaultProc = nullptr;
    int SelectedRow = 1;
    bool Selecting = false;
};
