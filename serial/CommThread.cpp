#include "serial/CommThread.h"

#include "serial/CommMessages.h"

TCommThread::~TCommThread() {
    if (ThreadHandle)
        CloseHandle(ThreadHandle);
}

bool TCommThread::Create() {
    ThreadHandle = CreateThread(nullptr, 0, ThreadProc, this, CREATE_SUSPENDED, &ThreadId);
    return ThreadHandle != nullptr;
}

void TCommThread::Start(int Priority) {
    ResumeThread(ThreadHandle);
    SetThreadPriority(ThreadHandle, Priority);
}

bool TCommThread::WaitFor(DWORD TimeoutMs) const {
    DWORD start = GetTickCount();
    for (;;) {
        DWORD elapsed = GetTickCount() - start;
        DWORD left = elapsed < TimeoutMs ? TimeoutMs - elapsed : 0;
        DWORD result = MsgWaitForMultipleObjects(1, &ThreadHandle, FALSE, left, QS_SENDMESSAGE);
        if (result == WAIT_OBJECT_0)
            return true;
        if (result != WAIT_OBJECT_0 + 1)
            return false;
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

bool TCommThread::CloseRequested() const {
    return WaitForSingleObject(CloseEvent, 0) == WAIT_OBJECT_0;
}

void TCommThread::PostHangupRequest() {
    if (HangupPosted)
        return;
    HangupPosted = true;
    PostMessageA(NotifyWindow, WM_COMM_HANGUP, 0, 0);
}

DWORD WINAPI TCommThread::ThreadProc(LPVOID Parameter) {
    static_cast<TCommThread*>(Parameter)->Execute();
    return 0;
}
