#pragma once
// Drives the program's windows from a test or a benchmark: their messages are handled as the
// program's own loop handles them.

#include <windows.h>

#include <functional>

// Handles messages until done() holds, waking for each new one; false after limitMs.
bool PumpUntil(const std::function<bool()>& done, DWORD limitMs);
