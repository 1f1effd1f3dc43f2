// What the read and write threads share: the handles they are given before they start, their
// start and end, the hang-up request, and what they may still touch once the owner has closed
// the port under them or given them up.
#pragma once
#include <windows.h>

#include <atomic>

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

    // Told by the owner before it closes the port under the running thread: the next open may
    // get the same handle value, so the thread makes no call on the port from then on.
    void LetGoOfPort() { PortGone = true; }
    // Told by the owner as it gives the thread up: whatever the thread does when it wakes at last
    // reaches neither the owner's window nor the log, which belong to the next session by then.
    void GiveUp() { GivenUp = true; }

  protected:
    TCommThread() = default;
    virtual void Execute() = 0;
    // The port, or no handle once the owner has closed it under the thread.
    HANDLE Port() const { return PortGone ? nullptr : CommHandle; }
    bool CloseRequested() const;
    // Posts WM_COMM_HANGUP once: a failure seen by a step and again by its caller is one hang-up.
    void PostHangupRequest();
    // Post and send to the owner's window, unless the thread has been given up.
    bool PostToOwner(UINT Message, WPARAM WParam, LPARAM LParam) const;
    void SendToOwner(UINT Message, WPARAM WParam, LPARAM LParam) const;

  private:
    HANDLE ThreadHandle = nullptr;
    DWORD ThreadId = 0;
    bool HangupPosted = false;
    std::atomic<bool> PortGone{false};
    std::atomic<bool> GivenUp{false};
    static DWORD WINAPI ThreadProc(LPVOID Parameter);
};
