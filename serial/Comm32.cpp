#include "serial/Comm32.h"

#include "serial/CommsLog.h"
#include "serial/ReadThread.h"
#include "serial/ResponsiveWait.h"
#include "serial/WriteThread.h"

#include <algorithm>
#include <cstring>

BOOL(WINAPI* PortCloseHandle)(HANDLE) = CloseHandle;

namespace {

constexpr DWORD ThreadStopTimeoutMs = 10000;
// Workers still running after the stop time-out have their I/O cancelled and the port closed
// under them; this is how long they then have to end before they are given up.
constexpr DWORD ThreadBreakTimeoutMs = 2000;
// A worker that fails while starting ends without its ready notice; the open gives up at the
// latest after this long.
constexpr DWORD ThreadReadyTimeoutMs = 10000;
const char* const NotifyWindowClass = "TComm32NotifyWindow";

void RegisterNotifyWindowClass(WNDPROC Procedure) {
    static bool registered = false;
    if (registered)
        return;
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = NotifyWindowClass;
    registered = RegisterClassA(&windowClass) != 0;
}

} // namespace

TComm32::TComm32() {
    SetCommsLogName("");
    RegisterNotifyWindowClass(NotifyWndProc);
    NotifyWindow = CreateWindowExA(0, NotifyWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                   GetModuleHandleA(nullptr), nullptr);
    SetWindowLongPtrA(NotifyWindow, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

TComm32::~TComm32() {
    // Deliveries still queued for the window would be lost with their blocks.
    MSG message;
    while (PeekMessageA(&message, NotifyWindow, WM_COMM_DATA, WM_COMM_DATA, PM_REMOVE))
        LocalFree(reinterpret_cast<HLOCAL>(message.lParam));
    DestroyWindow(NotifyWindow);
}

void TComm32::SetCommsLogFileName(const std::string& Name) {
    LogFileName = Name;
    SetCommsLogName(Name);
}

bool TComm32::OpenPort() {
    if (CommHandle)
        throw ECommsError("Already have a comm file open");
    if (!LogFileName.empty())
        OpenCommsLog(LogFileName);

    HANDLE handle = CreateFileA(CommPort.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        throw ECommsError("Error opening com port", error);
    }
    if (GetFileType(handle) != FILE_TYPE_CHAR) {
        CloseHandle(handle);
        throw ECommsError("File handle is not a comm handle. ");
    }
    CommHandle = handle;

    DCB settings{};
    settings.DCBlength = sizeof settings;
    GetCommState(CommHandle, &settings);
    COMMTIMEOUTS timeouts{};
    GetCommTimeouts(CommHandle, &timeouts);
    timeouts.ReadIntervalTimeout = RxTimeOut;
    timeouts.ReadTotalTimeoutMultiplier = 0;
    timeouts.ReadTotalTimeoutConstant = 0;
    timeouts.WriteTotalTimeoutMultiplier = 0;
    timeouts.WriteTotalTimeoutConstant = 0;
    SetCommTimeouts(CommHandle, &timeouts);
    settings.BaudRate = BaudRate;
    settings.ByteSize = ByteSize;
    settings.Parity = Parity;
    settings.StopBits = StopBits;
    SetCommState(CommHandle, &settings);

    CloseEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!CloseEvent) {
        LogLastError(GetLastError(), "Unable to CreateEvent: ");
        CloseHandle(CommHandle);
        CommHandle = nullptr;
        IsConnected = false;
        return false;
    }
    ReadThreadReady = false;
    WriteThreadReady = false;

    ReadThread = new TReadThread;
    if (!ReadThread->Create()) {
        LogLastError(GetLastError(), "Unable to create Read thread");
        delete ReadThread;
        ReadThread = nullptr;
        throw ECommsError("Unable to create Read thread");
    }
    StartThread(*ReadThread, THREAD_PRIORITY_HIGHEST);

    WriteThread = new TWriteThread;
    if (!WriteThread->Create()) {
        LogLastError(GetLastError(), "Unable to create Write thread");
        delete WriteThread;
        WriteThread = nullptr;
        throw ECommsError("Unable to create Write thread");
    }
    StartThread(*WriteThread, THREAD_PRIORITY_ABOVE_NORMAL);

    ++Waits;
    const bool ready = WaitForThreadsReady();
    WaitOver();
    if (!ready) {
        ClosePort();
        return false;
    }
    IsConnected = true;
    return true;
}

void TComm32::StartThread(TCommThread& Thread, int Priority) {
    Thread.CommHandle = CommHandle;
    Thread.CloseEvent = CloseEvent;
    Thread.NotifyWindow = NotifyWindow;
    Thread.Start(Priority);
}

// Keeps the main thread's messages flowing until both ready notices have been handled. Ends
// early when a worker ends without its notice, on WM_QUIT (put back for the owner's loop) or
// when a handler closed the port meanwhile.
bool TComm32::WaitForThreadsReady() {
    DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(message.wParam));
                return false;
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (!ReadThread || !WriteThread)
            return false;
        if (ReadThreadReady && WriteThreadReady)
            return true;
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= ThreadReadyTimeoutMs)
            return false;
        HANDLE threads[] = {ReadThread->Handle(), WriteThread->Handle()};
        DWORD result = MsgWaitForMultipleObjects(2, threads, FALSE, ThreadReadyTimeoutMs - elapsed,
                                                 QS_ALLINPUT);
        if (result == WAIT_OBJECT_0 || result == WAIT_OBJECT_0 + 1) {
            // A worker has ended: its notice, if it sent one, is already queued.
            while (PeekMessageA(&message, NotifyWindow, 0, 0, PM_REMOVE))
                DispatchMessageA(&message);
            return ReadThreadReady && WriteThreadReady;
        }
        if (result != WAIT_OBJECT_0 + 2)
            return false;
    }
}

