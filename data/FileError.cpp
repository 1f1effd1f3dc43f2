#include "data/FileError.h"

// The numbers are the system's error codes (they are the same on every Windows version).
std::string FileErrorText(unsigned long code) {
    switch (code) {
    case 2:
        return "File not found";
    case 3:
    case 267:
        return "Path not found";
    case 4:
        return "Too many open files";
    case 5:
    case 32:
    case 33:
        return "File access denied";
    case 15:
        return "Invalid drive";
    case 19:
        return "Disk is write-protected";
    case 21:
        return "Drive not ready";
    case 23:
        return "Data error";
    case 39:
    case 112:
        return "Disk full";
    case 123:
        return "Invalid filename";
    default:
        return "I/O error " + std::to_string(code);
    }
}
