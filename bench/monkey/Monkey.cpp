#include "Monkey.h"

#include "ActionPicker.h"
#include "UserInput.h"

// For the control numbers only: the monkey drives the shipped program from outside.
#include "ui/main_window/MainWindow.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <numeric>
#include <utility>

namespace {

// How often the recovery copy is looked at: it follows a change by at most a second.
constexpr DWORD CopyCheckMs = 200;
// The share of the run in which the program may be closed or cut off.
constexpr DWORD MayEndPercent = 60;
// The settled point comes this far into a start (a fifth of a shorter run): by then the program
// has made what it keeps for the rest of its life (caches of the dialogs, fonts, the heap's
// reserve).
constexpr DWORD SettleAfterMs = 120000;
// After it the objects are counted at a rest this often, to tell a step from a steady growth.
constexpr DWORD CountEveryMs = 120000;

} // namespace

Monkey::Monkey(const MonkeyOptions& options)
    : Options(options), Chance(options.Seed), Program(options.Exe, options.Folder),
      Answers(options.Folder, Chance, Log, Counts),
      Faults(options.Folder + L"\\meter-cues.txt", Chance, Log, Counts),
      Checks(Narrow(options.Folder) + "\\config.wmx"),
      Copy(options.Folder + L"\\Kavra Tintra\\recovery.dat") {}

void Monkey::Fail(const std::string& what) {
    Watch.Follow(nullptr);
    Load.Sample();
    PrintFigures();
    std::fprintf(stderr, "monkey: FAILED with seed %llu after %.1f s: %s\n",
                 static_cast<unsigned long long>(Options.Seed), Log.Elapsed() / 1000.0,
                 what.c_str());
    double seconds = 0;
    if (const int busy = Load.BusyPercent(seconds); busy >= 0)
        std::fprintf(stderr,
                     "the machine's processors were %d %% busy over the last %.0f s (all its "
                     "work, the monkey's included)\n",
                     busy, seconds);
    Log.Print();
    std::fflush(stderr);
    // Nothing of the run outlives it.
    if (Program.Running())
        TerminateProcess(Program.Handle(), 1);
    std::exit(1);
}

bool Monkey::Sync() {
    DWORD_PTR result = 0;
    return Program.Main && SendMessageTimeoutA(Program.Main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG,
                                               AnswerWatch::LimitMs, &result) != 0;
}

bool Monkey::Await(const std::function<bool()>& until, DWORD ms) {
    const DWORD start = GetTickCount();
    for (;;) {
        Serve();
        if (until())
            return true;
        if (GetTickCount() - start >= ms)
            return false;
        Sleep(20);
    }
}

void Monkey::Pause(DWORD ms) {
    Await([] { return false; }, ms);
}

void Monkey::Serve() {
    Load.Sample();
    if (const std::string failure = Watch.Failure(); !failure.empty())
        Fail(failure);
    if (const auto code = Program.ExitCode()) {
        Watch.Follow(nullptr);
        if (*code != 0) {
            char text[80];
            std::snprintf(text, sizeof text, "the program ended with exit code 0x%lX", *code);
            Fail(text);
        }
        if (Ending)
            return;
        ++Counts.Exits;
        Log.Add("the program has closed (exit code 0): started again");
        StartProgram();
        return;
    }
    if (const std::string failure = Answers.Serve(Program); !failure.empty())
        Fail(failure);
    for (FileChoice& choice : Answers.TakeChoices()) {
        Pending.push_back(std::move(choice));
        ++FilesChosen;
    }
    CheckChoices();
    if (static_cast<LONG>(GetTickCount() - NextCopyCheck) >= 0) {
        NextCopyCheck = GetTickCount() + CopyCheckMs;
        CheckRecoveryCopy();
    }
    Faults.Tick();
    const bool preview = Program.Window("TPrintPreview") != nullptr;
    Counts.Previews += preview && !PreviewShown;
    PreviewShown = preview;
    // Connect clears the table and Disconnect stops the poll: a poll seen before is over.
    const bool connected = CaptionOf(ToolButton(Program.Main, idsbStart)) == "Disconnect";
    if (connected != WasConnected)
        PollRunning = false;
    WasConnected = connected;
}

