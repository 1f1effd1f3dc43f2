#include "ui/win32/WindowTimer.h"

void TTimer::Create(HWND owner, UINT id, UINT interval) {
    Owner = owner;
    TimerId = id;
    Interval = interval;
    SetEnabled(true);
}

void TTimer::SetEnabled(bool enabled) {
    if (enabled)
        SetTimer(Owner, TimerId, Interval, nullptr);
    else
        KillTimer(Owner, TimerId);
    IsEnabled = enabled;
}
