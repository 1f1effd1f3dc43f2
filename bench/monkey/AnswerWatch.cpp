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
} // namespace

AnswerWatch::AnswerWatch() : Stop(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
    InitializeCriticalSection(&Lock);
    Thread = CreateThread(nullptr, 0, &Run, this, 0, nullptr);
}

AnswerWatch::~AnswerWatch() {
    SetEvent(Stop);
    WaitForSingleObject(Thread, INFINITE);
    CloseHandle(Thread);
    CloseHandle(Stop);
    DeleteCriticalSection(&Lock);
}

void AnswerWatch::Follow(HWND main) {
    EnterCriticalSection(&Lock);
    Target = main;
    LeaveCriticalSection(&Lock);
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
    // A window the monkey has stopped following, or one that has gone, owes no answer.
    if (target == Target && IsWindow(target)) {
        ++Asked;
        if (took > Longest) {
            Longest = took;
            LongestTick = asked;
        }
        // Any other error is the window going away under the question.
        if (!answered && (error == ERROR_TIMEOUT || error == 0) && Failed.empty()) {
            char text[160];
            std::snprintf(text, sizeof text,
                          "the main window did not answer within %u ms (gave up after %.0f ms, "
                          "error %lu)",
                          LimitMs, took, error);
            Failed = text;
        }
    }
    LeaveCriticalSection(&Lock);
}
