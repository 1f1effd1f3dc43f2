#pragma once
// While a modal dialog is up, no other window of the program takes input: the dialog disables
// its owner, and this disables the program's other windows, as the system does for the owner.
// Timers, serial data and painting go on underneath.

#include <windows.h>

#include <vector>

// Disables the thread's visible top-level windows other than Owner (the dialog disables that one
// itself) from construction to destruction, when exactly the ones it disabled are enabled again.
// Scopes nest: a dialog opened over another leaves what the outer one disabled as it was, its
// owner included (Wine's message box enables its owner on closing, even one it found disabled).
class TModalScope {
  public:
    explicit TModalScope(HWND Owner);
    ~TModalScope();
    TModalScope(const TModalScope&) = delete;
    TModalScope& operator=(const TModalScope&) = delete;

  private:
    HWND Owner;
    bool OwnerWasEnabled;
    std::vector<HWND> Disabled;
    static BOOL CALLBACK DisableWindow(HWND Window, LPARAM Scope);
};
