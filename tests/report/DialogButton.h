#pragma once
// Presses a button of the next dialog box the current thread shows, as a user would: the test
// finds the real dialog when it is activated and clicks the button through its window.

#include <windows.h>

class PressOnNextDialog {
  public:
    explicit PressOnNextDialog(int buttonId);
    PressOnNextDialog(const PressOnNextDialog&) = delete;
    PressOnNextDialog& operator=(const PressOnNextDialog&) = delete;
    ~PressOnNextDialog();
    bool Pressed() const;

  private:
    HHOOK hook_;
};
