// Starts window programs in the current folder, waits until each is idle in its message loop
// (window shown, start-up done) and ends it; prints the median of each program's runs in
// milliseconds, one line per program. The programs take turns, so that a change in the
// machine's load during the run weighs on all of them alike.
//   launch <runs> <program.exe>...
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// How long a start may take before the program is taken as never idle.
constexpr DWORD IdleLimitMs = 30000;

// One start to idle, in milliseconds; negative when the program cannot start or never idles.
double StartToIdle(const char* program, int run) {
    LARGE_INTEGER frequency, begin, end;
    QueryPerformanceFrequency(&frequency);
    std::string command = program;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    QueryPerformanceCounter(&begin);
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        std::fprintf(stderr, "launch: run %d: cannot start %s (%lu)\n", run, program,
                     GetLastError());
        return -1;
    }
    const DWORD idle = WaitForInputIdle(process.hProcess, IdleLimitMs);
    QueryPerformanceCounter(&end);
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (idle != 0) {
        std::fprintf(stderr, "launch: run %d: %s not idle within %lu s\n", run, program,
                     IdleLimitMs / 1000);
        return -1;
    }
    return 1000.0 * (end.QuadPart - begin.QuadPart) / frequency.QuadPart;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: launch <runs> <program.exe>...\n");
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    const int programs = argc - 2;
    std::vector<std::vector<double>> times(programs);
    for (int run = 0; run < runs; ++run) {
        for (int p = 0; p < programs; ++p) {
            const double time = StartToIdle(argv[2 + p], run + 1);
            if (time < 0)
                return 1;
            times[p].push_back(time);
        }
    }
    for (auto& t : times) {
        std::sort(t.begin(), t.end());
        std::printf("%.1f\n", t[t.size() / 2]);
    }
    return 0;
}
