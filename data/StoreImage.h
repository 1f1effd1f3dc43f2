#pragma once
// The store as the bytes of a .wmx file, and the values derived from its reading texts.

#include "data/MeasurementRecord.h"

#include <cstddef>

constexpr std::size_t StoreImageSize = sizeof(MeasurementSet);

// Replaces the leading bytes of the store with the file's bytes: a shorter image leaves the rest
// as it was, bytes past StoreImageSize are ignored.
void LoadStoreImage(MeasurementSet& store, const void* bytes, std::size_t size);

// Each slot's three values := the numbers its reading texts show (after opening a file).
void RecomputeValues(MeasurementSet& store);

// Each slot's three values := 0 (after start-up loading).
void ClearValues(MeasurementSet& store);
