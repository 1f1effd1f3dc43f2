// Fuzz target for opening a file: the first byte fills the store held before, the rest is the
// file. After loading and recomputing, every value is a finite number from 0 to 9999, and every
// other byte is the file's where the file reaches and the old store's beyond it.

#include "data/StoreImage.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

void Require(bool condition) {
    if (!condition)
        std::abort();
}

void RequireReading(float value) {
    Require(std::isfinite(value) && value >= 0 && value <= 9999);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    const std::uint8_t oldByte = data[0];
    const std::uint8_t* file = data + 1;
    const std::size_t fileSize = size - 1;

    auto store = std::make_unique<MeasurementSet>();
    std::memset(store.get(), oldByte, sizeof *store);
    LoadStoreImage(*store, file, fileSize);
    RecomputeValues(*store);

    for (const MeasurementRecord& slot : store->Slots) {
        RequireReading(slot.FrontValue);
        RequireReading(slot.LeftValue);
        RequireReading(slot.RightValue);
    }
    // What each byte should hold, the value fields aside.
    auto expected = std::make_unique<MeasurementSet>();
    std::memset(expected.get(), oldByte, sizeof *expected);
    std::memcpy(expected.get(), file, std::min(fileSize, StoreImageSize));
    for (unsigned n = 1; n <= MeasurementSet::SlotCount; ++n) {
        const auto* got = reinterpret_cast<const char*>(&store->Slot(n));
        const auto* want = reinterpret_cast<const char*>(&expected->Slot(n));
        constexpr std::size_t valuesBegin = offsetof(MeasurementRecord, FrontValue);
        constexpr std::size_t valuesEnd = offsetof(MeasurementRecord, CustomerName);
        Require(std::memcmp(got, want, valuesBegin) == 0);
        Require(std::memcmp(got + valuesEnd, want + valuesEnd,
                            sizeof(MeasurementRecord) - valuesEnd) == 0);
    }
    return 0;
}
