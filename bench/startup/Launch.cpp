// Starts a window program in the current folder, waits until it is idle in its message loop
// (window shown, start-up done) and ends it; prints the median of the runs in milliseconds.
//   launch <program.exe> <runs>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: launch <program.exe> <runs>\n");
        return 2;
    }
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::vector<double> times;
    for (int i = 0; i < std::atoi(argv[2]); ++i) {
        std::string command = argv[1];
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        LARGE_INTEGER begin, end;
        QueryPerformanceCounter(&begin);
        if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &startup, &process)) {
            std::fprintf(stderr, "launch: cannot start %s (%lu)\n", argv[1], GetLastError());
            return 1;
        }
        const DWORD idle = WaitForInputIdle(process.hProcess, 30000);
        QueryPerformanceCounter(&end);
        TerminateProcess(process.hProcess, 0);
        WaitForSingleObject(process.hProcess, INFINITE);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        if (idle != 0) {
            std::fprintf(stderr, "launch: %s never became idle\n", argv[1]);
            return 1;
        }
        times.push_back(1000.0 * (end.QuadPart - begin.QuadPart) / frequency.QuadPart);
    }
    std::sort(times.begin(), times.end());
    std::printf("%.1f\n", times[times.size() / 2]);
    return 0;
}
