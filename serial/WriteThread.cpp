#include "serial/WriteThread.h"

#include "serial/CommMessages.h"
#include "serial/CommsLog.h"

#include <string>

BOOL(WINAPI* PortWriteFile)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED) = WriteFile;

// Any posted message, input or sent message wakes the idle thread.
constexpr DWORD AnyMessage = 0xFF;

void TWriteThread::Execute() {
    WriteRequest.hEvent = CreateEventA(nullptr, TRUE, TRUE, nullptr);
    if (!WriteRequest.hEvent) {
        LogLastError(GetLastError(), "Unable to CreateEvent: ");
        PostHangupRequest();
        return ShutDown();
    }
    // The message queue must exist before the ready notice, or the first request is lost.
    MSG message;
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
    PostToOwner(WM_COMM_THREAD_READY, WriteThreadMark, 0);

    for (;;) {
        if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            bool sendRequest = message.hwnd == nullptr && message.message == WM_COMM_DATA;
            if (CloseRequested()) {
                if (sendRequest)
                    LocalFree(reinterpret_cast<HLOCAL>(message.lParam));
                break;
            }
            if (message.hwnd) {
                TranslateMessage(&message);
                DispatchMessageA(&message);
            } else if (sendRequest) {
                WriteCommsLog("Writing to comm port");
                const char* block = reinterpret_cast<const char*>(message.lParam);
                bool written = WriteData(block, static_cast<DWORD>(message.wParam));
                LocalFree(reinterpret_cast<HLOCAL>(message.lParam));
                if (!written)
                    break;
            } else {
                WriteCommsLog("Unexpected message posted to Write thread: " +
                              std::to_string(message.message));
            }
            continue;
        }
        DWORD result = MsgWaitForMultipleObjects(1, &CloseEvent, FALSE, INFINITE, AnyMessage);
        if (result == WAIT_OBJECT_0)
            break;
        if (result == WAIT_OBJECT_0 + 1)
            continue;
        if (result == WAIT_FAILED)
            LogLastError(GetLastError(), "Write WAIT_FAILED: ");
        else
            WriteCommsLog("Unexpected Wait return value " + std::to_string(result));
        PostHangupRequest();
        break;
    }
    ShutDown();
}

void TWriteThread::ShutDown() {
    WriteCommsLog("Write thread shutting down");
    PurgeComm(Port(), PURGE_TXABORT | PURGE_TXCLEAR);
    if (WriteRequest.hEvent)
        CloseHandle(WriteRequest.hEvent);
    // Requests still queued are not written; their blocks are released here, after the owner
    // has stopped posting.
    SendToOwner(WM_COMM_WRITE_ENDING, GetCurrentThreadId(), 0);
    MSG message;
    while (
        PeekMessageA(&message, reinterpret_cast<HWND>(-1), WM_COMM_DATA, WM_COMM_DATA, PM_REMOVE))
        LocalFree(reinterpret_cast<HLOCAL>(message.lParam));
}

bool TWriteThread::WriteData(const char* Block, DWORD Count) {
    HANDLE waitList[] = {CloseEvent, WriteRequest.hEvent};
    DWORD offset = 0;
    DWORD remaining = Count;
    while (remaining > 0) {
        // A driver that keeps reporting success without taking a byte must not hold the close.
        if (CloseRequested())
            return false;
        DWORD written = 0;
        if (!PortWriteFile(Port(), Block + offset, remaining, &written, &WriteRequest)) {
            DWORD error = GetLastError();
            if (error == ERROR_INVALID_HANDLE) {
                WriteCommsLog(InvalidHandleText);
                return false;
            }
            if (error != ERROR_IO_PENDING) {
                LogLastError(error, "Error to writing to CommFile");
                WriteCommsLog("Closing TAPI");
                PostHangupRequest();
                return false;
            }
            DWORD result = WaitForMultipleObjects(2, waitList, FALSE, INFINITE);
            if (result == WAIT_OBJECT_0) {
                AbortPendingWrite();
                return false;
            }
            if (result == WAIT_FAILED) {
                LogLastError(GetLastError(), "Write WAIT_FAILED: ");
                PostHangupRequest();
                return false;
            }
            if (result != WAIT_OBJECT_0 + 1) {
                WriteCommsLog("Unexpected Wait return value " + std::to_string(result));
                PostHangupRequest();
                return false;
            }
            if (!GetOverlappedResult(Port(), &WriteRequest, &written, TRUE)) {
                error = GetLastError();
                if (error == ERROR_INVALID_HANDLE) {
                    WriteCommsLog(InvalidHandleText);
                    return false;
                }
                LogLastError(error, "Error writing to CommFile while waiting");
                WriteCommsLog("Closing TAPI");
                PostHangupRequest();
                return false;
            }
        }
        remaining -= written;
        offset += written;
    }
    return true;
}

// The system may read from the block until the write has really ended: abort it, then wait for
// its end before the caller releases the block.
void TWriteThread::AbortPendingWrite() {
    PurgeComm(Port(), PURGE_TXABORT | PURGE_TXCLEAR);
    CancelIo(Port());
    DWORD ignored;
    GetOverlappedResult(Port(), &WriteRequest, &ignored, TRUE);
}
