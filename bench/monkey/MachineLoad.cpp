#include "MachineLoad.h"

namespace {

constexpr DWORD EveryMs = 2000;
constexpr std::size_t Kept = 8;

ULONGLONG Value(const FILETIME& time) {
    return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

} // namespace

void MachineLoad::Sample() {
    const DWORD now = GetTickCount();
    if (!Samples.empty() && now - Samples.back().Tick < EveryMs)
        return;
    FILETIME idle, kernel, user;
    if (!GetSystemTimes(&idle, &kernel, &user))
        return;
    // Kernel time includes the idle time.
    const ULONGLONG all = Value(kernel) + Value(user);
    Samples.push_back({now, all - Value(idle), all});
    if (Samples.size() > Kept)
        Samples.pop_front();
}

int MachineLoad::BusyPercent(double& seconds) const {
    if (Samples.size() < 2 || Samples.back().All == Samples.front().All)
        return -1;
    seconds = (Samples.back().Tick - Samples.front().Tick) / 1000.0;
    return static_cast<int>(100 * (Samples.back().Busy - Samples.front().Busy) /
                            (Samples.back().All - Samples.front().All));
}
