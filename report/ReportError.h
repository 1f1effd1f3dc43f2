#pragma once
// Errors of the report; the main window shows their message.

#include <windows.h>

#include <stdexcept>
#include <string>

class EReportError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The system's text for an error code, without the line break and full stop it ends with (the
// error display adds its own full stop).
std::string SystemErrorText(DWORD code);
