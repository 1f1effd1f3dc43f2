#pragma once
// A time limit for each step of a benchmark, kept by a thread of its own so that it holds while a
// modal loop or a stuck call has the benchmark's thread. A benchmark that stops (out of time, or
// told to) prints which step it was at, after the figures printed so far, and exits with 1.

#include <windows.h>

#include <string>

class StepWatch {
  public:
    StepWatch(std::string benchmark, DWORD stepLimitMs);
    ~StepWatch();
    StepWatch(const StepWatch&) = delete;
    StepWatch& operator=(const StepWatch&) = delete;
    // Starts a step, named as the error names it ("run 3: OK to row 9"); its time starts now.
    void Step(std::string where);
    // Stops the benchmark at the current step.
    [[noreturn]] void Fail(const std::string& why);

  private:
    static DWORD WINAPI Watch(LPVOID self);
    const std::string Benchmark;
    const DWORD LimitMs;
    std::string Where = "start";
    CRITICAL_SECTION Lock;
    HANDLE StepStarted;
    HANDLE Finished;
    HANDLE Thread = nullptr;
};