// A file dialog's choice is acted on once no box is up and the main window has answered since:
// then a save has written the file and an open has read it.
void Monkey::CheckChoices() {
    if (Pending.empty() || Program.Window("#32770") || !Sync())
        return;
    for (const FileChoice& before : std::exchange(Pending, {})) {
        const FileChoice after = DescribeFile(before.Path);
        const bool written =
            after.Existed &&
            (!before.Existed || CompareFileTime(&after.Written, &before.Written) != 0);
        if (!written) {
            Counts.Opens += before.Existed;
            continue;
        }
        ++Counts.FilesSaved;
        Saved.insert(before.Path);
        Log.Add("saved " + Narrow(before.Path));
        auto set = std::make_unique<MeasurementSet>();
        if (const std::string failure = Checks.File(before.Path, *set); !failure.empty())
            Fail("a file just saved: " + failure);
        if (PollRunning && SetChecks::LastRecordRead(*set)) {
            ++Counts.PollsSeenToEnd;
            PollRunning = false;
        }
    }
}

void Monkey::CheckRecoveryCopy() {
    auto set = std::make_unique<MeasurementSet>();
    std::string failure;
    if (!Copy.Newer(*set, failure)) {
        if (!failure.empty())
            Fail(failure);
        return;
    }
    ++Counts.RecoveryCopiesChecked;
    if (const std::string rows = Checks.Rows(*set); !rows.empty())
        Fail("the recovery copy of the working set: " + rows);
    if (PollRunning && SetChecks::LastRecordRead(*set)) {
        ++Counts.PollsSeenToEnd;
        PollRunning = false;
    }
}

void Monkey::InputTaken() const {
    WaitForInputIdle(Program.Handle(), AnswerWatch::LimitMs);
}

void Monkey::PowerCut() {
    Watch.Follow(nullptr);
    Log.Add("power cut: the program is ended at once");
    ++Counts.PowerCuts;
    Program.Kill();
    StartProgram();
}

void Monkey::StartProgram() {
    Watch.Follow(nullptr);
    ++Counts.ProgramStarts;
    Log.Add("start wmx.exe");
    if (!Program.Start())
        Fail("the program's main window did not come up");
    Watch.Follow(Program.Main, Program.MainThread());
    InstanceStart = GetTickCount();
    PollRunning = false;
    PreviewShown = false;
    WasConnected = false;
    // A copy left by a power cut is offered back first, and answered at random.
    Pause(1000);
    SettledTaken = false;
    WarmUp();
}

long Monkey::Answered() const {
    return std::accumulate(Counts.Boxes.begin(), Counts.Boxes.end(), 0L,
                           [](long sum, const auto& box) { return sum + box.second; });
}

// Each feature used once (the preview twice), so that what the program makes on first use (the
// common dialogs, the printer's driver, the report form, the port's thread) is there before the
// settled point.
void Monkey::WarmUp() {
    Answers.Policy.Quiet = true;
    const auto step = [&](const char* what, const std::function<void()>& act,
                          const std::function<bool()>& done, DWORD ms) {
        Log.Add(std::string("warm-up: ") + what);
        ComeForward(Program, Now(), Program.Main);
        act();
        if (!Await(done, ms))
            Log.Add(std::string("warm-up: ") + what + " did not finish in time");
    };
    const auto boxAnswered = [&](long before) {
        return [=, this] { return Answered() > before && !Program.Window("#32770"); };
    };
    step(
        "Open, cancelled", [] { UserInput::Key('O', {VK_CONTROL}); }, boxAnswered(Answered()),
        10000);
    SaveAs(Answers.Names().front());
    for (const auto& [id, name] :
         {std::pair{idSpeedButton3, "Print, cancelled"},
          std::pair{idSpeedButton4, "Print Setup, cancelled"}, std::pair{idSpeedButton6, "About"}})
        step(
            name, [&, id = id] { UserInput::ClickMiddle(ToolButton(Program.Main, id)); },
            boxAnswered(Answered()), 15000);
    // Actual size, and the page printed from the preview (cancelled): each makes its own for
    // the rest of the program's life. Twice, since the memory a closed page leaves for the next
    // one depends on what came before.
    const auto inPreview = [&](WORD key, WORD modifier) {
        return [this, key, modifier] {
            if (HWND preview = Program.Window("TPrintPreview")) {
                ComeForward(Program, Now(), preview);
                if (modifier)
                    UserInput::Key(key, {modifier});
                else
                    UserInput::Key(key);
                InputTaken();
            }
        };
    };
    for (int round = 0; round < 2; ++round) {
        step(
            "Print Preview",
            [&] { UserInput::ClickMiddle(ToolButton(Program.Main, idSpeedButton7)); },
            [&] { return Program.Window("TPrintPreview") != nullptr; }, 15000);
        step(
            "the preview at actual size", inPreview(VK_ADD, 0), [&] { return Sync(); }, 5000);
        step("Ctrl+P in the preview, cancelled", inPreview('P', VK_CONTROL),
             boxAnswered(Answered()), 15000);
        step(
            "Print Preview closed", inPreview(VK_ESCAPE, 0),
            [&] { return !Program.Window("TPrintPreview"); }, 5000);
    }
    step(
        "Connect", [&] { UserInput::ClickMiddle(ToolButton(Program.Main, idsbStart)); },
        [&] { return Now().Port != nullptr; }, 5000);
    step(
        "COM7 and TEST",
        [&] {
            const Scene s = Now();
            for (HWND entry : s.PortEntries) {
                if (CaptionOf(entry) == "COM7")
                    UserInput::ClickMiddle(entry);
            }
            Pause(200);
            if (s.Test)
                UserInput::ClickMiddle(s.Test);
        },
        [&] { return Now().OkEnabled; }, 10000);
    if (Now().OkEnabled)
        PortOpenThreads = CountObjects(Program.Handle(), Program.Pid()).ThreadModules;
    for (const std::string& cue : Options.PollCues)
        Faults.Cue(cue);
    step(
        "OK: the poll",
        [&] {
            if (const Scene s = Now(); s.OkEnabled) {
                UserInput::ClickMiddle(s.Ok);
                ++Counts.PollsStarted;
                PollRunning = true;
            }
        },
        [&] { return !PollRunning; }, 20000);
    Answers.Policy.Quiet = false;
}

