#pragma once
// The print preview: the report page exactly as Print composes it, in a window of its own that
// the main window owns. The page is shown whole, scaled to the window, or at actual size (one
// pixel of the 150-dpi form to one screen pixel) with scroll bars. Escape closes it, Ctrl+P
// prints the page shown, + and - (or Ctrl and the mouse wheel) switch between the two sizes.

#include "report/TestReport.h"

#include <windows.h>

#include <optional>

class TPrintPreview {
  public:
    explicit TPrintPreview(HWND owner);
    ~TPrintPreview();
    TPrintPreview(const TPrintPreview&) = delete;
    TPrintPreview& operator=(const TPrintPreview&) = delete;

    // Shows the page fitted to the window and brings the window forward; a page shown before is
    // let go. The window takes its default size when it is first shown.
    void Show(ReportPage page);
    // Closing the window lets its page go.
    bool IsOpen() const { return Handle != nullptr; }
    bool AtActualSize() const { return ActualSize; }
    // Where the page is drawn, in client coordinates.
    RECT PageRect() const;

    // Ctrl+P: the print dialog, then the page shown is printed as Print prints it.
    void PrintPage();

    HWND Handle = nullptr;

  private:
    template <class Owner>
    friend LRESULT CALLBACK RouteToOwner(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    void PlaceAtDefaultSize();
    void Paint();
    void Zoom(bool actualSize, POINT anchor);
    void UpdateScrollBars();
    void Scroll(int bar, int request, int trackPosition = 0);
    void KeyDown(WPARAM key);
    void MouseWheel(WPARAM wParam, LPARAM lParam);
    int Margin() const;

    std::optional<ReportPage> Page;
    int Dpi = 96;
    bool ActualSize = false;
    // The scroll bars' positions at actual size: the first pixel of the page and its surround
    // that is shown at the client area's top-left corner.
    POINT Origin{};
    bool UpdatingScrollBars = false;
};
