#include "serial/ReadThread.h"

#include "serial/CommMessages.h"
#include "serial/CommsLog.h"

#include <cstring>

std::string CommEventReport(DWORD ErrorFlags) {
    std::string description;
    auto add = [&](const char* item) {
        if (!description.empty())
            description += " and ";
        description += item;
    };
    if (ErrorFlags == 0)
        add("NULL Error");
    if (ErrorFlags & CE_FRAME)
        add("CE_FRAME");
    if (ErrorFlags & CE_OVERRUN)
        add("CE_OVERRUN");
    if (ErrorFlags & CE_RXPARITY)
        add("CE_RXPARITY");
    if (ErrorFlags & ~DWORD(CE_FRAME | CE_OVERRUN | CE_RXPARITY))
        add("EV_ERR Unknown EvtMask");
    return "Comm Event: " + description + ", EvtMask = " + std::to_string(ErrorFlags);
}

void TReadThread::Execute() {
    ReadRequest.hEvent = CreateEventA(nullptr, TRUE, TRUE, nullptr);
    if (ReadRequest.hEvent)
        EventWaitRequest.hEvent = CreateEventA(nullptr, TRUE, TRUE, nullptr);
    if (!ReadRequest.hEvent || !EventWaitRequest.hEvent) {
        LogLastError(GetLastError(), "Unable to CreateEvent: ");
        PostHangupRequest();
        return ShutDown();
    }
    // Line errors are the only event watched; arriving bytes complete the pending read.
    if (!SetCommMask(Port(), EV_ERR)) {
        LogLastError(GetLastError(), "Unable to SetCommMask: ");
        PostHangupRequest();
        return ShutDown();
    }
    if (!SetupCommEvent()) {
        LogLastError(GetLastError(), "Unable to SetupCommEvent1: ");
        PostHangupRequest();
        return ShutDown();
    }
    if (!SetupReadEvent()) {
        LogLastError(GetLastError(), "Unable to SetupReadEvent: ");
        PostHangupRequest();
        return ShutDown();
    }
    PostToOwner(WM_COMM_THREAD_READY, ReadThreadMark, 0);

    HANDLE waitList[] = {CloseEvent, EventWaitRequest.hEvent, ReadRequest.hEvent};
    for (;;) {
        DWORD result = WaitForMultipleObjects(3, waitList, FALSE, INFINITE);
        if (result == WAIT_OBJECT_0) {
            OutputDebugStringA("Time to Exit");
            break;
        }
        if (result == WAIT_OBJECT_0 + 1) {
            EventWaitPending = false;
            if (!HandleCommEvent(true)) {
                DWORD error = GetLastError();
                PostHangupRequest();
                LogLastError(error, "Unable HandleCommEvent: ");
                break;
            }
            if (!SetupCommEvent()) {
                DWORD error = GetLastError();
                PostHangupRequest();
                LogLastError(error, "Unable to SetupCommEvent2: ");
                break;
            }
        } else if (result == WAIT_OBJECT_0 + 2) {
            ReadPending = false;
            if (!HandleReadEvent()) {
                DWORD error = GetLastError();
                PostHangupRequest();
                LogLastError(error, "Unable to HandleReadEvent: ");
                break;
            }
            if (!SetupReadEvent()) {
                PostHangupRequest();
                break;
            }
        } else if (result == WAIT_FAILED) {
            LogLastError(GetLastError(), "Read WAIT_FAILED: ");
            PostHangupRequest();
            break;
        } else {
            WriteCommsLog("Unexpected Wait return value " + std::to_string(result));
            PostHangupRequest();
            break;
        }
    }
    ShutDown();
}

void TReadThread::ShutDown() {
    WriteCommsLog("Read thread shutting down");
    PurgeComm(Port(), PURGE_RXABORT | PURGE_RXCLEAR);
    // The buffer and the events must outlive the operations that use them: end what is still
    // pending (a zero mask ends an event wait) and wait until the system has let go.
    DWORD ignored;
    if (EventWaitPending) {
        SetCommMask(Port(), 0);
        GetOverlappedResult(Port(), &EventWaitRequest, &ignored, TRUE);
    }
    if (ReadPending) {
        CancelIo(Port());
        GetOverlappedResult(Port(), &ReadRequest, &ignored, TRUE);
    }
    if (ReadRequest.hEvent)
        CloseHandle(ReadRequest.hEvent);
    if (EventWaitRequest.hEvent)
        CloseHandle(EventWaitRequest.hEvent);
}