// The program as after the warm-up: no box, menu, preview or port open.
void Monkey::Rest() {
    Answers.Policy.Quiet = true;
    int quietRounds = 0;
    const DWORD start = GetTickCount();
    while (quietRounds < 2) {
        if (GetTickCount() - start > 60000)
            Fail("the program did not come to rest within 60 s");
        Pause(100);
        const Scene s = Now();
        if (s.Box) {
            quietRounds = 0;
        } else if (s.Popup || s.InMenu) {
            ComeForward(Program, s, nullptr);
            UserInput::Key(VK_ESCAPE);
            Log.Add("rest: Escape on an open menu or list");
            quietRounds = 0;
        } else if (s.Preview) {
            PostMessageA(s.Preview, WM_CLOSE, 0, 0);
            Log.Add("rest: the preview closed");
            quietRounds = 0;
        } else if (s.Connected) {
            UserInput::ClickMiddle(s.Start);
            Log.Add("rest: Disconnect");
            quietRounds = 0;
        } else if (s.Port) {
            PostMessageA(s.Port, WM_CLOSE, 0, 0);
            Log.Add("rest: the port dialog hidden");
            quietRounds = 0;
        } else if (Pending.empty() && Sync()) {
            ++quietRounds;
        }
    }
    Answers.Policy.Quiet = false;
}

ProgramObjects Monkey::CountAtRest(const char* when) {
    Rest();
    ProgramObjects objects = CountObjects(Program.Handle(), Program.Pid());
    // At rest the button says Connect and the port dialog is hidden: no port is open, and the
    // threads of one (as the warm-up's TEST showed them) have ended with Disconnect.
    const auto portOpen = [&] {
        return !PortOpenThreads.empty() && objects.ThreadModules == PortOpenThreads;
    };
    for (int i = 0; i < 20 && portOpen(); ++i) {
        Pause(100);
        objects = CountObjects(Program.Handle(), Program.Pid());
    }
    if (portOpen())
        Fail(std::string("at ") + when + " the program holds a serial port open (" +
             ObjectsLine(objects) +
             ": the threads of the port the warm-up's TEST opened) while "
             "its button says \"" +
             CaptionOf(Now().Start) + "\" and the port dialog is hidden");
    const std::string line = std::string(when) + ", " + std::to_string(Log.Elapsed() / 1000) +
                             " s: " + ObjectsLine(objects);
    Log.Add(line);
    std::printf("monkey: %s\n", line.c_str());
    std::fflush(stdout);
    return objects;
}

void Monkey::SaveAs(const std::wstring& path) {
    const AnswerPolicy previous = Answers.Policy;
    Answers.Policy.Quiet = true;
    Answers.Policy.SaveName = path;
    const long before = Counts.FilesSaved;
    Log.Add("Save As " + Narrow(path));
    ComeForward(Program, Now(), Program.Main);
    // Save As itself: Ctrl+S writes a set that has a file back to it without a dialog.
    UserInput::Key(VK_F12);
    if (!Await([&] { return Counts.FilesSaved > before; }, 20000))
        Log.Add("Save As " + Narrow(path) + " did not save");
    Answers.Policy = previous;
}

