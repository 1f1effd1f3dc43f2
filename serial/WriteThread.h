// The worker that takes send requests from its message queue and writes each one completely,
// in queue order.
#pragma once
#include "serial/CommThread.h"

// The write call of the write thread. Under Wine a write to a serial port never completes at
// once with fewer bytes than asked, as a faulty driver's can, so tests put such a driver here.
extern BOOL(WINAPI* PortWriteFile)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED);

class TWriteThread : public TCommThread {
  public:
    // Set on the main thread when the thread reports its end; QueueSend then posts no more.
    bool Ending = false;

  private:
    OVERLAPPED WriteRequest{};

    void Execute() override;
    bool WriteData(const char* Block, DWORD Count);
    void AbortPendingWrite();
    void ShutDown();
};
