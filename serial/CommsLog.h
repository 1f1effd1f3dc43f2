// The process-wide diagnostic log of the serial component, written by all three threads.
#pragma once
#include <windows.h>

#include <atomic>
#include <string>

// Sets the name that WriteCommsLog tests; empty turns logging off.
void SetCommsLogName(const std::string& Name);
// Creates the log file anew; throws std::runtime_error when it cannot be created.
void OpenCommsLog(const std::string& Name);
void CloseCommsLog();

// From now on the calling thread's lines are dropped once Silenced is true (a worker that its
// owner has given up: the log may belong to the next session by then). Silenced must outlive the
// thread.
void SilenceCommsLogOfThisThreadWhen(const std::atomic<bool>& Silenced);

// Appends Text and CR LF when a log is named and open and the calling thread has not been
// silenced. Keeps the caller's last error.
void WriteCommsLog(const std::string& Text);
// Logs Prefix, "GetLastError returned: " and the quoted system text of ErrorCode.
void LogLastError(DWORD ErrorCode, const std::string& Prefix);
// The US English system text of ErrorCode in a LocalAlloc'd buffer the caller releases, or
// nullptr when not even a buffer could be had.
char* FormatLastError(DWORD ErrorCode);

extern const char* const InvalidHandleText;
