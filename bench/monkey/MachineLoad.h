#pragma once
// How busy the machine's processors have been lately, other work included: a stall of the program
// is read beside it.

#include <windows.h>

#include <deque>

class MachineLoad {
  public:
    // Taken every few seconds; the last quarter of a minute is kept.
    void Sample();
    // The busy share of all processors since the oldest sample kept, in percent, and over how
    // many seconds; -1 before there are two samples.
    int BusyPercent(double& seconds) const;

  private:
    struct Times {
        DWORD Tick;
        ULONGLONG Busy;
        ULONGLONG All;
    };
    std::deque<Times> Samples;
};
