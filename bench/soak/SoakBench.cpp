// Soak of the meter link through the real windows against the virtual meter on COM7: many
// open, reply, hang-up and close cycles, then a long poll, each followed by the growth of the
// process's handles, threads and memory and by the replies lost or repeated. A step that takes
// longer than a minute or a box other than the question about unsaved changes stops it.
// Usage: soak_bench [cycles] [poll-seconds]
#include "MeterRecords.h"
#include "WindowDriver.h"
#include "ui/win32/EventBinding.h"

#include <psapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr const char* MeterPort = "COM7";
// Above the longest step: a poll's own limit.
constexpr DWORD WatchLimitMs = 60000;

struct Resources {
    long Handles = 0;
    long Threads = 0;
    long long WorkingSetKb = 0;
    long long PagefileKb = 0;
};

// GetProcessHandleCount reports 0 under Wine, so every possible handle value is tried.
long CountHandles() {
    long count = 0;
    for (ULONG_PTR value = 4; value <= 0x7FFC; value += 4) {
        DWORD flags;
        count += GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags) != FALSE;
    }
    return count;
}

long CountThreads() {
    long count = 0;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        count += entry.th32OwnerProcessID == GetCurrentProcessId();
    CloseHandle(snapshot);
    return count;
}

Resources Measure() {
    Resources r;
    r.Handles = CountHandles();
    r.Threads = CountThreads();
    PROCESS_MEMORY_COUNTERS memory{};
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
    r.WorkingSetKb = memory.WorkingSetSize / 1024;
    r.PagefileKb = memory.PagefileUsage / 1024;
    return r;
}

void PrintResources(const std::string& when, const Resources& r, const Resources& base) {
    std::printf("%-26s handles %5ld (%+ld), threads %3ld (%+ld), working set %7lld KB (%+lld), "
                "pagefile %7lld KB (%+lld)\n",
                when.c_str(), r.Handles, r.Handles - base.Handles, r.Threads,
                r.Threads - base.Threads, r.WorkingSetKb, r.WorkingSetKb - base.WorkingSetKb,
                r.PagefileKb, r.PagefileKb - base.PagefileKb);
    std::fflush(stdout);
}

// A cue to the meter on the program's own line, as the link tests give it.
void Cue(MainWindowParts& form, const std::string& cue) {
    const std::string bytes = "\r!" + cue + "\r";
    form.Session.Comm32.QueueSend(bytes.data(), static_cast<std::uint16_t>(bytes.size()));
}

// Replies per phase: identifications or poll replies that never came, and deliveries beyond the
// requests sent.
struct ReplyCount {
    long Lost = 0;
    long Repeated = 0;
    long WrongRows = 0;
};

// Open, identification reply, the meter hangs up and the program closes the port.
bool Cycle(MainWindowParts& form, TForm2& dialog, int& hangups, ReplyCount& replies) {
    const MeterLink& link = form.Session.Link;
    if (!Identify(form, dialog, MeterPort)) {
        ++replies.Lost;
        return false;
    }
    // Counted before the hang-up's close resets the counters.
    replies.Repeated += std::max(0, link.ReceivedCount - link.SentCount);
    const int before = hangups;
    Cue(form, "hangup");
    // The program closes a port whose line is lost; Disconnect when it did not hear of it.
    const bool hungUp =
        PumpUntil([&] { return hangups > before && !form.Session.Comm32.Connected(); }, 5000);
    if (form.Session.Comm32.Connected())
        Click(form.sbStart);
    return hungUp;
}

