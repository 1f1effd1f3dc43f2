// The worker that keeps one read and one line-error wait pending on the port and posts every
// delivery and every line-error report to the component's window.
#pragma once
#include "serial/CommThread.h"

#include <string>

class TReadThread : public TCommThread {
  private:
    static constexpr DWORD ReadBufferSize = 2048;
    OVERLAPPED ReadRequest{};
    OVERLAPPED EventWaitRequest{};
    char ReadBuffer[ReadBufferSize];
    DWORD BytesRead = 0;
    DWORD EventMask = 0;
    bool ReadPending = false;
    bool EventWaitPending = false;

    void Execute() override;
    bool SetupReadEvent();
    bool HandleReadEvent();
    bool HandleReadData(DWORD Count);
    bool SetupCommEvent();
    bool HandleCommEvent(bool AfterOverlappedWait);
    bool PostReceivedData(DWORD Count, char* Block);
    void ShutDown();
};

// The report of a line-error event with the port's error flags, e.g.
// "Comm Event: CE_FRAME and CE_OVERRUN, EvtMask = 10".
std::string CommEventReport(DWORD ErrorFlags);
