// The serial component under Wine, against the virtual meter on a real pseudo-terminal (COM5).
#include "CommSession.h"
#include "StreamPattern.h"
#include "serial/CommsLog.h"
#include "serial/ReadThread.h"
#include "serial/WriteThread.h"

#include <gtest/gtest.h>

#include <tlhelp32.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <functional>
#include <memory>
#include <thread>

namespace {

const std::string IdRequest = "\x02V?\r";
const std::string IdReply = "\x02V?KAVRA TINTRA VIRTUAL 1.0\r";

std::string OpenError(TComm32& Comm) {
    try {
        Comm.OpenPort();
    } catch (const ECommsError& error) {
        return error.what();
    }
    return "no error";
}

// The port is free and a new session's request and reply go through.
void ExpectAFreshSessionToReachTheMeter() {
    CommSession again;
    again.Open();
    again.Send(IdRequest);
    EXPECT_TRUE(again.PumpUntilReceived(IdReply.size()));
    again.Comm.ClosePort();
}

TEST(Comm32, NewComponentHasTheLineDefaultsAndIsClosed) {
    TComm32 comm;
    EXPECT_EQ(comm.CommPort, "COM2");
    EXPECT_EQ(comm.BaudRate, 9600u);
    EXPECT_EQ(comm.ByteSize, 8);
    EXPECT_EQ(comm.Parity, pNone);
    EXPECT_EQ(comm.StopBits, sb1_0);
    EXPECT_EQ(comm.RxTimeOut, 100);
    EXPECT_EQ(comm.CommsLogFileName(), "");
    EXPECT_FALSE(comm.Connected());
    comm.ClosePort();
    EXPECT_FALSE(comm.Connected());
}

TEST(Comm32, QueueSendBeforeAnyOpenIsRefusedAndLogged) {
    // An open that fails after creating the log leaves the log open to catch the refusal.
    std::string log = RigFile("refused-send.log");
    TComm32 comm;
    comm.SetCommsLogFileName(log);
    comm.CommPort = "COM9";
    EXPECT_EQ(OpenError(comm), "Error opening com port");
    EXPECT_FALSE(comm.QueueSend("x", 1));
    CloseCommsLog();
    EXPECT_EQ(ReadLines(log), std::vector<std::string>{"Write thread not created"});
}

TEST(Comm32, PortsThatCannotBeOpenedAreRefused) {
    struct Case {
        std::string Port;
        std::string Error;
    };
    std::string diskFile = RigFile("not-a-port.txt");
    std::FILE* file = std::fopen(diskFile.c_str(), "w");
    ASSERT_TRUE(file);
    std::fclose(file);
    for (const Case& c :
         {Case{"COM9", "Error opening com port"}, Case{"NOSUCHPORT", "Error opening com port"},
          // Wine's default mapping to the machine's own first port (its console), which the
          // test rig keeps out of reach
          Case{"COM1", "Error opening com port"},
          Case{diskFile, "File handle is not a comm handle. "}}) {
        SCOPED_TRACE(c.Port);
        TComm32 comm;
        comm.CommPort = c.Port;
        EXPECT_EQ(OpenError(comm), c.Error);
        EXPECT_FALSE(comm.Connected());
        EXPECT_FALSE(comm.QueueSend("x", 1));
    }
    // No handle was left open on the refused file.
    EXPECT_TRUE(DeleteFileA(diskFile.c_str()));
}

TEST(Comm32, SecondOpenAndOpenOfAPortInUseFailButKeepTheFirstConnection) {
    CommSession first;
    first.Open();
    ASSERT_TRUE(first.Comm.Connected());
    EXPECT_EQ(OpenError(first.Comm), "Already have a comm file open");

    TComm32 second;
    second.CommPort = "COM5";
    EXPECT_EQ(OpenError(second), "Error opening com port");
    second.ClosePort();

    first.Send(IdRequest);
    ASSERT_TRUE(first.PumpUntilReceived(IdReply.size()));
    EXPECT_EQ(first.Received(), IdReply);
    EXPECT_TRUE(first.Comm.Connected());
    first.Comm.ClosePort();
    EXPECT_FALSE(first.Comm.Connected());
}

TEST(Comm32, RequestsLeaveInQueueOrderAndAnEmptyOneIsAccepted) {
    CommSession session;
    session.Open();
    EXPECT_TRUE(session.Comm.QueueSend("", 0));
    session.Send("one\r");
    session.Send("two\r");
    session.Send("three\r");
    session.Send("!dump\r");
    std::string expected = "one\rtwo\rthree\r";
    ASSERT_TRUE(session.PumpUntilReceived(expected.size()));
    EXPECT_EQ(session.Received(), expected);
    session.Comm.ClosePort();
}

TEST(Comm32, A3000ByteBurstArrivesAs2048ThenThe952Rest) {
    CommSession session;
    session.Open();
    session.Send("!stream 3000\r");
    ASSERT_TRUE(session.PumpUntilReceived(3000));
    session.Comm.ClosePort();
    ASSERT_EQ(session.Deliveries.size(), 2u);
    EXPECT_EQ(session.Deliveries[0].size(), 2048u);
    EXPECT_EQ(session.Deliveries[1].size(), 952u);
    StreamPattern pattern;
    std::string received = session.Received();
    for (size_t i = 0; i < received.size(); ++i)
        ASSERT_EQ(static_cast<uint8_t>(received[i]), pattern.Next()) << "byte " << i;
    EXPECT_TRUE(session.EveryDeliveryZeroTerminated);
}

TEST(Comm32, DeliveriesFollowThePausesOnTheLine) {
    struct Case {
        const char* Cue;
        std::vector<std::string> Deliveries;
    };
    const std::string half = IdReply.substr(0, IdReply.size() / 2);
    for (const Case& c :
         {Case{"!split 300\r", {half, IdReply.substr(half.size())}},
          Case{"!double 1\r", {IdReply + IdReply}}, Case{"!delay 200\r", {IdReply}}}) {
        SCOPED_TRACE(c.Cue);
        CommSession session;
        session.Open();
        session.Send(c.Cue);
        session.Send(IdRequest);
        size_t total = 0;
        for (const std::string& delivery : c.Deliveries)
            total += delivery.size();
        ASSERT_TRUE(session.PumpUntilReceived(total));
        session.Comm.ClosePort();
        EXPECT_EQ(session.Deliveries, c.Deliveries);
        EXPECT_TRUE(session.EveryDeliveryZeroTerminated);
    }
}

TEST(Comm32, AHungUpLineEndsTheReadThreadWithOneHangupRequest) {
    CommSession session;
    std::string log = session.OpenLogged("hangup.log");
    session.Send("!hangup\r");
    ASSERT_TRUE(session.PumpUntil([&] { return session.Hangups > 0; }));
    // Nothing spins: a further look at the queue brings no second request.
    session.PumpFor(300);
    EXPECT_EQ(session.Hangups, 1);
    EXPECT_TRUE(session.Comm.Connected());
    session.Comm.ClosePort();
    EXPECT_FALSE(session.Comm.Connected());
    auto lines = ReadLines(log);
    size_t readFailure =
        LineStartingWith(lines, "Unexpected GetOverlappedResult Read Error: GetLastError");
    size_t threadFailure = LineStartingWith(lines, "Unable to HandleReadEvent: GetLastError");
    EXPECT_LT(readFailure, threadFailure);
    EXPECT_LT(threadFailure, LineStartingWith(lines, "Read thread shutting down"));
    EXPECT_LT(LineStartingWith(lines, "Read thread shutting down"), lines.size());
    // The next open reaches the meter's fresh line.
    ExpectAFreshSessionToReachTheMeter();
}

TEST(Comm32, ClosingWhileAWriteIsPendingDropsTheQueueWithoutHangup) {
    CommSession session;
    // Under Wine the read interval timer can fail the idle read (ERROR_SEM_TIMEOUT) while a write
    // is stuck on the same pty; without an interval the read simply waits, as on Windows.
    session.Comm.RxTimeOut = 0;
    session.Open();
    // The meter stops reading, so the pty fills and a write stays pending.
    session.Send("!deaf 1500\r");
    const std::string block(60000, 'x');
    for (int i = 0; i < 4; ++i)
        session.Send(block);
    session.PumpFor(300);
    session.Comm.ClosePort();
    session.PumpFor(200);
    EXPECT_EQ(session.Hangups, 0);

    CommSession again;
    again.Comm.OpenPort();
    again.Send("\r!count\r");
    ASSERT_TRUE(
        again.PumpUntil([&] { return again.Received().find('\r') != std::string::npos; }, 10000));
    again.Comm.ClosePort();
    size_t count = std::stoul(again.Received());
    EXPECT_LT(count, 4 * block.size());
}

TEST(Comm32, ShortSessionLogsItsLinesInOrder) {
    std::string log = RigFile("session.log");
    CommSession session;
    session.Comm.SetCommsLogFileName(log);
    session.Comm.OpenPort();
    session.Send(IdRequest);
    ASSERT_TRUE(session.PumpUntilReceived(IdReply.size()));
    // The read thread logs its next wait right after posting the delivery.
    ASSERT_TRUE(session.PumpUntil([&] { return ReadLines(log).size() >= 5; }));
    session.Comm.ClosePort();
    std::vector<std::string> expected = {
        "Waiting for a CommEvent (Error) to occur.",
        "Waiting for data from comm connection.",
        "Writing to comm port",
        "Got something from Comm port!!!",
        "Waiting for data from comm connection.",
        "Stopping the Comm",
        "Closing Read Thread ",
        "Closing Write Thread",
    };
    // Both threads are stopped together by the one stop event, so their last lines come in
    // either order.
    auto lines = ReadLines(log);
    ASSERT_EQ(lines.size(), expected.size() + 2);
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + expected.size()), expected);
    std::vector<std::string> last(lines.begin() + expected.size(), lines.end());
    std::sort(last.begin(), last.end());
    EXPECT_EQ(last, (std::vector<std::string>{"Read thread shutting down",
                                              "Write thread shutting down"}));
}

