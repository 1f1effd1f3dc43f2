#pragma once
// Asks the program's main window all the time, from a thread of its own, whether it answers: a
// message sent with a limit of 1 s (the system gives up at once on a window it finds hung). A
// modal loop (a question, a file dialog, a menu) still answers; only a stuck thread does not.

#include <windows.h>

#include <string>

class AnswerWatch {
  public:
    static constexpr UINT LimitMs = 1000;
    AnswerWatch();
    ~AnswerWatch();
    AnswerWatch(const AnswerWatch&) = delete;
    AnswerWatch& operator=(const AnswerWatch&) = delete;

    // The window to ask from now on, with its thread; none while the monkey ends or restarts the
    // program.
    void Follow(HWND main, DWORD thread = 0);
    // The longest answer so far, in milliseconds, and when it was asked (GetTickCount).
    double LongestMs() const;
    DWORD LongestAt() const;
    long Questions() const;
    // The processor time the window's thread had during the longest answer: near the answer's
    // time for work of its own, near none for a wait (on a file, another process, or a machine
    // too busy to run it).
    double LongestCpuMs() const;
    // Empty while every answer came in time; else what happened.
    std::string Failure() const;

  private:
    static DWORD WINAPI Run(LPVOID self);
    void Ask();
    mutable CRITICAL_SECTION Lock;
    HWND Target = nullptr;
    HANDLE TargetThread = nullptr;
    double Longest = 0;
    double LongestCpu = 0;
    DWORD LongestTick = 0;
    long Asked = 0;
    std::string Failed;
    HANDLE Stop;
    HANDLE Thread;
};
