#pragma once
// One slot of the measurement store, laid out byte for byte as in a .wmx file.

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

// A length-prefixed 8-bit text of at most 255 characters in a 256-byte field. Bytes after the
// length are not significant; writing a shorter text leaves them as they were.
#pragma pack(push, 1)
struct ShortString {
    static constexpr std::size_t Capacity = 255;
    std::uint8_t Length;
    char Chars[Capacity];
};

struct MeasurementRecord {
    ShortString FrontText;
    ShortString LeftText;
    ShortString RightText;
    float FrontValue;
    float LeftValue;
    float RightValue;
    ShortString CustomerName;
    ShortString CustomerAddress1;
    ShortString CustomerAddress2;
    ShortString DateText;
    ShortString TimeText;
    ShortString RegistrationNo;
    std::int32_t VehicleType;
    ShortString Make;
    ShortString Model;
    ShortString Mileage;
    ShortString Comment;
    ShortString Diagnostician;
    ShortString Verdict;
};
#pragma pack(pop)

// Nine slots numbered 1 to 9, contiguous, with no header: the whole content of a .wmx file.
struct MeasurementSet {
    static constexpr unsigned SlotCount = 9;
    MeasurementRecord Slots[SlotCount];

    MeasurementRecord& Slot(unsigned n) { return Slots[n - 1]; }
    const MeasurementRecord& Slot(unsigned n) const { return Slots[n - 1]; }
};

static_assert(std::numeric_limits<float>::is_iec559 && sizeof(float) == 4);
static_assert(sizeof(ShortString) == 256);
static_assert(offsetof(MeasurementRecord, FrontText) == 0);
static_assert(offsetof(MeasurementRecord, LeftText) == 256);
static_assert(offsetof(MeasurementRecord, RightText) == 512);
static_assert(offsetof(MeasurementRecord, FrontValue) == 768);
static_assert(offsetof(MeasurementRecord, LeftValue) == 772);
static_assert(offsetof(MeasurementRecord, RightValue) == 776);
static_assert(offsetof(MeasurementRecord, CustomerName) == 780);
static_assert(offsetof(MeasurementRecord, CustomerAddress1) == 1036);
static_assert(offsetof(MeasurementRecord, CustomerAddress2) == 1292);
static_assert(offsetof(MeasurementRecord, DateText) == 1548);
static_assert(offsetof(MeasurementRecord, TimeText) == 1804);
static_assert(offsetof(MeasurementRecord, RegistrationNo) == 2060);
static_assert(offsetof(MeasurementRecord, VehicleType) == 2316);
static_assert(offsetof(MeasurementRecord, Make) == 2320);
static_assert(offsetof(MeasurementRecord, Model) == 2576);
static_assert(offsetof(MeasurementRecord, Mileage) == 2832);
static_assert(offsetof(MeasurementRecord, Comment) == 3088);
static_assert(offsetof(MeasurementRecord, Diagnostician) == 3344);
static_assert(offsetof(MeasurementRecord, Verdict) == 3600);
static_assert(sizeof(MeasurementRecord) == 3856);
static_assert(sizeof(MeasurementSet) == 34704);

inline std::string GetText(const ShortString& s) {
    return std::string(s.Chars, s.Length);
}

// Longer texts are cut to their first 255 characters without notice.
inline void SetText(ShortString& s, std::string_view text) {
    const std::size_t n = text.size() < ShortString::Capacity ? text.size() : ShortString::Capacity;
    s.Length = static_cast<std::uint8_t>(n);
    text.copy(s.Chars, n);
}
