#include "serial/CommsLog.h"

#include <cstdio>
#include <stdexcept>

const char* const InvalidHandleText =
    "ERROR_INVALID_HANDLE, Likely that the Service Provider has closed the port.";

static std::string CommsLogName;
static HANDLE CommsLog = INVALID_HANDLE_VALUE;
// Held across each line's test and write and across the file's close and creation, so that a
// worker silenced by its owner can no longer be halfway into a write when the file changes.
static SRWLOCK CommsLogLock = SRWLOCK_INIT;
static thread_local const std::atomic<bool>* ThreadSilenced = nullptr;

void SilenceCommsLogOfThisThreadWhen(const std::atomic<bool>& Silenced) {
    ThreadSilenced = &Silenced;
}

void SetCommsLogName(const std::string& Name) {
    CommsLogName = Name;
}

void OpenCommsLog(const std::string& Name) {
    CloseCommsLog();
    AcquireSRWLockExclusive(&CommsLogLock);
    CommsLog = CreateFileA(Name.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    const bool created = CommsLog != INVALID_HANDLE_VALUE;
    ReleaseSRWLockExclusive(&CommsLogLock);
    if (!created)
        throw std::runtime_error("Cannot create file \"" + Name + "\"");
}

void CloseCommsLog() {
    AcquireSRWLockExclusive(&CommsLogLock);
    if (CommsLog != INVALID_HANDLE_VALUE)
        CloseHandle(CommsLog);
    CommsLog = INVALID_HANDLE_VALUE;
    ReleaseSRWLockExclusive(&CommsLogLock);
}

void WriteCommsLog(const std::string& Text) {
    if (CommsLogName.empty())
        return;
    DWORD lastError = GetLastError();
    // One write per line, so that lines of different threads never mix.
    std::string line = Text + "\r\n";
    AcquireSRWLockExclusive(&CommsLogLock);
    if (CommsLog != INVALID_HANDLE_VALUE && !(ThreadSilenced && *ThreadSilenced)) {
        DWORD written;
        WriteFile(CommsLog, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    }
    ReleaseSRWLockExclusive(&CommsLogLock);
    SetLastError(lastError);
}

void LogLastError(DWORD ErrorCode, const std::string& Prefix) {
    char* text = FormatLastError(ErrorCode);
    if (!text) {
        WriteCommsLog(Prefix + "Out of memory");
        return;
    }
    WriteCommsLog(Prefix + "GetLastError returned: \"" + text + "\"");
    LocalFree(text);
}

char* FormatLastError(DWORD ErrorCode) {
    char* text = nullptr;
    // Inserts are ignored: there are no arguments to fill them with.
    if (FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                           FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, ErrorCode, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
                       reinterpret_cast<char*>(&text), 0, nullptr))
        return text;
    DWORD formatError = GetLastError();
    constexpr size_t Size = 4096;
    text = static_cast<char*>(LocalAlloc(LPTR, Size));
    if (!text) {
        OutputDebugStringA("Out of memory trying to FormatLastError");
        return nullptr;
    }
    std::snprintf(text, Size, "FormatMessage failed on error %lu for the following reason: %lu",
                  static_cast<unsigned long>(ErrorCode), static_cast<unsigned long>(formatError));
    return text;
}
