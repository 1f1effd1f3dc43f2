// Find through the real windows: the time from the click on Find to OK enabled with the meter
// (the virtual one on COM7) on the first and on the fourth of four listed ports, and to the end
// of the search with no meter on any of them. COM5 and COM8 are silent, COM6 answers with a text
// that names no meter; for the last case COM7 is told to be silent too.
#include "WindowDriver.h"
#include "ui/controls/StandardControls.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int Runs = 5;
constexpr DWORD WatchLimitMs = 30000;
constexpr const char* ListKey = "Software\\wmx-bench\\find-ports";

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

// Cues to the virtual meter on the port, over a line of the benchmark's own.
bool Tell(const char* port, const std::string& cues) {
    HANDLE line =
        CreateFileA(port, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (line == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool sent =
        WriteFile(line, cues.data(), static_cast<DWORD>(cues.size()), &written, nullptr);
    // The meter reads what a closed line left; a moment more lets it take the cues first.
    Sleep(100);
    CloseHandle(line);
    return sent && written == cues.size();
}

// The ports the session lists, in this order, as the registry would list them.
void ListPorts(MainWindowParts& form, const std::vector<const char*>& ports) {
    RegDeleteKeyA(HKEY_CURRENT_USER, ListKey);
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, ListKey, 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS,
                    nullptr, &key, nullptr);
    for (std::size_t i = 0; i < ports.size(); ++i) {
        const std::string name = "\\Device\\Serial0" + std::to_string(i);
        RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(ports[i]),
                       static_cast<DWORD>(std::strlen(ports[i]) + 1));
    }
    RegCloseKey(key);
    form.Session.PortList = {HKEY_CURRENT_USER, ListKey};
}

} // namespace

int main() {
    StepWatch watch("find benchmark", WatchLimitMs);
    BoxAnswers boxes(watch);
    KeepAppDataInWorkingFolder();
    if (!Tell("COM5", "\r!silent 1\r") || !Tell("COM6", "\r!id SCALE 2.0\r") ||
        !Tell("COM8", "\r!silent 1\r"))
        watch.Fail("the virtual meters on COM5, COM6 and COM8 cannot be told their parts");
    TMainForm window;
    MainWindowParts& form = Inside(window);
    TForm2& dialog = form.PortDialog();
    window.Show();
    const struct {
        const char* Name;
        std::vector<const char*> Ports;
        bool MeterSilent;
    } cases[] = {
        {"the meter on the first port", {"COM7", "COM5", "COM6", "COM8"}, false},
        {"the meter on the fourth port", {"COM5", "COM6", "COM8", "COM7"}, false},
        {"no meter on any of four ports", {"COM5", "COM6", "COM8", "COM7"}, true},
    };
    for (const auto& c : cases) {
        // The port found last is still open.
        if (WindowText(form.sbStart) != "Connect")
            Click(form.sbStart);
        if (c.MeterSilent && !Tell("COM7", "\r!silent 1\r"))
            watch.Fail("the virtual meter on COM7 cannot be told to be silent");
        ListPorts(form, c.Ports);
        std::vector<double> times;
        for (int run = 1; run <= Runs; ++run) {
            watch.Step(std::string(c.Name) + ", run " + std::to_string(run) + ": Connect");
            if (WindowText(form.sbStart) != "Connect")
                Click(form.sbStart);
            Click(form.sbStart);
            watch.Step(std::string(c.Name) + ", run " + std::to_string(run) + ": Find");
            LARGE_INTEGER start, end;
            QueryPerformanceCounter(&start);
            Click(dialog.btFind);
            const bool over = PumpUntil([&] { return !form.Session.Finding(); }, StepLimitMs);
            QueryPerformanceCounter(&end);
            if (!over)
                watch.Fail("Find did not end");
            if (IsWindowEnabled(dialog.btOK) == c.MeterSilent)
                watch.Fail("Find ended with \"" + WindowText(dialog.Hint) + "\"");
            times.push_back(Seconds(start, end));
        }
        std::sort(times.begin(), times.end());
        std::printf("%s: Find to %s over %d runs: min %.3f s, median %.3f s, max %.3f s\n", c.Name,
                    c.MeterSilent ? "its end" : "OK enabled", Runs, times.front(), times[Runs / 2],
                    times.back());
        std::fflush(stdout);
    }
    watch.Step("Disconnect");
    Click(form.sbStart);
    Tell("COM7", "\r!silent 0\r");
    RegDeleteKeyA(HKEY_CURRENT_USER, ListKey);
    return 0;
}
