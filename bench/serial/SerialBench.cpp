// Delivery latency, idle cost and a 1 MB stream of the serial component on the virtual meter's
// port (COM5), and the idle cost of a bare program that only keeps one port event wait pending
// there (what Wine itself costs). Usage: serial_bench latency|idle|stream|bare
#include "StreamPattern.h"
#include "serial/Comm32.h"

#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

// Microseconds of the real-time clock, the clock the meter stamps its replies with.
int64_t NowMicros() {
    using PreciseTime = void(WINAPI*)(FILETIME*);
    static auto precise = reinterpret_cast<PreciseTime>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32"), "GetSystemTimePreciseAsFileTime")));
    FILETIME time;
    precise(&time);
    int64_t ticks = (int64_t(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    return (ticks - 116444736000000000LL) / 10;
}

int64_t Micros(const FILETIME& time) {
    return ((int64_t(time.dwHighDateTime) << 32) | time.dwLowDateTime) / 10;
}

// Handles messages until Done() holds; blocks in between.
template <class Condition> void PumpUntil(Condition Done) {
    while (!Done()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, INFINITE, QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
    }
}

void Send(TComm32& Comm, const std::string& Bytes) {
    Comm.QueueSend(Bytes.data(), static_cast<uint16_t>(Bytes.size()));
}

void Latency(TComm32& Comm) {
    constexpr int Replies = 250;
    std::vector<int64_t> latencies;
    Comm.OnReceiveData = [&](const void* Buffer, uint16_t) {
        int64_t arrived = NowMicros();
        long long stamp = 0;
        if (std::sscanf(static_cast<const char*>(Buffer), "\x02T?%lld", &stamp) == 1)
            latencies.push_back(arrived - stamp - Comm.RxTimeOut * 1000LL);
    };
    for (int i = 0; i < Replies; ++i) {
        size_t before = latencies.size();
        Send(Comm, "!stamp\r");
        PumpUntil([&] { return latencies.size() > before; });
    }
    std::sort(latencies.begin(), latencies.end());
    std::printf("delivery latency minus RxTimeOut over %zu replies: p50 %.2f ms, p99 %.2f ms, "
                "max %.2f ms\n",
                latencies.size(), latencies[latencies.size() / 2] / 1000.0,
                latencies[latencies.size() * 99 / 100] / 1000.0, latencies.back() / 1000.0);
}

// The component's threads are the two new ones at raised priority.
std::vector<HANDLE> WorkerThreads() {
    std::vector<HANDLE> workers;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID != GetCurrentProcessId())
            continue;
        HANDLE thread = OpenThread(THREAD_QUERY_INFORMATION, FALSE, entry.th32ThreadID);
        int priority = thread ? GetThreadPriority(thread) : THREAD_PRIORITY_NORMAL;
        if (priority == THREAD_PRIORITY_HIGHEST || priority == THREAD_PRIORITY_ABOVE_NORMAL)
            workers.push_back(thread);
        else if (thread)
            CloseHandle(thread);
    }
    CloseHandle(snapshot);
    return workers;
}

int64_t ThreadsCpuMicros(const std::vector<HANDLE>& Threads) {
    int64_t total = 0;
    for (HANDLE thread : Threads) {
        FILETIME created, exited, kernel, user;
        GetThreadTimes(thread, &created, &exited, &kernel, &user);
        total += Micros(kernel) + Micros(user);
    }
    return total;
}

int64_t ProcessCpuMicros() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    return Micros(kernel) + Micros(user);
}

constexpr DWORD IdleMs = 10000;

// Marks the idle span for run.sh, which reads the Wine server's CPU at each mark.
void IdleMark(const char* Mark) {
    std::printf("%s\n", Mark);
    std::fflush(stdout);
}

// Figures of one idle span as run.sh reads them: CPU microseconds of the component's threads
// (-1 for none) and of the whole process.
void PrintIdle(int64_t Threads, int64_t Process) {
    std::printf("idle-cpu-us %lld %lld\n", static_cast<long long>(Threads),
                static_cast<long long>(Process));
}

void Idle() {
    auto workers = WorkerThreads();
    int64_t threadsBefore = ThreadsCpuMicros(workers);
    int64_t processBefore = ProcessCpuMicros();
    IdleMark("idle-start");
    MsgWaitForMultipleObjects(0, nullptr, FALSE, IdleMs, 0);
    IdleMark("idle-end");
    PrintIdle(ThreadsCpuMicros(workers) - threadsBefore, ProcessCpuMicros() - processBefore);
}

// One port event wait pending and nothing else, as the component's read thread keeps one.
int BareIdle() {
    HANDLE port = CreateFileA("COM5", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_FLAG_OVERLAPPED, nullptr);
    if (port == INVALID_HANDLE_VALUE)
        return 1;
    SetCommMask(port, EV_ERR);
    OVERLAPPED wait{};
    wait.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    DWORD mask = 0;
    if (WaitCommEvent(port, &mask, &wait) || GetLastError() != ERROR_IO_PENDING)
        return 1;
    int64_t processBefore = ProcessCpuMicros();
    IdleMark("idle-start");
    bool stillPending = WaitForSingleObject(wait.hEvent, IdleMs) == WAIT_TIMEOUT;
    IdleMark("idle-end");
    PrintIdle(-1, ProcessCpuMicros() - processBefore);
    SetCommMask(port, 0);
    DWORD ignored;
    GetOverlappedResult(port, &wait, &ignored, TRUE);
    CloseHandle(wait.hEvent);
    CloseHandle(port);
    return stillPending ? 0 : 1;
}

void Stream(TComm32& Comm) {
    constexpr size_t Size = 1 << 20;
    StreamPattern pattern;
    size_t received = 0, deliveries = 0, wrong = 0;
    int64_t last = 0;
    Comm.OnReceiveData = [&](const void* Buffer, uint16_t Length) {
        last = NowMicros();
        ++deliveries;
        const uint8_t* bytes = static_cast<const uint8_t*>(Buffer);
        for (uint16_t i = 0; i < Length && received < Size; ++i, ++received)
            wrong += bytes[i] != pattern.Next();
    };
    int64_t start = NowMicros();
    Send(Comm, "!stream " + std::to_string(Size) + "\r");
    PumpUntil([&] { return received >= Size; });
    double seconds = (last - start) / 1e6;
    std::printf("stream 1 MB: %zu bytes in %zu deliveries, %zu wrong, %.2f s, %.2f MB/s\n",
                received, deliveries, wrong, seconds, Size / seconds / (1 << 20));
}

} // namespace

int main(int argc, char** argv) {
    std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "bare")
        return BareIdle();
    TComm32 comm;
    comm.CommPort = "COM5";
    if (!comm.OpenPort())
        return 1;
    Send(comm, "\r!reset\r");
    if (mode == "latency")
        Latency(comm);
    else if (mode == "idle")
        Idle();
    else if (mode == "stream")
        Stream(comm);
    comm.ClosePort();
    return 0;
}
