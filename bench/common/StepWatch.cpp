#include "StepWatch.h"

#include <cstdio>
#include <utility>

StepWatch::StepWatch(std::string benchmark, DWORD stepLimitMs)
    : Benchmark(std::move(benchmark)), LimitMs(stepLimitMs),
      StepStarted(CreateEventA(nullptr, FALSE, FALSE, nullptr)),
      Finished(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
    InitializeCriticalSection(&Lock);
    Thread = CreateThread(nullptr, 0, &Watch, this, 0, nullptr);
}

StepWatch::~StepWatch() {
    SetEvent(Finished);
    WaitForSingleObject(Thread, INFINITE);
    CloseHandle(Thread);
    CloseHandle(Finished);
    CloseHandle(StepStarted);
    DeleteCriticalSection(&Lock);
}

void StepWatch::Step(std::string where) {
    EnterCriticalSection(&Lock);
    Where = std::move(where);
    LeaveCriticalSection(&Lock);
    SetEvent(StepStarted);
}

void StepWatch::Fail(const std::string& why) {
    EnterCriticalSection(&Lock);
    // The figures so far go out first; the process ends without flushing anything itself.
    std::fflush(stdout);
    std::fprintf(stderr, "%s stopped at %s: %s\n", Benchmark.c_str(), Where.c_str(), why.c_str());
    std::fflush(stderr);
    // Ended from here, whatever the benchmark's thread is stuck in.
    TerminateProcess(GetCurrentProcess(), 1);
    ExitProcess(1);
}

DWORD WINAPI StepWatch::Watch(LPVOID self) {
    auto* watch = static_cast<StepWatch*>(self);
    const HANDLE events[] = {watch->Finished, watch->StepStarted};
    for (;;) {
        switch (WaitForMultipleObjects(2, events, FALSE, watch->LimitMs)) {
        case WAIT_OBJECT_0 + 1:
            continue; // a new step: its limit starts now
        case WAIT_TIMEOUT:
            watch->Fail("no end within " + std::to_string(watch->LimitMs / 1000) + " s");
        default:
            return 0;
        }
    }
}