// The rig makes the port refuse its status requests, so the read thread's first event wait
// fails: it posts its hang-up and ends without its ready notice.
TEST(Comm32, AWorkerFailingAtStartEndsTheOpenWithFalse) {
    WriteRigControl("refuse 1\n");
    std::string log = RigFile("start-failure.log");
    CommSession session;
    session.Comm.SetCommsLogFileName(log);
    bool opened = session.Comm.OpenPort();
    RemoveRigControl();
    EXPECT_FALSE(opened);
    EXPECT_FALSE(session.Comm.Connected());
    EXPECT_FALSE(session.Comm.QueueSend("x", 1));
    auto lines = ReadLines(log);
    size_t stepFailure = LineStartingWith(lines, "Unexpected WaitCommEvent error: GetLastError");
    size_t startFailure = LineStartingWith(lines, "Unable to SetupCommEvent1: GetLastError");
    EXPECT_EQ(stepFailure, 0u);
    EXPECT_LT(stepFailure, startFailure);
    EXPECT_LT(startFailure, LineStartingWith(lines, "Read thread shutting down"));
    EXPECT_LT(LineStartingWith(lines, "Read thread shutting down"), lines.size());
    // The port was closed again: the next open succeeds.
    CommSession again;
    again.Open();
    EXPECT_TRUE(again.Comm.Connected());
    again.Comm.ClosePort();
}

