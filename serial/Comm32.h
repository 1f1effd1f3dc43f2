// The serial port component: opens a COM port for overlapped input and output, sends queued
// buffers from its write thread and hands every delivery of its read thread to the owner on the
// main thread, through a hidden window.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "serial/CommMessages.h"

// The close of the port under stuck workers. Under Wine, closing a port does not always end a
// write it keeps pending, so a test puts a close here that does, as Windows' close does.
extern BOOL(WINAPI* PortCloseHandle)(HANDLE);

enum TParity : uint8_t { pNone, pOdd, pEven, pMark, pSpace };
enum TStopBits : uint8_t { sb1_0, sb1_5, sb2_0 };

class ECommsError : public std::runtime_error {
  public:
    // The system's error code where the system refused, 0 otherwise.
    explicit ECommsError(const std::string& what, DWORD systemError = 0)
        : std::runtime_error(what), SystemError(systemError) {}
    DWORD SystemError;
};

class TComm32;
class TCommThread;
class TReadThread;
class TWriteThread;

// Buffer holds BufferLength bytes and a zero byte; it is valid during the call only.
using TReceiveDataEvent = std::function<void(const void* Buffer, uint16_t BufferLength)>;
using TNotifyEvent = std::function<void(TComm32* Sender)>;

class TComm32 {
  public:
    TComm32();
    // Releases the window only: the owner calls ClosePort first.
    ~TComm32();
    TComm32(const TComm32&) = delete;
    TComm32& operator=(const TComm32&) = delete;

    // Read at the next OpenPort.
    uint8_t RxTimeOut = 100;
    uint32_t BaudRate = 9600;
    uint8_t ByteSize = 8;
    TParity Parity = pNone;
    TStopBits StopBits = sb1_0;
    std::string CommPort = "COM2";

    TReceiveDataEvent OnReceiveData;
    TNotifyEvent OnRequestHangup;
    // Called as the outermost wait of ClosePort or OpenPort ends, before either returns.
    TNotifyEvent OnWaitOver;

    const std::string& CommsLogFileName() const { return LogFileName; }
    // Also names the process-wide log; empty turns logging off.
    void SetCommsLogFileName(const std::string& Name);

    // Throws ECommsError (or the log file's error); false when the port opened but the
    // threads could not be started.
    bool OpenPort();
    // Does nothing when called again from a handler run during its own wait.
    void ClosePort();
    bool QueueSend(const void* Data, uint16_t Length);
    bool Connected() const { return IsConnected; }
    // True while ClosePort or OpenPort waits for the workers: the thread's sent messages are
    // handled meanwhile, and whatever they ask that would close or open the port has to wait
    // until OnWaitOver.
    bool Waiting() const { return Waits > 0; }

  private:
    TReadThread* ReadThread = nullptr;
    TWriteThread* WriteThread = nullptr;
    bool WriteThreadReady = false;
    bool ReadThreadReady = false;
    std::string LogFileName;
    HANDLE CommHandle = nullptr;
    HANDLE CloseEvent = nullptr;
    HWND NotifyWindow = nullptr;
    bool IsConnected = false;
    bool Closing = false;
    int Waits = 0;

    void WaitOver();
    void StartThread(TCommThread& Thread, int Priority);
    bool WaitForThreadsReady();
    void BreakStuckThreads(const std::vector<HANDLE>& Running);
    template <class Thread>
    void ReleaseWorker(Thread*& Worker, const std::vector<HANDLE>& Running,
                       const char* NotExitingText);
    static LRESULT CALLBACK NotifyWndProc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam);
};
