#pragma once
// The recovery copy's file: "recovery.dat" in the user's local application data folder, in a
// folder "Kavra Tintra". The main window writes it a moment after each change and removes it when
// the set is saved or deliberately dropped; a start that finds it offers the set back.

#include "data/MeasurementRecord.h"

#include <windows.h>

#include <optional>
#include <string>

// Writes the copy under a name of its own beside its place, then moves it there in one step, so
// that a crash meanwhile leaves the previous copy whole. False when it could not be written.
bool WriteRecoveryCopy(const MeasurementSet& set, const std::string& origin);

struct RecoveredSet {
    std::string Origin;   // the file the set came from, empty for none
    SYSTEMTIME WrittenAt; // local time
};
// Reads the copy into the set; nothing (and the set untouched) when there is no whole copy.
std::optional<RecoveredSet> ReadRecoveryCopy(MeasurementSet& set);

void RemoveRecoveryCopy();