// A pty never sees a line error and Wine reports no error flags for one, so the flags' texts are
// checked on the report itself; the rig's injected error count drives a real event end to end.
TEST(Comm32, LineErrorsArriveAsCommEventTexts) {
    struct Case {
        DWORD Flags;
        const char* Report;
    };
    for (const Case& c :
         {Case{CE_FRAME, "Comm Event: CE_FRAME, EvtMask = 8"},
          Case{CE_FRAME | CE_OVERRUN, "Comm Event: CE_FRAME and CE_OVERRUN, EvtMask = 10"},
          Case{CE_BREAK, "Comm Event: EV_ERR Unknown EvtMask, EvtMask = 16"},
          Case{0, "Comm Event: NULL Error, EvtMask = 0"}})
        EXPECT_EQ(CommEventReport(c.Flags), c.Report);

    CommSession session;
    session.Open();
    WriteRigControl("frame 1\n");
    const std::string report = "Comm Event: NULL Error, EvtMask = 0";
    bool arrived = session.PumpUntilReceived(report.size());
    session.Comm.ClosePort();
    RemoveRigControl();
    ASSERT_TRUE(arrived);
    EXPECT_EQ(session.Deliveries.front(), report);
    EXPECT_TRUE(session.EveryDeliveryZeroTerminated);
}

