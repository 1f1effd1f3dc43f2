#pragma once
// The bytes of the recovery copy, kept against a crash or a power cut: a mark, the file the
// working set came from (empty for none) and the set's image as a .wmx file holds it.

#include "data/MeasurementRecord.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

std::vector<std::uint8_t> RecoveryImage(const MeasurementSet& set, const std::string& origin);

// The set and the name of its file, from bytes that hold one whole recovery copy; nothing (and
// the set untouched) from any other bytes.
std::optional<std::string> ReadRecoveryImage(std::span<const std::uint8_t> bytes,
                                             MeasurementSet& set);
