#pragma once
// A captioned group of radio buttons with a variable number of entries, at most one selected.
// The entries are arranged in one column, or two when more than nine would crowd the box, and
// share its height evenly. Clicks on an entry reach the parent window as WM_COMMAND.
// For the keyboard the group is one tab stop (the selected entry, or the first when none is),
// and the arrow keys move the choice, reaching the parent as a click on the new entry.

#include <windows.h>

#include <string>
#include <vector>

class TRadioGroup {
  public:
    void Create(HWND parent, int id, const char* caption, int left, int top, int width, int height,
                HFONT font);

    void Clear();
    void Add(const std::string& text);
    int Count() const { return static_cast<int>(Buttons.size()); }
    HWND Entry(int index) const { return Buttons[index]; }
    // The entry whose button this is, or -1.
    int IndexOf(HWND button) const;

    // The selected entry, -1 for none.
    int ItemIndex() const { return Selected; }
    // Selects an entry (-1: none); returns true when the selection changed.
    bool SetItemIndex(int index);

    // Lays the entries out in the box as it is now: after the box moved to another DPI.
    void Arrange();

    HWND Handle = nullptr;

  private:
    static LRESULT CALLBACK GroupProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR id, DWORD_PTR data);
    static LRESULT CALLBACK EntryProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR id, DWORD_PTR data);
    HFONT BoxFont() const;
    void MoveChoice(HWND from, int step);
    void UpdateTabStop();
    std::vector<HWND> Buttons;
    int Selected = -1;
};