std::string LogOf(const std::vector<std::string>& Lines) {
    std::string text;
    for (const std::string& line : Lines)
        text += line + "\n";
    return text;
}

// Bytes in the busy blocks of the process heap, where LocalAlloc takes the send copies from.
size_t HeapBytesInUse() {
    HANDLE heap = GetProcessHeap();
    HeapLock(heap);
    PROCESS_HEAP_ENTRY entry{};
    size_t total = 0;
    while (HeapWalk(heap, &entry)) {
        if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY)
            total += entry.cbData;
    }
    HeapUnlock(heap);
    return total;
}

// The meter hangs up, so the next write fails and ends the write thread while requests are
// queued behind it and more keep coming until the component refuses them: every copy that was
// accepted is released, written or not.
TEST(Comm32, RequestsQueuedWhileTheWriteThreadEndsAreReleased) {
    CommSession session;
    std::string log = session.OpenLogged("write-failure.log");
    session.Send("!hangup\r");
    ASSERT_TRUE(session.PumpUntil([&] { return session.Hangups > 0; }));
    const std::string block(60000, 'x');
    const size_t before = HeapBytesInUse();
    int accepted = 0;
    for (int i = 0; i < 20; ++i)
        accepted += session.Comm.QueueSend(block.data(), static_cast<uint16_t>(block.size()));
    bool refused = session.PumpUntil([&] {
        return !session.Comm.QueueSend(block.data(), static_cast<uint16_t>(block.size())) ||
               (++accepted, false);
    });
    session.Comm.ClosePort();
    session.PumpFor(100);
    const size_t after = HeapBytesInUse();
    ASSERT_TRUE(refused);
    EXPECT_GE(accepted, 20);
    // Less than one copy: no copy is left behind.
    EXPECT_LT(after, before + block.size()) << accepted << " copies accepted";
    auto lines = ReadLines(log);
    size_t writeFailure = LineStartingWith(lines, "Error to writing to CommFile");
    EXPECT_LT(writeFailure, LineStartingWith(lines, "Write thread shutting down")) << LogOf(lines);
    EXPECT_LT(LineStartingWith(lines, "Write thread shutting down"),
              LineStartingWith(lines, "Failed to Post to Write thread. GetLastError"));
}

