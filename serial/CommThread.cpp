#include "serial/CommThread.h"

#include "serial/CommMessages.h"
#include "serial/CommsLog.h"

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

bool TCommThread::CloseRequested() const {
    return WaitForSingleObject(CloseEvent, 0) == WAIT_OBJECT_0;
}

void TCommThread::PostHangupRequest() {
    if (HangupPosted)
        return;
    HangupPosted = true;
    PostToOwner(WM_COMM_HANGUP, 0, 0);
}

bool TCommThread::PostToOwner(UINT Message, WPARAM WParam, LPARAM LParam) const {
    return !GivenUp && PostMessageA(NotifyWindow, Message, WParam, LParam);
}

void TCommThread::SendToOwner(UINT Message, WPARAM WParam, LPARAM LParam) const {
    if (!GivenUp)
        SendMessageA(NotifyWindow, Message, WParam, LParam);
}

DWORD WINAPI TCommThread::ThreadProc(LPVOID Parameter) {
    auto* thread = static_cast<TCommThread*>(Parameter);
    SilenceCommsLogOfThisThreadWhen(thread->GivenUp);
    thread->Execute();
    return 0;
}
