// What the read and write threads share: the handles they are given before they start, their
// start and end, and the hang-up request.
#pragma once
#include <windows.h>

class TCommThread {
  public:
    // Set before Start, only read by the thread.
    HANDLE CommHandle = nullptr;
    HANDLE CloseEvent = nullptr;
    HWND NotifyWindow = nullptr;

    virtual ~TCommThread();
    TCommThread(const TCommThread&) = delete;
    TCommThread& operator=(const TCommThread&) = delete;

    // Creates the system thread suspended; false (with the last error) when it cannot.
    bool Create();
    void Start(int Priority);
    HANDLE Handle() const { return ThreadHandle; }
    DWORD Id() const { return ThreadId; }
    // True when the thread ended within TimeoutMs. Messages sent to the calling thread's windows
    // meanwhile are handled (the write thread reports its end that way); posted ones wait.
    bool WaitFor(DWORD TimeoutMs) const;

  protected:
    TCommThread() = default;
    virtual void Execute() = 0;
    bool CloseRequested() const;
    // Posts WM_COMM_HANGUP once: a failure seen by a step and again by its caller is one hang-up.
    void PostHangupRequest();

  private:
    HANDLE ThreadHandle = nullptr;
    DWORD ThreadId = 0;
    bool HangupPosted = false;
    static DWORD WINAPI ThreadProc(LPVOID Parameter);
};
