#pragma once
// The print preview: the report page exactly as Print composes it, in a window of its own that
// the main window owns, titled with the registration number and the record it shows. The page is
// shown whole, scaled to the room below the tool bar, or at actual size (one pixel of the 150-dpi
// form to one screen pixel) with scroll bars. The tool bar's buttons print, switch between the two
// sizes (the size shown is the button held down) and close; the keys do the same: Ctrl+P prints
// the page shown, + and - (or Ctrl and the mouse wheel) switch sizes, Escape closes.

#include "report/TestReport.h"

#include <windows.h>

#include <optional>

class TPrintPreview {
  public:
    explicit TPrintPreview(HWND owner);
    ~TPrintPreview();
    TPrintPreview(const TPrintPreview&) = delete;
    TPrintPreview& operator=(const TPrintPreview&) = delete;

    // Shows the page of the record fitted to the window and brings the window forward; a page
    // shown before is let go. The window takes its default size when it is first shown.
    void Show(ReportPage page, int record);
    // Closing the window lets its page go.
    bool IsOpen() const { return Handle != nullptr; }
    bool AtActualSize() const { return ActualSize; }
    // The room for the page below the tool bar, and where the page is drawn, in client
    // coordinates.
    RECT PageArea() const;
    RECT PageRect() const;

    // Ctrl+P: the print dialog, then the page shown is printed as Print prints it.
    void PrintPage();

    HWND Handle = nullptr;
    // The tool bar and its buttons.
    HWND ToolBar = nullptr;
    HWND PrintButton = nullptr, WholePageButton = nullptr, ActualSizeButton = nullptr,
         CloseButton = nullptr;
    HWND Tooltips = nullptr;

  private:
    template <class Owner>
    friend LRESULT CALLBACK RouteToOwner(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    void CreateToolBar();
    void PlaceToolBar();
    void ToolButtonClicked(int id);
    void ShowSizeChosen();
    POINT PageAreaCentre() const;
    void PlaceAtDefaultSize();
    void Paint();
    void Zoom(bool actualSize, POINT anchor);
    void UpdateScrollBars();
    void Scroll(int bar, int request, int trackPosition = 0);
    void KeyDown(WPARAM key);
    void MouseWheel(WPARAM wParam, LPARAM lParam);
    int Margin() const;
    int ToolBarHeight() const;

    std::optional<ReportPage> Page;
    int Dpi = 96;
    bool ActualSize = false;
    // The scroll bars' positions at actual size: the first pixel of the page and its surround
    // that is shown at the top-left corner of the room below the tool bar.
    POINT Origin{};
    bool UpdatingScrollBars = false;
};