bool TReadThread::SetupReadEvent() {
    for (;;) {
        if (CloseRequested())
            return false;
        DWORD count = 0;
        if (ReadFile(Port(), ReadBuffer, ReadBufferSize, &count, &ReadRequest)) {
            WriteCommsLog("Data waiting for ReadFile: ");
            if (!HandleReadData(count))
                return false;
            continue;
        }
        DWORD error = GetLastError();
        if (error == ERROR_IO_PENDING) {
            ReadPending = true;
            WriteCommsLog("Waiting for data from comm connection.");
            return true;
        }
        if (error == ERROR_INVALID_HANDLE) {
            WriteCommsLog(InvalidHandleText);
            return false;
        }
        LogLastError(error, "Unexpected ReadFile error: ");
        PostHangupRequest();
        return false;
    }
}

bool TReadThread::HandleReadEvent() {
    if (GetOverlappedResult(Port(), &ReadRequest, &BytesRead, FALSE))
        return HandleReadData(BytesRead);
    DWORD error = GetLastError();
    if (error == ERROR_INVALID_HANDLE) {
        WriteCommsLog(InvalidHandleText);
        return false;
    }
    LogLastError(error, "Unexpected GetOverlappedResult Read Error: ");
    PostHangupRequest();
    return false;
}

bool TReadThread::HandleReadData(DWORD Count) {
    // Under the port's time-outs only an aborted read completes empty.
    if (Count == 0)
        return false;
    WriteCommsLog("Got something from Comm port!!!");
    char* block = static_cast<char*>(LocalAlloc(LPTR, Count + 1));
    if (!block) {
        LogLastError(GetLastError(), "LocalAlloc: ");
        return false;
    }
    std::memcpy(block, ReadBuffer, Count);
    return PostReceivedData(Count, block);
}

bool TReadThread::SetupCommEvent() {
    for (;;) {
        if (CloseRequested())
            return false;
        if (WaitCommEvent(Port(), &EventMask, &EventWaitRequest)) {
            WriteCommsLog("Event (Error) waiting before WaitCommEvent.");
            if (!HandleCommEvent(false))
                return false;
            continue;
        }
        DWORD error = GetLastError();
        if (error == ERROR_IO_PENDING) {
            EventWaitPending = true;
            WriteCommsLog("Waiting for a CommEvent (Error) to occur.");
            return true;
        }
        if (error == ERROR_INVALID_HANDLE)
            WriteCommsLog(InvalidHandleText);
        else
            LogLastError(error, "Unexpected WaitCommEvent error: ");
        return false;
    }
}

bool TReadThread::HandleCommEvent(bool AfterOverlappedWait) {
    constexpr size_t ReportSize = 256;
    char* report = static_cast<char*>(LocalAlloc(LPTR, ReportSize));
    if (!report) {
        LogLastError(GetLastError(), "LocalAlloc: ");
        return false;
    }
    DWORD ignored;
    if (AfterOverlappedWait && !GetOverlappedResult(Port(), &EventWaitRequest, &ignored, FALSE)) {
        DWORD error = GetLastError();
        if (error == ERROR_INVALID_HANDLE)
            WriteCommsLog(InvalidHandleText);
        else
            LogLastError(error, "Unexpected GetOverlappedResult for WaitCommEvent: ");
        LocalFree(report);
        SetLastError(error);
        return false;
    }
    if (!(EventMask & EV_ERR)) {
        WriteCommsLog("Unexpected comm event " + std::to_string(EventMask));
        LocalFree(report);
        return false;
    }
    DWORD errorFlags = 0;
    if (!ClearCommError(Port(), &errorFlags, nullptr)) {
        DWORD error = GetLastError();
        if (error == ERROR_INVALID_HANDLE)
            WriteCommsLog(InvalidHandleText);
        else
            LogLastError(error, "ClearCommError: ");
        LocalFree(report);
        SetLastError(error);
        return false;
    }
    std::string text = CommEventReport(errorFlags);
    std::strncpy(report, text.c_str(), ReportSize - 1);
    PostReceivedData(static_cast<DWORD>(std::strlen(report)), report);
    return true;
}

bool TReadThread::PostReceivedData(DWORD Count, char* Block) {
    if (PostToOwner(WM_COMM_DATA, Count, reinterpret_cast<LPARAM>(Block)))
        return true;
    LocalFree(Block);
    return false;
}
