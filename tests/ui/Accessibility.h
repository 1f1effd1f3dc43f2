#pragma once
// What an assistive tool reads of the windows: their accessible objects' names, and the events
// the windows announce.

#include <windows.h>

#include <oleacc.h>

#include <string>
#include <tuple>
#include <vector>

VARIANT Child(long id);
// A window's client object, as a screen reader asks for it; null when it gives none.
IAccessible* ClientObject(HWND window);
// A child's name; "(none)" when it has none.
std::string Name(IAccessible& object, long child);
// The same of a window's client object.
std::string ClientName(HWND window);
// A row of a table whose children are its rows, counted from 0.
IAccessible* Row(IAccessible& table, long row);

// The events of this process's windows from a given range, in the order they came, while it
// lives; for a client object's event, the name of the object it is about as it was when the event
// reached the hook.
class WinEventLog {
  public:
    WinEventLog(DWORD first, DWORD last);
    ~WinEventLog();
    WinEventLog(const WinEventLog&) = delete;
    WinEventLog& operator=(const WinEventLog&) = delete;

    struct Event {
        DWORD Kind;
        HWND Window;
        long Object, Child;
        std::string Name;
    };
    std::vector<Event> Events;
    // The events of one kind about a child of a window's client object.
    std::vector<Event> Of(DWORD kind, HWND window, long child) const;

  private:
    static void CALLBACK Note(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child,
                              DWORD, DWORD);
    HWINEVENTHOOK Hook = nullptr;
};
