#pragma once
// Drives the next dialog box the current thread shows, as a user would: the test finds the real
// dialog when it is activated, may act on its controls first, then clicks one of its buttons.

#include <windows.h>

#include <functional>
#include <string>

class PressOnNextDialog {
  public:
    explicit PressOnNextDialog(int buttonId, std::function<void(HWND dialog)> first = {});
    PressOnNextDialog(const PressOnNextDialog&) = delete;
    PressOnNextDialog& operator=(const PressOnNextDialog&) = delete;
    ~PressOnNextDialog();
    bool Pressed() const;

  private:
    HHOOK hook_;
};

// The printer a print dialog shows selected, and choosing one there (as picking it in the list).
std::string SelectedPrinter(HWND dialog);
void SelectPrinter(HWND dialog, const std::string& name);
