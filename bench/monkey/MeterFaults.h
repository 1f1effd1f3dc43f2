#pragma once
// The faults of a real line, put on the virtual meter at random: cues it takes on its line
// (silence, late or split replies, requests ignored, replies doubled, noise, a hang-up), and the
// meter unplugged and plugged in again. The monkey writes each as a line to a file that
// meter-relay.sh (beside the virtual meter) carries out.

#include "ActionLog.h"
#include "Figures.h"
#include "Random.h"

#include <windows.h>

#include <string>
#include <vector>

class MeterFaults {
  public:
    MeterFaults(std::wstring relayFile, Random& random, ActionLog& log, Figures& figures);
    // One fault of a random kind; noise only where the program has the port open, since the
    // meter's line holds only so much that nobody reads.
    void Inject(bool portOpen);
    // Ends the faults whose time is over and plugs the meter in again when its time has come.
    void Tick();
    // The meter as it was at the start, plugged in: for the program's rest at the end.
    void Heal();
    bool Plugged() const { return IsPlugged; }
    // A cue of the meter's own syntax ("late 8 300"), given as it is.
    void Cue(const std::string& cue);

  private:
    void Send(const std::string& line);
    void Later(DWORD ms, const std::string& cue);
    const std::wstring RelayFile;
    Random& Chance;
    ActionLog& Log;
    Figures& Counts;
    bool IsPlugged = true;
    DWORD PlugInDue = 0;
    struct Undo {
        DWORD Due;
        std::string Cue;
    };
    std::vector<Undo> Undos;
};
