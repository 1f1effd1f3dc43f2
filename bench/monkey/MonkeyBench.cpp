// A long run of random use of the shipped wmx.exe, driven from outside as a user would drive it,
// against the virtual meter on COM7 with faults of a real line; see Monkey.h. It stops at the
// first failure with the seed, what failed and the last actions, and exits with 1.
// Usage: monkey_bench SECONDS SEED WMX.EXE   (from the run's working folder, with config.wmx)
// WMX_MONKEY_POLL_CUES="double 1;late 8 300" gives those cues to the meter before the warm-up's
// poll, to replay a mix of faults a random run met.
#include "Monkey.h"

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: monkey_bench SECONDS SEED WMX.EXE\n");
        return 2;
    }
    MonkeyOptions options;
    options.Seconds = static_cast<DWORD>(std::strtoul(argv[1], nullptr, 10));
    options.Seed = std::strtoull(argv[2], nullptr, 10);
    wchar_t text[MAX_PATH] = L"";
    MultiByteToWideChar(CP_ACP, 0, argv[3], -1, text, MAX_PATH);
    options.Exe = text;
    GetCurrentDirectoryW(MAX_PATH, text);
    options.Folder = text;
    char cues[512] = "";
    GetEnvironmentVariableA("WMX_MONKEY_POLL_CUES", cues, sizeof cues);
    for (std::string rest = cues; !rest.empty();) {
        const std::size_t end = rest.find(';');
        options.PollCues.push_back(rest.substr(0, end));
        rest = end == std::string::npos ? "" : rest.substr(end + 1);
    }
    // The program keeps its recovery copy in the run's folder, where no later start finds it.
    SetEnvironmentVariableW(L"LOCALAPPDATA", options.Folder.c_str());
    if (GetACP() != 1250)
        std::printf("monkey: the ANSI code page is %u, not 1250: Polish letters typed may be "
                    "lost\n",
                    GetACP());
    std::printf("monkey: %lu s with seed %llu\n", options.Seconds,
                static_cast<unsigned long long>(options.Seed));
    std::fflush(stdout);
    Monkey monkey(options);
    return monkey.Run();
}
