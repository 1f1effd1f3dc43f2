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
    return WaitForSingleObject(ThreadHandle, TimeoutMs) == WAIT_OBJECT_0;
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
