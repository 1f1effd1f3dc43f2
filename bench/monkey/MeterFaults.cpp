#include "MeterFaults.h"

#include <utility>

MeterFaults::MeterFaults(std::wstring relayFile, Random& random, ActionLog& log, Figures& figures)
    : RelayFile(std::move(relayFile)), Chance(random), Log(log), Counts(figures) {}

void MeterFaults::Send(const std::string& line) {
    HANDLE file =
        CreateFileW(RelayFile.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    const std::string bytes = line + "\n";
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

void MeterFaults::Cue(const std::string& cue) {
    Log.Add("meter: !" + cue);
    Send("cue " + cue);
}

void MeterFaults::Later(DWORD ms, const std::string& cue) {
    Undos.push_back({GetTickCount() + ms, cue});
}

void MeterFaults::Inject(bool portOpen) {
    if (!IsPlugged)
        return;
    enum Kind { Silence, Deaf, Late, Delay, Ignore, Split, Double, Noise, Hangup, Unplug };
    const std::vector<int> weights = {3, 2, 3, 2, 3, 2, 1, portOpen ? 3 : 0, 1, 1};
    const int record = Chance.Between(1, 9);
    const char* kind = "";
    switch (static_cast<Kind>(Chance.Weighted(weights))) {
    case Silence:
        kind = "silence";
        Cue("silent 1");
        Later(Chance.Between(1000, 10000), "silent 0");
        break;
    case Deaf:
        // It hears nothing meanwhile, then answers all it was asked at once.
        kind = "deaf";
        Cue("deaf " + std::to_string(Chance.Between(300, 4000)));
        break;
    case Late:
        kind = "late record";
        Cue("late " + std::to_string(record) + " " + std::to_string(Chance.Between(200, 3000)));
        Later(Chance.Between(2000, 20000), "late " + std::to_string(record) + " 0");
        break;
    case Delay:
        kind = "late replies";
        Cue("delay " + std::to_string(Chance.Between(100, 1500)));
        Later(Chance.Between(2000, 15000), "delay 0");
        break;
    case Ignore:
        kind = "ignored requests";
        Cue("ignore " + std::to_string(record) + " " + std::to_string(Chance.Between(1, 5)));
        break;
    case Split:
        kind = "split reply";
        Cue("split-next " + std::to_string(record) + " " + std::to_string(Chance.Between(50, 600)));
        break;
    case Double:
        kind = "doubled replies";
        Cue("double 1");
        Later(Chance.Between(2000, 10000), "double 0");
        break;
    case Noise:
        kind = "noise";
        Cue("noise " + std::to_string(Chance.Between(1, 2000)));
        break;
    case Hangup:
        kind = "hang-up";
        Cue("hangup");
        break;
    case Unplug:
        kind = "unplugged";
        Log.Add("meter: unplugged");
        Send("unplug");
        IsPlugged = false;
        PlugInDue = GetTickCount() + static_cast<DWORD>(Chance.Between(2000, 20000));
        // A meter plugged in again starts as it was made.
        Undos.clear();
        break;
    }
    ++Counts.Faults[kind];
}

void MeterFaults::Tick() {
    const DWORD now = GetTickCount();
    if (!IsPlugged && static_cast<LONG>(now - PlugInDue) >= 0) {
        Log.Add("meter: plugged in");
        Send("plug");
        IsPlugged = true;
    }
    for (auto undo = Undos.begin(); undo != Undos.end();) {
        if (static_cast<LONG>(now - undo->Due) >= 0) {
            Cue(undo->Cue);
            undo = Undos.erase(undo);
        } else {
            ++undo;
        }
    }
}

void MeterFaults::Heal() {
    if (!IsPlugged) {
        Log.Add("meter: plugged in");
        Send("plug");
        IsPlugged = true;
    }
    Undos.clear();
    Cue("reset");
}
