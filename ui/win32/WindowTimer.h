#pragma once
// A window-message timer: its ticks arrive as WM_TIMER with its id at the owner window.

#include <windows.h>

class TTimer {
  public:
    // Created running, as the design's timers are.
    void Create(HWND owner, UINT id, UINT interval);
    void SetEnabled(bool enabled);
    bool Enabled() const { return IsEnabled; }
    UINT Id() const { return TimerId; }
    UINT Interval = 0;

  private:
    HWND Owner = nullptr;
    UINT TimerId = 0;
    bool IsEnabled = false;
};
