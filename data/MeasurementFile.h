#pragma once
// Reading and writing .wmx files: the store's 34704 bytes with no header.

#include "data/MeasurementRecord.h"

#include <string>

// Reads up to 34704 bytes of the file into the store (LoadStoreImage). The file is opened for
// reading only, so read-only files open. Throws EFileError; the store is then unchanged.
void ReadMeasurementFile(const std::string& fileName, MeasurementStore& store);

// Writes the store to a new file beside the target and then puts it in the target's place, so
// that a failed save leaves the previous file as it was and no partial file. A replaced target
// keeps its attributes and security; a read-only target is refused ("File access denied") and
// left untouched. Throws EFileError.
void WriteMeasurementFile(const std::string& fileName, const MeasurementStore& store);
