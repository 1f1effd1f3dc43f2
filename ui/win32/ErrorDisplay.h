#pragma once
// The application's title and the general error display.

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
// handler failed (none once no window is left). The program then goes on.
void ShowError(const std::exception& error, HWND owner);
// The same for an error about a file, named on a line of its own below the message.
void ShowError(const std::exception& error, HWND owner, const std::string& file);