int Monkey::Run() {
    StartProgram();
    const DWORD start = GetTickCount();
    const DWORD settleAfter = std::min(SettleAfterMs, Options.Seconds * 1000 / 5);
    for (DWORD elapsed = 0; elapsed < Options.Seconds * 1000; elapsed = GetTickCount() - start) {
        MayEnd = elapsed < Options.Seconds * 10 * MayEndPercent;
        Serve();
        if (!SettledTaken && GetTickCount() - InstanceStart >= settleAfter) {
            Settled = CountAtRest("the settled point");
            SettledTaken = true;
            SettledAt = GetTickCount();
            NextCount = SettledAt + CountEveryMs;
            FilesChosenBySettled = FilesChosen;
        } else if (SettledTaken && static_cast<LONG>(GetTickCount() - NextCount) >= 0) {
            CountAtRest("a rest");
            NextCount += CountEveryMs;
        }
        DoRandomAction(*this);
        Pause(static_cast<DWORD>(Chance.Between(20, 300)));
    }
    MayEnd = false;
    Log.Add("the run's time is over: the meter healed and the program brought to rest");
    Faults.Heal();
    Rest();
    // The grid as it is at the end, through a save of its own.
    SaveAs(Options.Folder + L"\\monkey-end.wmx");
    const ProgramObjects end = CountAtRest("the end");
    const std::string up = std::to_string((GetTickCount() - InstanceStart) / 1000);
    std::string grown;
    if (SettledTaken) {
        ObjectLines = "objects of the last start (up " + up + " s), from its settled point " +
                      std::to_string(Log.Since(SettledAt) / 1000) + " s into the run to the end:\n";
        ObjectAllowance allowed;
        allowed.FilesChosen = FilesChosen - FilesChosenBySettled;
        grown = CompareObjects(Settled, end, allowed, ObjectLines);
    } else {
        ObjectLines = "objects: the last start (up " + up +
                      " s) is too young for a settled point; at the end " +
                      std::to_string(end.Handles) + " handles, " + std::to_string(end.Threads) +
                      " threads, " + std::to_string(end.PagefileKb) + " KB pagefile\n";
    }

    Ending = true;
    Answers.Policy.Quiet = true;
    Log.Add("close the program");
    PostMessageA(Program.Main, WM_CLOSE, 0, 0);
    if (!Await([&] { return !Program.Running(); }, 30000))
        Fail("the program did not close within 30 s of WM_CLOSE");
    for (const std::wstring& path : Saved) {
        auto set = std::make_unique<MeasurementSet>();
        if (const std::string failure = Checks.File(path, *set); !failure.empty())
            Fail("a saved file at the end: " + failure);
    }
    if (!grown.empty())
        Fail("the program's objects grew: " + grown);
    PrintFigures();
    std::printf("every file saved (%zu names) read back at the end as a whole set, each reading in "
                "its own row\n",
                Saved.size());
    return 0;
}

void Monkey::PrintFigures() const {
    std::printf("monkey: seed %llu, %.1f s, %ld actions, %ld program starts (%ld power cuts, %ld "
                "closed by the user)\n",
                static_cast<unsigned long long>(Options.Seed), Log.Elapsed() / 1000.0,
                Counts.Actions, Counts.ProgramStarts, Counts.PowerCuts, Counts.Exits);
    std::printf("files saved %ld (%zu names), opens %ld, previews %ld, polls started %ld and seen "
                "to end %ld, recovery copies checked %ld\n",
                Counts.FilesSaved, Saved.size(), Counts.Opens, Counts.Previews, Counts.PollsStarted,
                Counts.PollsSeenToEnd, Counts.RecoveryCopiesChecked);
    std::string faults;
    for (const auto& [kind, count] : Counts.Faults)
        faults += (faults.empty() ? "" : ", ") + kind + " " + std::to_string(count);
    std::printf("meter faults: %s\n", faults.empty() ? "none" : faults.c_str());
    std::printf("boxes answered:\n");
    for (const auto& [text, count] : Counts.Boxes)
        std::printf("  %5ld  %s\n", count, text.c_str());
    std::printf("longest answer of the main window %.1f ms, %.1f s into the run, its thread busy "
                "%.0f ms of it (%ld questions, limit %u ms)\n",
                Watch.LongestMs(), Log.Since(Watch.LongestAt()) / 1000.0, Watch.LongestCpuMs(),
                Watch.Questions(), AnswerWatch::LimitMs);
    std::printf("%s", ObjectLines.c_str());
    std::fflush(stdout);
}