// OK, then the nine records; the table is cleared first so that every row shows this poll's
// reply.
bool Poll(MainWindowParts& form, TForm2& dialog, ReplyCount& replies) {
    const MeterLink& link = form.Session.Link;
    for (int row = 1; row <= 9; ++row) {
        for (int column = 3; column <= 5; ++column)
            form.Tabela.SetCell(column, row, "0,0");
    }
    RunHandler(dialog, &TForm2::btOKClick);
    if (!PumpUntil([&] { return !form.Session.Timer2.Enabled() && link.ReceivedCount >= 9; },
                   30000))
        return false;
    // The last reply comes after the last tick.
    PumpUntil([&] { return link.ReceivedCount >= link.SentCount; }, 1000);
    replies.Lost += std::max(0, link.SentCount - link.ReceivedCount);
    replies.Repeated += std::max(0, link.ReceivedCount - link.SentCount);
    for (int row = 1; row <= 9; ++row) {
        const Expected& record = MeterRecords[row - 1];
        const bool same = form.Tabela.Cells(3, row) == record.Front &&
                          form.Tabela.Cells(4, row) == record.Left &&
                          form.Tabela.Cells(5, row) == record.Right;
        replies.WrongRows += !same;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    const int cycles = argc > 1 ? std::atoi(argv[1]) : 500;
    const int pollSeconds = argc > 2 ? std::atoi(argv[2]) : 600;
    StepWatch watch("soak benchmark", WatchLimitMs);
    BoxAnswers boxes(watch);
    KeepAppDataInWorkingFolder();
    TMainForm window;
    MainWindowParts& form = Inside(window);
    TForm2& dialog = form.PortDialog();
    window.Show();
    int hangups = 0;
    const TNotifyEvent programsHangup = form.Session.Comm32.OnRequestHangup;
    form.Session.Comm32.OnRequestHangup = [&](TComm32* comm) {
        ++hangups;
        programsHangup(comm);
    };

    // The first cycle creates what a process creates once (the first debugger output, the first
    // error); growth counts from after it.
    ReplyCount cycleReplies;
    watch.Step("cycle 1 of " + std::to_string(cycles));
    Cycle(form, dialog, hangups, cycleReplies);
    const Resources cyclesBase = Measure();
    PrintResources("after cycle 1", cyclesBase, cyclesBase);
    int failedCycles = 0;
    const DWORD cyclesStart = GetTickCount();
    for (int cycle = 2; cycle <= cycles; ++cycle) {
        watch.Step("cycle " + std::to_string(cycle) + " of " + std::to_string(cycles));
        failedCycles += !Cycle(form, dialog, hangups, cycleReplies);
        if (cycle % 100 == 0 || cycle == cycles)
            PrintResources("after cycle " + std::to_string(cycle), Measure(), cyclesBase);
    }
    std::printf("%d open, reply, hang-up, close cycles in %.1f s: %d failed, identifications "
                "lost %ld, deliveries repeated %ld\n",
                cycles, (GetTickCount() - cyclesStart) / 1000.0, failedCycles, cycleReplies.Lost,
                cycleReplies.Repeated);

    watch.Step("the identification for the poll");
    if (!Identify(form, dialog, MeterPort))
        watch.Fail(std::string("the meter on ") + MeterPort + " did not identify itself");
    ReplyCount pollReplies;
    watch.Step("poll 1");
    Poll(form, dialog, pollReplies);
    const Resources pollBase = Measure();
    PrintResources("after poll 1", pollBase, pollBase);
    int polls = 1, stuckPolls = 0;
    const DWORD pollStart = GetTickCount();
    DWORD nextReport = 120000;
    for (DWORD elapsed = 0; elapsed < pollSeconds * 1000u; elapsed = GetTickCount() - pollStart) {
        ++polls;
        watch.Step("poll " + std::to_string(polls));
        stuckPolls += !Poll(form, dialog, pollReplies);
        if (elapsed >= nextReport) {
            PrintResources("after " + std::to_string(elapsed / 1000) + " s of polling", Measure(),
                           pollBase);
            nextReport += 120000;
        }
    }
    PrintResources("after " + std::to_string(polls) + " polls", Measure(), pollBase);
    watch.Step("Disconnect");
    Click(form.sbStart);
    PrintResources("closed, against cycle 1", Measure(), cyclesBase);
    std::printf("%d polls of nine records in %.1f s: %d stuck, replies lost %ld, repeated %ld, "
                "rows not showing the meter's values %ld\n",
                polls, (GetTickCount() - pollStart) / 1000.0, stuckPolls, pollReplies.Lost,
                pollReplies.Repeated, pollReplies.WrongRows);
    return 0;
}
