#include "data/MeasurementFile.h"

#include "data/FileError.h"
#include "data/StoreImage.h"

#include <windows.h>

#include <vector>

namespace {

class FileHandle {
  public:
    explicit FileHandle(HANDLE h) : Handle(h) {}
    FileHandle(const FileHandle&) = delete;
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

std::string DirectoryOf(const std::string& fileName) {
    const auto slash = fileName.find_last_of("\\/:");
    if (slash == std::string::npos)
        return ".";
    if (fileName[slash] == ':')
        return fileName.substr(0, slash + 1) + ".";
    return slash == 0 ? fileName.substr(0, 1) : fileName.substr(0, slash);
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
    char temporary[MAX_PATH];
    if (!GetTempFileNameA(DirectoryOf(fileName).c_str(), "wmx", 0, temporary))
        throw EFileError(GetLastError());
    try {
        FileHandle file(CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file.Handle == INVALID_HANDLE_VALUE)
            throw EFileError(GetLastError());
        WriteAll(file.Handle, store);
        file.Close();
        if (!MoveFileExA(temporary, fileName.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            throw EFileError(GetLastError());
    } catch (...) {
        DeleteFileA(temporary);
        throw;
    }
}