// A window of the owner's thread that counts what reaches its handlers: paints, timer ticks, keys
// and clicks, and a message posted to it before the close.
class OwnerWindow {
  public:
    OwnerWindow() {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = Procedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        windowClass.lpszClassName = "Comm32TestOwner";
        RegisterClassA(&windowClass);
        Handle = CreateWindowExA(WS_EX_TOOLWINDOW, windowClass.lpszClassName, "", WS_POPUP, 0, 0,
                                 120, 80, nullptr, nullptr, windowClass.hInstance, nullptr);
        SetWindowLongPtrA(Handle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        ShowWindow(Handle, SW_SHOWNOACTIVATE);
        UpdateWindow(Handle);
        SetTimer(Handle, 1, 50, nullptr);
        PostMessageA(Handle, WM_APP, 0, 0);
    }
    ~OwnerWindow() { DestroyWindow(Handle); }
    bool Responded() const { return Ticks > 0 && PostedHandled; }

    HWND Handle;
    std::atomic<int> Paints{0};
    std::atomic<int> Ticks{0};
    std::atomic<int> Input{0};
    bool PostedHandled = false;

  private:
    static LRESULT CALLBACK Procedure(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam) {
        auto* owner = reinterpret_cast<OwnerWindow*>(GetWindowLongPtrA(Window, GWLP_USERDATA));
        if (!owner)
            return DefWindowProcA(Window, Message, WParam, LParam);
        switch (Message) {
        case WM_PAINT: {
            PAINTSTRUCT paint;
            BeginPaint(Window, &paint);
            EndPaint(Window, &paint);
            ++owner->Paints;
            return 0;
        }
        case WM_TIMER:
            ++owner->Ticks;
            return 0;
        case WM_KEYDOWN:
        case WM_LBUTTONDOWN:
        case WM_NCLBUTTONDOWN:
            ++owner->Input;
            return 0;
        case WM_APP:
            owner->PostedHandled = true;
            return 0;
        }
        return DefWindowProcA(Window, Message, WParam, LParam);
    }
};

// A stop that lasts at most the stop time-out and the break time-out, whichever workers are
// stuck, with room for a loaded machine.
constexpr DWORD ClosePortBoundMs = 10000 + 2000 + 3000;

// Closes the port with the owner's timer running and a message waiting, and checks that the close
// ends within its bound and that the owner's window works again afterwards.
void ExpectBoundedClose(CommSession& Session, const char* What, OwnerWindow& Owner) {
    DWORD start = GetTickCount();
    Session.Comm.ClosePort();
    DWORD elapsed = GetTickCount() - start;
    std::printf("ClosePort with %s: %lu ms\n", What, static_cast<unsigned long>(elapsed));
    EXPECT_LT(elapsed, ClosePortBoundMs);
    EXPECT_FALSE(Session.Comm.Connected());
    EXPECT_TRUE(Session.PumpUntil([&] { return Owner.Responded(); }));
}

void ExpectBoundedClose(CommSession& Session, const char* What) {
    OwnerWindow owner;
    ExpectBoundedClose(Session, What, owner);
}

// Opens a logged session whose write thread is then stuck in a write of a request it has taken;
// the request behind it waits. Returns the log's name. Under Wine the read interval timer can fail
// the idle read (ERROR_SEM_TIMEOUT) while a write is stuck on the same pty; without an interval
// the read simply waits, as on Windows.
std::string StickTheWriteThread(CommSession& Session, const std::string& LogName,
                                const std::string& RigMode) {
    Session.Comm.RxTimeOut = 0;
    std::string log = Session.OpenLogged(LogName);
    WriteRigControl(RigMode);
    Session.Send(IdRequest);
    Session.Send(IdRequest);
    Session.PumpFor(300);
    return log;
}

int ThreadsOfThisProcess() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    int count = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        count += entry.th32OwnerProcessID == GetCurrentProcessId();
    CloseHandle(snapshot);
    return count;
}

