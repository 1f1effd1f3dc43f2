// What the virtual meter answers and how; set from the command line, changed by cues on the line.
#pragma once
#include <map>
#include <string>

struct MeterOptions {
    std::string LinkPath;        // symbolic link pointed at the pty being served
    std::string ReceivedLogPath; // every byte received is appended here
    std::string Identification = "KAVRA TINTRA VIRTUAL 1.0";
    std::map<int, std::string> Records; // record number -> "ffff:llll:rrrr"
    int DelayMs = 0;                    // each reply is this late on its way
    int SplitPauseMs = 0;               // when > 0, each reply goes out in two halves
    bool Silent = false;                // receive and record, never answer
    bool Double = false;                // every reply goes out twice in one write
    // By record number: replies later still than DelayMs; how many of the next requests go
    // unanswered; the pause in the next reply, sent in two halves.
    std::map<int, int> RecordLateMs;
    std::map<int, int> RecordIgnores;
    std::map<int, int> RecordSplitMs;

    std::string RecordReply(int record) const;
};

// Parses the command line; prints usage and exits on an unknown option.
MeterOptions ParseMeterOptions(int argc, char** argv);
