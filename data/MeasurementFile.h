#pragma once
// Reading and writing .wmx files: the store's 34704 bytes with no header.

#include "data/MeasurementRecord.h"

#include <windows.h>

#include <stdexcept>
#include <string>

// The system's replace of one file by another. Tests put each outcome the system documents here.
extern BOOL(WINAPI* SystemReplaceFile)(LPCSTR, LPCSTR, LPCSTR, DWORD, LPVOID, LPVOID);
// The rename that puts the new file in place when the replace could not: tests see each attempt
// here, since a program that lets go of the name between two attempts cannot be timed from outside.
extern BOOL(WINAPI* SystemMoveFile)(LPCSTR, LPCSTR, DWORD);

// A save that stopped half-way: the new data is complete under the temporary name Saved, and the
// old file is under the name Previous (empty when it is gone). Its text says where both are.
class ESaveNotInPlace : public std::runtime_error {
  public:
    ESaveNotInPlace(const std::string& saved, const std::string& target,
                    const std::string& previous);
    std::string Saved;
    std::string Previous;
};

// Reads up to 34704 bytes of the file into the store (LoadStoreImage). The file is opened for
// reading only, so read-only files open. Throws EFileError; the store is then unchanged.
void ReadMeasurementFile(const std::string& fileName, MeasurementSet& store);

// Writes the store to a new file beside the target and then puts it in the target's place, so
// that a failed save leaves the previous file as it was and no partial file. A replaced target
// keeps its attributes and security; a read-only target is refused ("File access denied") and
// left untouched. Throws EFileError, or ESaveNotInPlace when the old file had already left its
// name and the new one could not take it.
void WriteMeasurementFile(const std::string& fileName, const MeasurementSet& store);