// The next session of the same component, opened while the given-up workers of the last one are
// still stuck: they wake (the rig lets go) and end, and the new session's requests and replies
// go through with no hang-up and nothing of theirs in its log.
void ExpectTheNextSessionUndisturbedByTheGivenUp(CommSession& Session, const std::string& Log,
                                                 int GivenUp) {
    Session.Comm.RxTimeOut = 100;
    Session.Comm.OpenPort();
    Session.Hangups = 0;
    const int withTheNewSession = ThreadsOfThisProcess();
    RemoveRigControl();
    ASSERT_TRUE(Session.PumpUntil(
        [&] { return ThreadsOfThisProcess() <= withTheNewSession - GivenUp; }, 10000))
        << "the given-up workers did not end: " << ThreadsOfThisProcess() << " threads, "
        << withTheNewSession << " with the new session";
    Session.Send("\r!reset\r");
    Session.Deliveries.clear();
    for (int round = 1; round <= 2; ++round) {
        Session.Send(IdRequest);
        ASSERT_TRUE(Session.PumpUntilReceived(round * IdReply.size())) << "round " << round;
    }
    EXPECT_EQ(Session.Received(), IdReply + IdReply);
    EXPECT_EQ(Session.Hangups, 0);
    EXPECT_TRUE(Session.Comm.Connected());
    auto lines = ReadLines(Log);
    for (const char* line : {"Read thread shutting down", "Write thread shutting down",
                             "Error to writing to CommFile", "Closing TAPI", InvalidHandleText})
        EXPECT_EQ(LineStartingWith(lines, line), lines.size()) << line << "\n" << LogOf(lines);
    Session.Comm.ClosePort();
}

BOOL WINAPI WriteNothingAtOnce(HANDLE, LPCVOID, DWORD, LPDWORD Written, LPOVERLAPPED) {
    *Written = 0;
    return TRUE;
}

TEST(Comm32StuckWrite, AWriteReportingNoBytesForeverEndsAtTheClose) {
    PortWriteFile = WriteNothingAtOnce;
    std::string log = RigFile("zero-write.log");
    CommSession session;
    session.Comm.SetCommsLogFileName(log);
    session.Comm.OpenPort();
    session.Send(IdRequest);
    session.PumpFor(200);
    ExpectBoundedClose(session, "a write reporting 0 bytes at once");
    PortWriteFile = WriteFile;
    auto lines = ReadLines(log);
    EXPECT_LT(LineStartingWith(lines, "Write thread shutting down"), lines.size()) << LogOf(lines);
    EXPECT_EQ(LineStartingWith(lines, "Write thread not exiting"), lines.size());
    EXPECT_EQ(session.Hangups, 0);
}

// A write that the system keeps pending until the port is closed, which then ends it as
// cancelled, as Windows does with every operation on a handle it closes.
OVERLAPPED* PendingWrite = nullptr;

BOOL WINAPI WriteStaysPending(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED Request) {
    Request->Internal = STATUS_PENDING;
    ResetEvent(Request->hEvent);
    PendingWrite = Request;
    SetLastError(ERROR_IO_PENDING);
    return FALSE;
}

BOOL WINAPI CloseEndingThePendingWrite(HANDLE Port) {
    if (PendingWrite) {
        PendingWrite->Internal = static_cast<ULONG_PTR>(0xC0000120); // STATUS_CANCELLED
        SetEvent(PendingWrite->hEvent);
    }
    return CloseHandle(Port);
}

// Neither the stop event nor a cancel ends this write; the close of the port does, so the thread
// ends in order after the stop time-out instead of being given up.
TEST(Comm32StuckWrite, ClosingThePortUnderAStuckWriteEndsTheThread) {
    PortWriteFile = WriteStaysPending;
    PortCloseHandle = CloseEndingThePendingWrite;
    CommSession session;
    std::string log = session.OpenLogged("pending-write.log");
    session.Send(IdRequest);
    ASSERT_TRUE(session.PumpUntil([] { return PendingWrite != nullptr; }));
    ExpectBoundedClose(session, "a write that only the port's close ends");
    PortWriteFile = WriteFile;
    PortCloseHandle = CloseHandle;
    PendingWrite = nullptr;
    auto lines = ReadLines(log);
    EXPECT_LT(LineStartingWith(lines, "Write thread shutting down"), lines.size()) << LogOf(lines);
    EXPECT_EQ(LineStartingWith(lines, "Write thread not exiting"), lines.size()) << LogOf(lines);
    EXPECT_EQ(session.Hangups, 0);
    ExpectAFreshSessionToReachTheMeter();
}

