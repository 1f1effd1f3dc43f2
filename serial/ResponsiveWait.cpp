#include "serial/ResponsiveWait.h"

#include <algorithm>
#include <optional>

namespace {

// The system's own timers (caret blinks and the like), undeclared in the headers.
constexpr UINT SystemTimerMessage = 0x0118;

// A quit comes out of the queue whatever range is asked for; its exit code is kept in Quit.
bool TakeMessage(MSG& Message, UINT First, UINT Last, std::optional<WPARAM>& Quit) {
    while (PeekMessageA(&Message, nullptr, First, Last, PM_REMOVE | PM_NOYIELD)) {
        if (Message.message != WM_QUIT)
            return true;
        Quit = Message.wParam;
    }
    return false;
}

// Removes every waiting message in [First, Last] of the thread's windows, unhandled.
void DropMessages(UINT First, UINT Last, std::optional<WPARAM>& Quit) {
    MSG message;
    while (TakeMessage(message, First, Last, Quit))
        ;
}

void HandleWaitingWindowMessages(std::optional<WPARAM>& Quit) {
    DropMessages(WM_KEYFIRST, WM_KEYLAST, Quit);
    DropMessages(WM_MOUSEFIRST, WM_MOUSELAST, Quit);
    DropMessages(WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK, Quit);
    DropMessages(WM_TIMER, WM_TIMER, Quit);
    DropMessages(SystemTimerMessage, SystemTimerMessage, Quit);
    MSG message;
    while (TakeMessage(message, WM_PAINT, WM_PAINT, Quit))
        DispatchMessageA(&message);
}

} // namespace

bool WaitForThreadsResponsively(std::vector<HANDLE>& Threads, DWORD Deadline) {
    HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    std::optional<WPARAM> quit;
    for (;;) {
        HandleWaitingWindowMessages(quit);
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
    // Posted only now: during the wait it would be taken out again at once.
    if (quit)
        PostQuitMessage(static_cast<int>(*quit));
    return Threads.empty();
}
