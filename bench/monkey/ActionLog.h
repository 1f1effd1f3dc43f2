#pragma once
// The last actions of the monkey, each with its time since the start, for the report of a failure.

#include <windows.h>

#include <array>
#include <string>

class ActionLog {
  public:
    static constexpr std::size_t Kept = 50;
    // Every action is printed as it is done as well when WMX_MONKEY_TRACE is set.
    ActionLog();
    ~ActionLog();
    ActionLog(const ActionLog&) = delete;
    ActionLog& operator=(const ActionLog&) = delete;
    void Add(const std::string& action);
    // Every action so far, of which the last Kept are printed.
    long Count() const { return Total; }
    void Print() const;
    DWORD Elapsed() const { return GetTickCount() - Start; }
    // The time since the start of a moment given by GetTickCount.
    DWORD Since(DWORD tick) const { return tick - Start; }

  private:
    std::array<std::string, Kept> Ring;
    long Total = 0;
    const DWORD Start;
    const bool Trace;
    // The watch thread prints the ring while the main thread may be adding to it.
    mutable CRITICAL_SECTION Lock;
};