// Under Wine a write to which the pty takes nothing stays pending while Wine retries it without
// pause; neither the stop event nor a cancel ends it. Closing the port ends it, unless the close
// meets one of Wine's retries in flight: Wine then loses the wake-up and the write never returns
// (about one close in seven here). Either way the close keeps its bound and the thread ends in
// order or is given up, never both.
TEST(Comm32StuckWrite, AWriteThatNeverCompletesIsEndedOrGivenUpWithinTheBound) {
    CommSession session;
    std::string log = StickTheWriteThread(session, "stuck-write.log", "write zero\n");
    ExpectBoundedClose(session, "a write that never completes");
    RemoveRigControl();
    auto lines = ReadLines(log);
    size_t closing = LineStartingWith(lines, "Closing Write Thread");
    size_t ended = LineStartingWith(lines, "Write thread shutting down");
    size_t givenUp = LineStartingWith(lines, "Write thread not exiting.  Terminating it.");
    ASSERT_LT(closing, lines.size()) << LogOf(lines);
    EXPECT_NE(ended < lines.size(), givenUp < lines.size()) << LogOf(lines);
    EXPECT_LT(closing, std::min(ended, givenUp)) << LogOf(lines);
    std::printf("The write thread %s\n", ended < lines.size() ? "ended" : "was given up");

    ExpectAFreshSessionToReachTheMeter();
}

// A write that nothing ends: the close gives up on the thread and leaves it what it uses, so the
// thread can still finish safely when the write returns at last, without touching the next
// session's port, window or log.
TEST(Comm32StuckWrite, AWriteThatNothingEndsIsGivenUpAndLeavesTheNextSessionAlone) {
    CommSession session;
    std::string log = StickTheWriteThread(session, "hung-write.log", "write hang\n");
    ExpectBoundedClose(session, "a write that nothing ends");
    auto lines = ReadLines(log);
    ASSERT_LT(LineStartingWith(lines, "Write thread not exiting.  Terminating it."), lines.size())
        << LogOf(lines);
    EXPECT_EQ(LineStartingWith(lines, "Write thread shutting down"), lines.size());
    EXPECT_FALSE(session.Comm.QueueSend("x", 1));

    ExpectTheNextSessionUndisturbedByTheGivenUp(session, log, 1);
}

