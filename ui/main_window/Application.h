#pragma once
// The application's message loop.

#include <windows.h>

// Handles one message as the loop does: hints, the main window's shortcut keys, keyboard
// navigation between the controls of either window (IsDialogMessage), then the window procedure.
void ProcessMessage(MSG& msg);
// Handles every message waiting in the queue (for callers that drive the window themselves).
void ProcessMessages();
// Runs until the main window closes; returns the exit code.
int RunMessageLoop();
