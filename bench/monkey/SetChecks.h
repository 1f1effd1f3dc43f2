#pragma once
// The checks of the sets the program wrote: each saved file and each recovery copy must read back
// through the program's own readers, and every row must hold its own record's reading (from the
// virtual meter, whose nine records differ, or from config.wmx) or no reading at all.

#include "data/MeasurementRecord.h"

#include <windows.h>

#include <memory>
#include <string>

class SetChecks {
  public:
    // config.wmx as the run began: its rows are the program's rows until the meter is read.
    explicit SetChecks(const std::string& configFile);
    // "" when every row is right, else each row that is not and what it holds.
    std::string Rows(const MeasurementSet& set) const;
    // Reads a .wmx file as the program opens one; "" when it holds a whole, valid set.
    std::string File(const std::wstring& path, MeasurementSet& set) const;
    // Whether record 9's reading from the meter is in its row: a poll's last reading.
    static bool LastRecordRead(const MeasurementSet& set);

  private:
    std::unique_ptr<MeasurementSet> Config;
};

// Watches the program's recovery copy, a moment behind every change of the working set.
class RecoveryCopyWatch {
  public:
    explicit RecoveryCopyWatch(std::wstring path) : Path(std::move(path)) {}
    // True with the set when a copy newer than the last one read is there; "" or why the copy
    // does not read back in `failure`.
    bool Newer(MeasurementSet& set, std::string& failure);

  private:
    const std::wstring Path;
    FILETIME LastRead{};
};
