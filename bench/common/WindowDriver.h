#pragma once
// Drives the real main window and port dialog as a user would, for the benchmarks that read the
// virtual meter through them.
#include "MessagePump.h"
#include "ui/Main.h"
#include "ui/Unit2.h"

#include <windows.h>

// The benchmarks' generous limit for one step of the link.
constexpr DWORD StepLimitMs = 10000;
// A left click on a control, handled before the call returns.
void Click(HWND control);
// Connect (after Disconnect when connected), the port's entry, TEST and the identification;
// false when the meter did not identify itself in time.
bool Identify(TMainForm& form, TForm2& dialog, const char* port);
