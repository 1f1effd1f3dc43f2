#include "AnswerWatch.h"

#include <cstdio>

namespace {
// Often enough that a stall of a second cannot slip between two questions.
constexpr DWORD IntervalMs = 100;

double NowMs() {
    static const double perMs = [] {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return frequency.QuadPart / 1000.0;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart / perMs;
}

double CpuMs(HANDLE thread) {
    FILETIME created, ended, kernel, user;
    if (!thread || !GetThreadTimes(thread, &created, &ended, &kernel, &user))
        return 0;
    const auto value = [](const FILETIME& t) {
        return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) |
                                   t.dwLowDateTime);
    };
    return (value(kernel) + value(user)) / 10000.0;
}
} // namespace

AnswerWatch::AnswerWatch() : Stop(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
    InitializeCriticalSection(&Lock);
    Thread = CreateThread(nullptr, 0, &Run, this, 0, nullptr);
}

AnswerWatch::~AnswerWatch() {
    SetEvent(Stop);
    WaitForSingleObject(Thread, INFINITE);
    CloseHandle(Thread);
    if (TargetThread)
        CloseHandle(TargetThread);
    CloseHandle(Stop);
    DeleteCriticalSection(&Lock);
}

void AnswerWatch::Follow(HWND main, DWORD thread) {
    EnterCriticalSection(&Lock);
    Target = main;
    if (TargetThread)
        CloseHandle(TargetThread);
    TargetThread = thread ? OpenThread(THREAD_QUERY_INFORMATION, FALSE, thread) : nullptr;
    LeaveCriticalSection(&Lock);
}

double AnswerWatch::LongestCpuMs() const {
    EnterCriticalSection(&Lock);
    const double cpu = LongestCpu;
    LeaveCriticalSection(&Lock);
    return cpu;
}

double AnswerWatch::LongestMs() const {
    EnterCriticalSection(&Lock);
    const double longest = Longest;
    LeaveCriticalSection(&Lock);
    return longest;
}

DWORD AnswerWatch::LongestAt() const {
    EnterCriticalSection(&Lock);
    const DWORD at = LongestTick;
    LeaveCriticalSection(&Lock);
    return at;
}

long AnswerWatch::Questions() const {
    EnterCriticalSection(&Lock);
    const long asked = Asked;
    LeaveCriticalSection(&Lock);
    return asked;
}

std::string AnswerWatch::Failure() const {
    EnterCriticalSection(&Lock);
    const std::string failed = Failed;
    LeaveCriticalSection(&Lock);
    return failed;
}

DWORD WINAPI AnswerWatch::Run(LPVOID self) {
    auto* watch = static_cast<AnswerWatch*>(self);
    while (WaitForSingleObject(watch->Stop, IntervalMs) == WAIT_TIMEOUT)
        watch->Ask();
    return 0;
}

void AnswerWatch::Ask() {
    EnterCriticalSection(&Lock);
    const HWND target = Target;
    const double cpuBefore = CpuMs(TargetThread);
    LeaveCriticalSection(&Lock);
    if (!target)
        return;
    DWORD_PTR result = 0;
    const DWORD asked = GetTickCount();
    const double start = NowMs();
    const LRESULT answered =
        SendMessageTimeoutA(target, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, LimitMs, &result);
    const DWORD error = GetLastError();
    const double took = NowMs() - start;
    EnterCriticalSection(&Lock);
    const double cpu = CpuMs(TargetThread) - cpuBefore;
    // A window the monkey has stopped following, or one that has gone, owes no answer.
    if (target == Target && IsWindow(target)) {
        ++Asked;
        if (took > Longest) {
            Longest = took;
            LongestTick = asked;
            LongestCpu = cpu;
        }
        // Any other error is the window going away under the question.
        if (!answered && (error == ERROR_TIMEOUT || error == 0) && Failed.empty()) {
            char text[200];
            std::snprintf(text, sizeof text,
                          "the main window did not answer within %u ms (gave up after %.0f ms, "
                          "error %lu; its thread had %.0f ms of processor time meanwhile)",
                          LimitMs, took, error, cpu);
            Failed = text;
        }
    }
    LeaveCriticalSection(&Lock);
}
