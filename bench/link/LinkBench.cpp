// The read of the nine records through the real windows against the virtual meter on COM7: for
// each run Connect, TEST and the identification, then the time from OK to row 9 filled, with the
// requests sent and the deliveries received by then. The question about unsaved changes that
// Connect asks from the second run on is answered No.
#include "WindowDriver.h"
#include "ui/controls/StandardControls.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr const char* MeterPort = "COM7";
constexpr int Runs = 10;
// Above the longest step: Disconnect's close of the port and the identification's own limit.
constexpr DWORD WatchLimitMs = 30000;

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

} // namespace

int main() {
    StepWatch watch("link benchmark", WatchLimitMs);
    BoxAnswers boxes(watch);
    KeepAppDataInWorkingFolder();
    TMainForm window;
    MainWindowParts& form = Inside(window);
    TForm2& dialog = form.PortDialog();
    window.Show();
    std::vector<double> times;
    for (int run = 1; run <= Runs; ++run) {
        const std::string name = "run " + std::to_string(run) + " of " + std::to_string(Runs);
        watch.Step(name + ", Connect, TEST and the identification");
        if (!Identify(form, dialog, MeterPort))
            watch.Fail(std::string("the meter on ") + MeterPort + " did not identify itself");
        watch.Step(name + ", OK to row 9 filled");
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        Click(dialog.btOK);
        const bool filled =
            PumpUntil([&] { return form.Tabela.Cells(3, 9) != "0,0"; }, StepLimitMs);
        QueryPerformanceCounter(&end);
        if (!filled)
            watch.Fail("row 9 was not filled");
        times.push_back(Seconds(start, end));
        std::printf("run %2d: %.3f s, requests sent %d, deliveries received %d\n", run,
                    times.back(), form.Session.Link.SentCount, form.Session.Link.ReceivedCount);
        std::fflush(stdout); // each run shows as it ends, also through a pipe
    }
    std::sort(times.begin(), times.end());
    std::printf("OK to row 9 filled over %d runs: min %.3f s, median %.3f s, max %.3f s "
                "(goal: 9 requests, 9 deliveries, at most 2.85 s); \"Save changes\" answered No "
                "%d times\n",
                Runs, times.front(), (times[Runs / 2 - 1] + times[Runs / 2]) / 2, times.back(),
                boxes.SaveQuestions);
    watch.Step("Disconnect");
    Click(form.sbStart);
    return 0;
}
