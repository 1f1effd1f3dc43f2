// The worker that takes send requests from its message queue and writes each one completely,
// in queue order.
#pragma once
#include "serial/CommThread.h"

class TWriteThread : public TCommThread {
  private:
    OVERLAPPED WriteRequest{};

    void Execute() override;
    bool WriteData(const char* Block, DWORD Count);
    void AbortPendingWrite();
    void ShutDown();
};
