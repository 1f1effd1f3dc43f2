#include "data/MeasurementFile.h"

#include "data/FileError.h"
#include "data/StoreImage.h"
#include "data/TemporaryName.h"

#include <windows.h>

#include <utility>
#include <vector>

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

// The access rules of a file, as a self-relative security descriptor; empty when unreadable.
std::vector<BYTE> AccessRules(const std::string& fileName) {
    DWORD size = 0;
    GetFileSecurityA(fileName.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &size);
    std::vector<BYTE> rules(size);
    if (size == 0 ||
        !GetFileSecurityA(fileName.c_str(), DACL_SECURITY_INFORMATION, rules.data(), size, &size))
        rules.clear();
    return rules;
}

// What the file the user chose keeps when a new one takes its place.
struct KeptIdentity {
    DWORD Attributes;
    std::vector<BYTE> Rules;
};

// Gives the replaced file back what it kept where the system's replace did not (Wine's replace
// is a rename), marked as changed for backups. The data is saved by then, so a failure here is
// not reported.
void RestoreIdentity(const std::string& target, const KeptIdentity& kept) {
    const DWORD attributes = kept.Attributes | FILE_ATTRIBUTE_ARCHIVE;
    if (GetFileAttributesA(target.c_str()) != attributes)
        SetFileAttributesA(target.c_str(), attributes);
    if (!kept.Rules.empty() && AccessRules(target) != kept.Rules)
        SetFileSecurityA(target.c_str(), DACL_SECURITY_INFORMATION,
                         const_cast<BYTE*>(kept.Rules.data()));
}

// Puts the new file in the place of an existing target, which keeps its attributes and access
// rules, as the file the user chose.
void Replace(const std::string& target, const std::string& temporary, const KeptIdentity& kept) {
    if (!ReplaceFileA(target.c_str(), temporary.c_str(), nullptr, 0, nullptr, nullptr)) {
        const DWORD error = GetLastError();
        // The target is gone already and the new file still has its temporary name: finish.
        if (error != ERROR_UNABLE_TO_MOVE_REPLACEMENT ||
            !MoveFileExA(temporary.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH))
            throw EFileError(error);
    }
    RestoreIdentity(target, kept);
}

void WriteAll(HANDLE file, const MeasurementStore& store) {
    DWORD written = 0;
    if (!WriteFile(file, &store, StoreImageSize, &written, nullptr))
        throw EFileError(GetLastError());
    if (written != StoreImageSize)
        throw EFileError(ERROR_DISK_FULL);
    if (!FlushFileBuffers(file))
        throw EFileError(GetLastError());
}

} // namespace

void ReadMeasurementFile(const std::string& fileName, MeasurementStore& store) {
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

void WriteMeasurementFile(const std::string& fileName, const MeasurementStore& store) {
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
    const KeptIdentity kept{attributes, exists ? AccessRules(fileName) : std::vector<BYTE>()};
    std::string temporary;
    try {
        {
            FileHandle file = CreateTemporaryBeside(fileName, temporary);
            WriteAll(file.Handle, store);
            file.Close();
        }
        if (exists)
            Replace(fileName, temporary, kept);
        else if (!MoveFileExA(temporary.c_str(), fileName.c_str(), MOVEFILE_WRITE_THROUGH))
            throw EFileError(GetLastError());
    } catch (...) {
        if (!temporary.empty())
            DeleteFileA(temporary.c_str());
        throw;
    }
}
