#include "SetChecks.h"

#include "MeterRecords.h"
#include "ProgramProcess.h"
#include "data/GridPlaceholders.h"
#include "data/MeasurementFile.h"
#include "data/RecoveryImage.h"

#include <vector>

namespace {

struct Triple {
    std::string Front, Left, Right;
    bool operator==(const Triple&) const = default;
};

Triple Readings(const MeasurementRecord& slot) {
    return {GetText(slot.FrontText), GetText(slot.LeftText), GetText(slot.RightText)};
}

} // namespace

SetChecks::SetChecks(const std::string& configFile) : Config(std::make_unique<MeasurementSet>()) {
    ReadMeasurementFile(configFile, *Config);
}

std::string SetChecks::Rows(const MeasurementSet& set) const {
    std::string wrong;
    for (unsigned r = 1; r <= MeasurementSet::SlotCount; ++r) {
        const Expected& meter = MeterRecords[r - 1];
        const Triple shown = Readings(set.Slot(r));
        const bool right = shown == Triple{meter.Front, meter.Left, meter.Right} ||
                           shown == Readings(Config->Slot(r)) ||
                           shown == Triple{PlaceholderReadingText, PlaceholderReadingText,
                                           PlaceholderReadingText} ||
                           shown == Triple{};
        if (right)
            continue;
        // Whose reading it is, where it is some record's.
        std::string whose = "no record's reading";
        for (unsigned other = 1; other <= MeasurementSet::SlotCount; ++other) {
            const Expected& m = MeterRecords[other - 1];
            if (shown == Triple{m.Front, m.Left, m.Right})
                whose = "the meter's record " + std::to_string(other);
            else if (shown == Readings(Config->Slot(other)))
                whose = "config.wmx's row " + std::to_string(other);
        }
        wrong += (wrong.empty() ? "" : "; ") + std::string("row ") + std::to_string(r) + " holds " +
                 shown.Front + " " + shown.Left + " " + shown.Right + " (" + whose + ")";
    }
    return wrong;
}

std::string SetChecks::File(const std::wstring& path, MeasurementSet& set) const {
    const std::string name = Narrow(path);
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return name + " is not there";
    if (data.nFileSizeHigh || data.nFileSizeLow != sizeof(MeasurementSet))
        return name + " holds " + std::to_string(data.nFileSizeLow) + " bytes, not " +
               std::to_string(sizeof(MeasurementSet));
    try {
        ReadMeasurementFile(name, set);
    } catch (const std::exception& error) {
        return name + " does not read back: " + error.what();
    }
    for (unsigned r = 1; r <= MeasurementSet::SlotCount; ++r) {
        const int type = set.Slot(r).VehicleType;
        if (type < -1 || type > 3)
            return name + ": row " + std::to_string(r) + " has vehicle type " +
                   std::to_string(type);
    }
    const std::string rows = Rows(set);
    return rows.empty() ? "" : name + ": " + rows;
}

bool SetChecks::LastRecordRead(const MeasurementSet& set) {
    const Expected& last = MeterRecords[8];
    return Readings(set.Slot(9)) == Triple{last.Front, last.Left, last.Right};
}

bool RecoveryCopyWatch::Newer(MeasurementSet& set, std::string& failure) {
    failure.clear();
    // Opened as the program's next copy may replace it meanwhile.
    HANDLE file = CreateFileW(Path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    FILETIME written{};
    LARGE_INTEGER size{};
    GetFileTime(file, nullptr, nullptr, &written);
    GetFileSizeEx(file, &size);
    if (CompareFileTime(&written, &LastRead) == 0 || size.QuadPart > 1 << 20) {
        CloseHandle(file);
        return false;
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size.QuadPart));
    DWORD read = 0;
    const BOOL ok = ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    LastRead = written;
    if (!ok || read != bytes.size() || !ReadRecoveryImage(bytes, set)) {
        failure = "the recovery copy (" + std::to_string(bytes.size()) +
                  " bytes) does not read back as a whole copy";
        return false;
    }
    return true;
}
