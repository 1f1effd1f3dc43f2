#include "ui/main_window/RecoveryCopy.h"

#include "data/RecoveryImage.h"

#include <vector>

namespace {

// The program's folder in the user's local application data; empty where there is none.
std::wstring ProgramFolder() {
    wchar_t folder[MAX_PATH] = L"";
    const DWORD length = GetEnvironmentVariableW(L"LOCALAPPDATA", folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return {};
    return std::wstring(folder) + L"\\Kavra Tintra";
}

std::wstring CopyPath() {
    const std::wstring folder = ProgramFolder();
    return folder.empty() ? folder : folder + L"\\recovery.dat";
}

// Closes the handle however the function that opened it ends.
struct FileHandle {
    HANDLE Handle;
    ~FileHandle() {
        if (Handle != INVALID_HANDLE_VALUE)
            CloseHandle(Handle);
    }
};

} // namespace

bool WriteRecoveryCopy(const MeasurementSet& set, const std::string& origin) {
    const std::wstring path = CopyPath();
    if (path.empty())
        return false;
    // Made when a copy is first written, not when a start only looks for one.
    CreateDirectoryW(ProgramFolder().c_str(), nullptr);
    const std::wstring written = path + L".new";
    const std::vector<std::uint8_t> bytes = RecoveryImage(set, origin);
    {
        FileHandle file{CreateFileW(written.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr)};
        DWORD wrote = 0;
        if (file.Handle == INVALID_HANDLE_VALUE ||
            !WriteFile(file.Handle, bytes.data(), static_cast<DWORD>(bytes.size()), &wrote,
                       nullptr) ||
            wrote != bytes.size() || !FlushFileBuffers(file.Handle))
            return false;
    }
    return MoveFileExW(written.c_str(), path.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

std::optional<RecoveredSet> ReadRecoveryCopy(MeasurementSet& set) {
    const std::wstring path = CopyPath();
    if (path.empty())
        return std::nullopt;
    FileHandle file{CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr)};
    LARGE_INTEGER size{};
    if (file.Handle == INVALID_HANDLE_VALUE || !GetFileSizeEx(file.Handle, &size) ||
        size.QuadPart > 1 << 20)
        return std::nullopt;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size.QuadPart));
    DWORD read = 0;
    FILETIME written{}, local{};
    RecoveredSet recovered{};
    if (!ReadFile(file.Handle, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
        read != bytes.size() || !GetFileTime(file.Handle, nullptr, nullptr, &written) ||
        !FileTimeToLocalFileTime(&written, &local) ||
        !FileTimeToSystemTime(&local, &recovered.WrittenAt))
        return std::nullopt;
    auto origin = ReadRecoveryImage(bytes, set);
    if (!origin)
        return std::nullopt;
    recovered.Origin = std::move(*origin);
    return recovered;
}

void RemoveRecoveryCopy() {
    const std::wstring path = CopyPath();
    if (!path.empty())
        DeleteFileW(path.c_str());
}
