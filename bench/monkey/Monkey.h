#pragma once
// One run of the monkey: the program started and each feature used once, used at random for the
// run's time while it is watched (its objects counted at a rest a while in: the settled point),
// brought to rest and checked.

#include "ActionLog.h"
#include "AnswerWatch.h"
#include "DialogAnswers.h"
#include "Figures.h"
#include "MachineLoad.h"
#include "MeterFaults.h"
#include "ProgramObjects.h"
#include "ProgramProcess.h"
#include "Random.h"
#include "Scene.h"
#include "SetChecks.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

struct MonkeyOptions {
    DWORD Seconds = 600;
    std::uint64_t Seed = 1;
    std::wstring Exe;
    std::wstring Folder;
    // Meter cues given just before the warm-up's poll, to replay a mix of faults a random run
    // met ("double 1", "late 8 300").
    std::vector<std::string> PollCues;
};

class Monkey {
  public:
    explicit Monkey(const MonkeyOptions& options);
    // 0 when every check held; a failure ends the process with 1 before.
    int Run();

    // For the actions.
    void Serve();
    [[noreturn]] void Fail(const std::string& what);
    // Serves the program until the condition holds or the time is over; false then.
    bool Await(const std::function<bool()>& until, DWORD ms);
    void Pause(DWORD ms);
    // True once the main window has answered: what the program was doing when asked is done.
    bool Sync();
    void PowerCut();
    // Waits until the program has taken the input sent so far (its thread waits for more): a
    // dialog it opens is up then.
    void InputTaken() const;
    // A file or print dialog is up: only the monkey's answer acts there, since a random key could
    // print, or save under a typed name in another folder.
    bool DialogWaits() const { return Now().Dialog != nullptr; }
    Scene Now() const { return Look(Program); }

    const MonkeyOptions Options;
    Random Chance;
    ActionLog Log;
    Figures Counts;
    ProgramProcess Program;
    AnswerWatch Watch;
    DialogAnswers Answers;
    MeterFaults Faults;
    // Whether the program may be closed or cut off now: only early in the run, so that the last
    // start lives long enough for the growth of its objects to mean something.
    bool MayEnd = false;
    // A poll started whose last record has not been seen yet.
    bool PollRunning = false;

  private:
    void StartProgram();
    void WarmUp();
    void Rest();
    void SaveAs(const std::wstring& path);
    // Rests the program and prints its objects now.
    ProgramObjects CountAtRest(const char* when);
    void CheckChoices();
    void CheckRecoveryCopy();
    void PrintFigures() const;
    MachineLoad Load;
    // The boxes answered so far.
    long Answered() const;
    SetChecks Checks;
    RecoveryCopyWatch Copy;
    std::set<std::wstring> Saved;
    std::vector<FileChoice> Pending;
    bool PreviewShown = false;
    bool WasConnected = false;
    bool Ending = false;
    DWORD NextCopyCheck = 0;
    DWORD InstanceStart = 0;
    // The program's objects at a rest a while into its last start, once taken.
    ProgramObjects Settled;
    // The threads the program had with the warm-up's port open, to recognise them at the end.
    std::map<std::string, long> PortOpenThreads;
    bool SettledTaken = false;
    DWORD SettledAt = 0;
    DWORD NextCount = 0;
    // Files chosen in the file dialogs, in all and by the settled point.
    long FilesChosen = 0;
    long FilesChosenBySettled = 0;
    std::string ObjectLines;
};
