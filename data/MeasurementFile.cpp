#include "data/MeasurementFile.h"

#include "data/FileError.h"
#include "data/StoreImage.h"
#include "data/TemporaryName.h"

#include <windows.h>

#include <utility>
#include <vector>

BOOL(WINAPI* SystemReplaceFile)(LPCSTR, LPCSTR, LPCSTR, DWORD, LPVOID, LPVOID) = ReplaceFileA;
BOOL(WINAPI* SystemMoveFile)(LPCSTR, LPCSTR, DWORD) = MoveFileExA;

ESaveNotInPlace::ESaveNotInPlace(const std::string& saved, const std::string& target,
                                 const std::string& previous)
    : std::runtime_error("The measurements were saved as \"" + saved +
                         "\" but could not be given the name \"" + target + "\". " +
                         (previous.empty()
                              ? std::string("The file that had that name is gone.")
                              : "The file that had that name is now \"" + previous + "\".")),
      Saved(saved), Previous(previous) {}

namespace {

class FileHandle {
  public:
    explicit FileHandle(HANDLE h) : Handle(h) {}
    FileHandle(FileHandle&& other) noexcept
        : Handle(std::exchange(other.Handle, INVALID_HANDLE_VALUE)) {}
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle() {
        if (Handle != INVALID_HANDLE_VALUE)
            CloseHandle(Handle);
    }
    // Closes now, so that an error of the close itself is reported.
    void Close() {
        HANDLE h = Handle;
        Handle = INVALID_HANDLE_VALUE;
        if (!CloseHandle(h))
            throw EFileError(GetLastError());
    }
    HANDLE Handle;
};

// Creates the new file beside the target under the first free temporary name, which it then
// names; a name in use by another file is never touched.
FileHandle CreateTemporaryBeside(const std::string& target, std::string& temporary) {
    const unsigned count = TemporaryNameCount(target);
    for (unsigned attempt = 0; attempt < count; ++attempt) {
        const std::string candidate = TemporaryName(target, attempt);
        FileHandle file(CreateFileA(candidate.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file.Handle != INVALID_HANDLE_VALUE) {
            temporary = candidate;
            return file;
        }
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
            throw EFileError(error);
    }
    throw EFileError(ERROR_FILE_EXISTS);
}

// Which file a name leads to, whatever its name is now: its volume and file number, and its size
// and last change, since a system may give a file's number to the next new file at once (Wine
// takes it from the Unix inode).
struct FileIdentity {
    BY_HANDLE_FILE_INFORMATION Information{};
    bool Known = false;
    bool operator==(const FileIdentity& other) const {
        const auto& a = Information;
        const auto& b = other.Information;
        return Known && other.Known && a.dwVolumeSerialNumber == b.dwVolumeSerialNumber &&
               a.nFileIndexHigh == b.nFileIndexHigh && a.nFileIndexLow == b.nFileIndexLow &&
               a.nFileSizeHigh == b.nFileSizeHigh && a.nFileSizeLow == b.nFileSizeLow &&
               CompareFileTime(&a.ftLastWriteTime, &b.ftLastWriteTime) == 0;
    }
};

FileIdentity IdentityOf(const std::string& fileName) {
    FileIdentity identity;
    FileHandle file(CreateFileA(fileName.c_str(), 0,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    identity.Known = file.Handle != INVALID_HANDLE_VALUE &&
                     GetFileInformationByHandle(file.Handle, &identity.Information);
    return identity;
}

// What the file the user chose keeps when a new one takes its place.
struct KeptIdentity {
    DWORD Attributes;
    FileIdentity File;
};

// The names a replace works with: the file the user chose, the new file beside it, and the name
// the old file gets while the new one takes its place, with the empty file that reserved that name
// as it was made. Whatever else is found under the backup name is the old file, whose file number
// a rename may change (FAT, some network shares): only the reservation is ever deleted.
struct ReplaceNames {
    std::string Target;
    std::string Temporary;
    std::string Backup;
    FileIdentity Reservation;
};

bool IsReservation(const ReplaceNames& names) {
    return IdentityOf(names.Backup) == names.Reservation;
}

bool HoldsTheOldFile(const ReplaceNames& names) {
    return IdentityOf(names.Backup).Known && !IsReservation(names);
}

void DeleteReservation(const ReplaceNames& names) {
    if (IsReservation(names))
        DeleteFileA(names.Backup.c_str());
}

// Whatever holds a file a moment (a virus scanner, an indexer) may let go of it: a step that it
// blocks is tried again a few times, a tenth of a second apart. Blocked tells after each failure
// whether to try again.
template <class Step, class Blocked> bool Retried(Step step, Blocked blocked) {
    constexpr int Attempts = 5;
    for (int attempt = 1;; ++attempt) {
        if (step())
            return true;
        if (!blocked() || attempt == Attempts)
            return false;
        Sleep(100);
    }
}

void WriteAll(HANDLE file, const MeasurementSet& store) {
    DWORD written = 0;
    if (!WriteFile(file, &store, StoreImageSize, &written, nullptr))
        throw EFileError(GetLastError());
    if (written != StoreImageSize)
        throw EFileError(ERROR_DISK_FULL);
    if (!FlushFileBuffers(file))
        throw EFileError(GetLastError());
}

// Writes the store over the file itself, which keeps everything the system knows of it.
bool WriteInPlace(const std::string& fileName, const MeasurementSet& store) {
    try {
        FileHandle file(CreateFileA(fileName.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file.Handle == INVALID_HANDLE_VALUE)
            return false;
        WriteAll(file.Handle, store);
        if (!SetEndOfFile(file.Handle))
            return false;
        file.Close();
        return true;
    } catch (const EFileError&) {
        return false;
    }
}

// The file the user chose stays that file: once the new data is safe under its name, the old
// file takes the new data itself and its name back, so that everything the system knows of it
// stays as it was (its permissions above all: Wine gives a new file those of the process, and
// access rules written back map onto other Unix permissions than the file had). Marked as
// changed for backups. The data is saved by then, so a failure here is not reported.
void KeepIdentity(const ReplaceNames& names, const KeptIdentity& kept,
                  const MeasurementSet& store) {
    if (HoldsTheOldFile(names)) {
        const bool oldFileTookTheData =
            WriteInPlace(names.Backup, store) &&
            MoveFileExA(names.Backup.c_str(), names.Target.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
        if (!oldFileTookTheData)
            DeleteFileA(names.Backup.c_str());
    } else {
        DeleteReservation(names);
    }
    const DWORD attributes = kept.Attributes | FILE_ATTRIBUTE_ARCHIVE;
    if (GetFileAttributesA(names.Target.c_str()) != attributes)
        SetFileAttributesA(names.Target.c_str(), attributes);
}

bool RenameIntoPlace(const std::string& from, const std::string& to) {
    return Retried([&] { return SystemMoveFile(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH); },
                   [] { return true; });
}

// After a failed replace, what happened is read off the files themselves, whatever the error
// says (systems differ in what they leave): where the old file is still in its place, the save
// fails (the caller removes the new file); where it has already left its name (renamed to the
// backup name, or gone), the new file takes the name. The only complete copy of the new data is
// never removed: when it cannot take the name, the user is told where it and the old file are.
void FinishFailedReplace(const ReplaceNames& names, const KeptIdentity& kept, DWORD error) {
    if (IdentityOf(names.Target) == kept.File) {
        DeleteReservation(names);
        throw EFileError(error);
    }
    if (RenameIntoPlace(names.Temporary, names.Target))
        return;
    const bool oldFileKept = HoldsTheOldFile(names);
    if (!oldFileKept)
        DeleteReservation(names);
    throw ESaveNotInPlace(names.Temporary, names.Target, oldFileKept ? names.Backup : "");
}

// Puts the new file in the place of an existing target, which keeps its attributes and access
// rules, as the file the user chose. The old file waits under a name of its own until the new
// one is in place. A replace refused while another program has one of the files open is tried
// again as long as the old file is still in its place.
void Replace(const ReplaceNames& names, const KeptIdentity& kept, const MeasurementSet& store) {
    DWORD error = ERROR_SUCCESS;
    const bool replaced = Retried(
        [&] {
            return SystemReplaceFile(names.Target.c_str(), names.Temporary.c_str(),
                                     names.Backup.c_str(), 0, nullptr, nullptr);
        },
        [&] {
            error = GetLastError();
            return (error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED) &&
                   IdentityOf(names.Target) == kept.File;
        });
    if (!replaced)
        FinishFailedReplace(names, kept, error);
    KeepIdentity(names, kept, store);
}

} // namespace

void ReadMeasurementFile(const std::string& fileName, MeasurementSet& store) {
    FileHandle file(CreateFileA(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.Handle == INVALID_HANDLE_VALUE)
        throw EFileError(GetLastError());
    std::vector<char> bytes(StoreImageSize);
    DWORD total = 0;
    while (total < StoreImageSize) {
        DWORD got = 0;
        if (!ReadFile(file.Handle, bytes.data() + total, StoreImageSize - total, &got, nullptr))
            throw EFileError(GetLastError());
        if (got == 0)
            break;
        total += got;
    }
    file.Close();
    LoadStoreImage(store, bytes.data(), total);
}

void WriteMeasurementFile(const std::string& fileName, const MeasurementSet& store) {
    // Refused as creating the file over them would be. Checked here because the system does not
    // always refuse to replace a read-only file (Wine running as root replaces it).
    const DWORD attributes = GetFileAttributesA(fileName.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        throw EFileError(ERROR_ACCESS_DENIED);
    // A target that another program holds open, or that the user may not change, is refused
    // before anything is written: a replace that fails on it may leave a file of its own behind.
    if (exists) {
        FileHandle target(CreateFileA(fileName.c_str(), GENERIC_WRITE | DELETE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (target.Handle == INVALID_HANDLE_VALUE)
            throw EFileError(GetLastError());
    }
    const KeptIdentity kept{attributes, exists ? IdentityOf(fileName) : FileIdentity()};
    ReplaceNames names{fileName, "", "", {}};
    try {
        {
            FileHandle file = CreateTemporaryBeside(fileName, names.Temporary);
            WriteAll(file.Handle, store);
            file.Close();
        }
        if (exists) {
            // Reserved beside the new file, so that the replace never overwrites a file of the
            // user's.
            CreateTemporaryBeside(fileName, names.Backup).Close();
            names.Reservation = IdentityOf(names.Backup);
            Replace(names, kept, store);
        } else if (!MoveFileExA(names.Temporary.c_str(), fileName.c_str(),
                                MOVEFILE_WRITE_THROUGH)) {
            throw EFileError(GetLastError());
        }
    } catch (const EFileError&) {
        // The old file is still in its place (ESaveNotInPlace passes by: its new file stays).
        if (!names.Temporary.empty())
            DeleteFileA(names.Temporary.c_str());
        throw;
    }
}
