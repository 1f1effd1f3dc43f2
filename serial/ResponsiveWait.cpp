#include "serial/ResponsiveWait.h"

#include <algorithm>

namespace {

// The system's own timers (caret blinks and the like), undeclared in the headers.
constexpr UINT SystemTimerMessage = 0x0118;

// Removes every waiting message in [First, Last] of the thread's windows, unhandled.
void DropMessages(UINT First, UINT Last) {
    MSG message;
    while (PeekMessageA(&message, nullptr, First, Last, PM_REMOVE | PM_NOYIELD))
        ;
}

void HandleWaitingWindowMessages() {
    DropMessages(WM_KEYFIRST, WM_KEYLAST);
    DropMessages(WM_MOUSEFIRST, WM_MOUSELAST);
    DropMessages(WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK);
    DropMessages(WM_TIMER, WM_TIMER);
    DropMessages(SystemTimerMessage, SystemTimerMessage);
    MSG message;
    while (PeekMessageA(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE))
        DispatchMessageA(&message);
}

} // namespace

bool WaitForThreadsResponsively(std::vector<HANDLE>& Threads, DWORD Deadline) {
    HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    for (;;) {
        HandleWaitingWindowMessages();
        // The removal of mouse input lets the system set the window's own cursor again.
        SetCursor(LoadCursorA(nullptr, IDC_WAIT));
        Threads.erase(std::remove_if(Threads.begin(), Threads.end(),
                                     [](HANDLE thread) {
                                         return WaitForSingleObject(thread, 0) == WAIT_OBJECT_0;
                                     }),
                      Threads.end());
        const DWORD left = static_cast<DWORD>(Deadline - GetTickCount());
        if (Threads.empty() || static_cast<LONG>(left) <= 0)
            break;
        // Posted messages do not wake the wait: they stay queued for the owner's loop.
        MsgWaitForMultipleObjects(static_cast<DWORD>(Threads.size()), Threads.data(), FALSE, left,
                                  QS_SENDMESSAGE | QS_PAINT | QS_INPUT | QS_TIMER);
    }
    SetCursor(previous);
    return Threads.empty();
}