void TComm32::WaitOver() {
    if (--Waits == 0 && OnWaitOver)
        OnWaitOver(this);
}

void TComm32::ClosePort() {
    IsConnected = false;
    // The close under way ends the workers and releases everything; a second one run from its
    // wait would do it under the first.
    if (!CommHandle || Closing)
        return;
    Closing = true;
    ++Waits;
    WriteCommsLog("Stopping the Comm");
    // Both workers are told at once and end their own I/O, so one deadline bounds the close
    // whichever of them is stuck; the main thread makes no call on the port before it waits.
    std::vector<HANDLE> running;
    if (ReadThread) {
        WriteCommsLog("Closing Read Thread ");
        running.push_back(ReadThread->Handle());
    }
    if (WriteThread) {
        WriteCommsLog("Closing Write Thread");
        running.push_back(WriteThread->Handle());
    }
    SetEvent(CloseEvent);
    bool portClosed = false;
    if (!WaitForThreadsResponsively(running, GetTickCount() + ThreadStopTimeoutMs)) {
        BreakStuckThreads(running);
        portClosed = true;
        WaitForThreadsResponsively(running, GetTickCount() + ThreadBreakTimeoutMs);
    }
    const bool workersEnded = running.empty();
    ReleaseWorker(ReadThread, running, "Read thread not exiting.  Terminating it.");
    ReleaseWorker(WriteThread, running, "Write thread not exiting.  Terminating it.");
    // A worker that was given up still tests the stop event.
    if (workersEnded)
        CloseHandle(CloseEvent);
    CloseEvent = nullptr;
    if (!portClosed)
        CloseHandle(CommHandle);
    CommHandle = nullptr;
    if (!LogFileName.empty())
        CloseCommsLog();
    Closing = false;
    WaitOver();
}

// Workers stuck in the system: cancel their I/O, then close the port, which also ends operations
// that ignore a cancel (a pending write under Wine). From then on they leave the port alone.
void TComm32::BreakStuckThreads(const std::vector<HANDLE>& Running) {
    for (TCommThread* worker :
         {static_cast<TCommThread*>(ReadThread), static_cast<TCommThread*>(WriteThread)}) {
        if (worker)
            worker->LetGoOfPort();
    }
    for (HANDLE thread : Running)
        CancelSynchronousIo(thread);
    CancelIoEx(CommHandle, nullptr);
    PortCloseHandle(CommHandle);
}

// Deletes a worker that has ended; one still running is given up and left allocated on purpose,
// since the thread may still run and use it.
template <class Thread>
void TComm32::ReleaseWorker(Thread*& Worker, const std::vector<HANDLE>& Running,
                            const char* NotExitingText) {
    if (!Worker)
        return;
    if (std::find(Running.begin(), Running.end(), Worker->Handle()) != Running.end()) {
        WriteCommsLog(NotExitingText);
        Worker->GiveUp();
    } else {
        delete Worker;
    }
    Worker = nullptr;
}

bool TComm32::QueueSend(const void* Data, uint16_t Length) {
    if (!WriteThread) {
        WriteCommsLog("Write thread not created");
        return false;
    }
    if (WriteThread->Ending) {
        // Refused as the system refuses a post to a thread that has ended.
        LogLastError(ERROR_INVALID_THREAD_ID, "Failed to Post to Write thread. ");
        return false;
    }
    char* block = static_cast<char*>(LocalAlloc(LPTR, Length + 1u));
    if (!block) {
        LogLastError(GetLastError(), "LocalAlloc: ");
        return false;
    }
    if (Length)
        std::memcpy(block, Data, Length);
    if (PostThreadMessageA(WriteThread->Id(), WM_COMM_DATA, Length,
                           reinterpret_cast<LPARAM>(block)))
        return true;
    LogLastError(GetLastError(), "Failed to Post to Write thread. ");
    LocalFree(block);
    return false;
}

LRESULT CALLBACK TComm32::NotifyWndProc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam) {
    auto* comm = reinterpret_cast<TComm32*>(GetWindowLongPtrA(Window, GWLP_USERDATA));
    switch (Message) {
    case WM_COMM_DATA: {
        // Released even when the handler throws.
        struct BlockOwner {
            HLOCAL Block;
            ~BlockOwner() { LocalFree(Block); }
        } owner{reinterpret_cast<HLOCAL>(LParam)};
        if (comm && comm->OnReceiveData)
            comm->OnReceiveData(owner.Block, LOWORD(WParam));
        return 0;
    }
    case WM_COMM_HANGUP:
        if (comm && comm->OnRequestHangup)
            comm->OnRequestHangup(comm);
        return 0;
    case WM_COMM_WRITE_ENDING:
        if (comm && comm->WriteThread && comm->WriteThread->Id() == WParam)
            comm->WriteThread->Ending = true;
        return 0;
    case WM_COMM_THREAD_READY:
        if (comm && WParam == ReadThreadMark)
            comm->ReadThreadReady = true;
        else if (comm)
            comm->WriteThreadReady = true;
        return 0;
    }
    return DefWindowProcA(Window, Message, WParam, LParam);
}
