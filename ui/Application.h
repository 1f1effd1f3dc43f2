#pragma once
// The application: its title, the general error display and the message loop.

#include <windows.h>

#include <exception>
#include <string>
#include <string_view>

// The executable's file name up to its first ".", every letter after the first in lower case.
std::string ApplicationTitleOf(std::string_view exeFileName);
const std::string& ApplicationTitle();

// The error box's text: the message, with "." appended when its last character sorts after ".".
std::string ErrorBoxText(const std::string& message);

// The one place where an error that escaped a handler is shown: a message box with an error
// icon and an OK button, captioned with the application's title, owned by the window whose
// handler failed (the main window when none is named). The program then goes on.
void ShowError(const std::exception& error, HWND owner = nullptr);

// Handles one message as the loop does: hints, the main window's shortcut keys, keyboard
// navigation between the controls of either window (IsDialogMessage), then the window procedure.
void ProcessMessage(MSG& msg);
// Handles every message waiting in the queue (for callers that drive the window themselves).
void ProcessMessages();
// Runs until the main window closes; returns the exit code.
int RunMessageLoop();
