#include "MessagePump.h"

#include "ui/main_window/Application.h"

bool PumpUntil(const std::function<bool()>& done, DWORD limitMs) {
    const DWORD start = GetTickCount();
    while (!done()) {
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= limitMs)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, limitMs - elapsed, QS_ALLINPUT);
        ProcessMessages();
    }
    return true;
}
