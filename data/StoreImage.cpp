#include "data/StoreImage.h"

#include "data/ReadingValue.h"

#include <algorithm>
#include <cstring>

void LoadStoreImage(MeasurementSet& store, const void* bytes, std::size_t size) {
    if (size > 0) // an empty file may come without a buffer
        std::memcpy(&store, bytes, std::min(size, StoreImageSize));
}

void RecomputeValues(MeasurementSet& store) {
    for (MeasurementRecord& slot : store.Slots) {
        slot.FrontValue = ReadingValue(GetText(slot.FrontText));
        slot.LeftValue = ReadingValue(GetText(slot.LeftText));
        slot.RightValue = ReadingValue(GetText(slot.RightText));
    }
}

void ClearValues(MeasurementSet& store) {
    for (MeasurementRecord& slot : store.Slots)
        slot.FrontValue = slot.LeftValue = slot.RightValue = 0;
}
