#pragma once
// Errors of reading and writing measurement files, worded as the user sees them.

#include <stdexcept>
#include <string>

// The wording for a system error code of a file operation: "File not found", "File access
// denied", "Disk full", ... and "I/O error <code>" for codes without a wording of their own.
std::string FileErrorText(unsigned long code);

class EFileError : public std::runtime_error {
  public:
    explicit EFileError(unsigned long code) : std::runtime_error(FileErrorText(code)), Code(code) {}
    unsigned long Code;
};