// Both workers stuck in a purge of the port that never returns: one deadline bounds the close
// for both together, and meanwhile the owner's window paints while its timer, a key and a click
// are kept from its handlers, then and afterwards.
TEST(Comm32StuckWorkers, BothAreGivenUpWithinOneBoundWhileTheWindowStaysAlive) {
    CommSession session;
    std::string log = session.OpenLogged("both-stuck.log");
    WriteRigControl("purge hang\n");
    OwnerWindow owner;
    int paintsWhileWaiting = 0, ticksWhileWaiting = -1;
    std::thread user([&] {
        Sleep(1000);
        const int paints = owner.Paints, ticks = owner.Ticks;
        InvalidateRect(owner.Handle, nullptr, TRUE);
        PostMessageA(owner.Handle, WM_KEYDOWN, VK_F5, 0);
        PostMessageA(owner.Handle, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
        PostMessageA(owner.Handle, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(10, 10));
        Sleep(2000);
        paintsWhileWaiting = owner.Paints - paints;
        ticksWhileWaiting = owner.Ticks - ticks;
    });
    ExpectBoundedClose(session, "both workers stuck in a purge", owner);
    user.join();
    EXPECT_GE(paintsWhileWaiting, 1);
    EXPECT_EQ(ticksWhileWaiting, 0);
    EXPECT_EQ(owner.Input, 0);
    auto lines = ReadLines(log);
    for (const char* line : {"Read thread not exiting.  Terminating it.",
                             "Write thread not exiting.  Terminating it."})
        EXPECT_LT(LineStartingWith(lines, line), lines.size()) << line << "\n" << LogOf(lines);

    ExpectTheNextSessionUndisturbedByTheGivenUp(session, log, 2);
}

// A message that another thread sends this one, as another program sends the owner's window one:
// queued at once, it is handled at the thread's next look at its queue, which is the close's wait
// when the close comes next.
class SentFromAnotherThread {
  public:
    explicit SentFromAnotherThread(std::function<void()> Action) : Action(std::move(Action)) {
        Handle = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                                 nullptr);
        SetWindowLongPtrA(Handle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        SetWindowLongPtrA(Handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Procedure));
        std::thread([this] { SendNotifyMessageA(Handle, WM_APP, 0, 0); }).join();
    }
    ~SentFromAnotherThread() { DestroyWindow(Handle); }
    SentFromAnotherThread(const SentFromAnotherThread&) = delete;
    SentFromAnotherThread& operator=(const SentFromAnotherThread&) = delete;

  private:
    static LRESULT CALLBACK Procedure(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam) {
        if (Message != WM_APP)
            return DefWindowProcA(Window, Message, WParam, LParam);
        reinterpret_cast<SentFromAnotherThread*>(GetWindowLongPtrA(Window, GWLP_USERDATA))
            ->Action();
        return 0;
    }
    std::function<void()> Action;
    HWND Handle;
};

// What the owner's loop finds after the close: the exit code of the quit that ends it, or -1
// where it would go on waiting.
int ExitCodeForTheOwnersLoop() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT)
            return static_cast<int>(message.wParam);
        DispatchMessageA(&message);
    }
    return -1;
}

TEST(Comm32, AQuitPostedBeforeOrDuringTheCloseStillEndsTheOwnersLoopAfterIt) {
    for (const bool duringTheWait : {false, true}) {
        SCOPED_TRACE(duringTheWait ? "posted during the close's wait" : "posted before the close");
        CommSession session;
        session.Open();
        bool postedInTheWait = false;
        std::unique_ptr<SentFromAnotherThread> sent;
        if (duringTheWait) {
            sent = std::make_unique<SentFromAnotherThread>([&] {
                postedInTheWait = session.Comm.Waiting();
                PostQuitMessage(7);
            });
        } else {
            PostQuitMessage(7);
        }
        session.Comm.ClosePort();
        EXPECT_EQ(postedInTheWait, duringTheWait);
        EXPECT_FALSE(session.Comm.Connected());
        EXPECT_EQ(ExitCodeForTheOwnersLoop(), 7);
    }
}

// A handler run during the close's wait that closes again leaves it to the close under way,
// which stops the workers once and reports the end of its wait once.
TEST(Comm32, ACloseAskedForDuringTheClosesWaitLeavesItToTheCloseUnderWay) {
    CommSession session;
    const std::string log = session.OpenLogged("close-in-close.log");
    int waitsOver = 0;
    session.Comm.OnWaitOver = [&](TComm32*) { ++waitsOver; };
    bool askedInTheWait = false;
    SentFromAnotherThread sent([&] {
        askedInTheWait = session.Comm.Waiting();
        session.Comm.ClosePort();
    });
    session.Comm.ClosePort();
    EXPECT_TRUE(askedInTheWait);
    EXPECT_FALSE(session.Comm.Waiting());
    EXPECT_EQ(waitsOver, 1);
    const auto lines = ReadLines(log);
    EXPECT_EQ(std::ranges::count(lines, std::string("Stopping the Comm")), 1) << LogOf(lines);
    ExpectAFreshSessionToReachTheMeter();
}

} // namespace
