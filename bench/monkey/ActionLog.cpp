#include "ActionLog.h"

#include <cstdio>

ActionLog::ActionLog()
    : Start(GetTickCount()), Trace(GetEnvironmentVariableA("WMX_MONKEY_TRACE", nullptr, 0) > 0) {
    InitializeCriticalSection(&Lock);
}

ActionLog::~ActionLog() {
    DeleteCriticalSection(&Lock);
}

void ActionLog::Add(const std::string& action) {
    const DWORD at = Elapsed();
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%7.3f s  ", at / 1000.0);
    EnterCriticalSection(&Lock);
    Ring[static_cast<std::size_t>(Total) % Kept] = stamp + action;
    ++Total;
    if (Trace)
        std::printf("  %s%s\n", stamp, action.c_str());
    LeaveCriticalSection(&Lock);
}

void ActionLog::Print() const {
    EnterCriticalSection(&Lock);
    const long first = Total > static_cast<long>(Kept) ? Total - static_cast<long>(Kept) : 0;
    std::fprintf(stderr, "the last %ld actions of %ld:\n", Total - first, Total);
    for (long i = first; i < Total; ++i)
        std::fprintf(stderr, "  %5ld %s\n", i + 1,
                     Ring[static_cast<std::size_t>(i) % Kept].c_str());
    LeaveCriticalSection(&Lock);
}
