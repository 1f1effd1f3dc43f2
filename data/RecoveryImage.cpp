#include "data/RecoveryImage.h"

#include "data/StoreImage.h"

#include <algorithm>
#include <string_view>

namespace {

constexpr std::string_view Mark = "WMXRECO1";

} // namespace

std::vector<std::uint8_t> RecoveryImage(const MeasurementSet& set, const std::string& origin) {
    const auto length = static_cast<std::uint16_t>(std::min<std::size_t>(origin.size(), 0xFFFF));
    std::vector<std::uint8_t> bytes(Mark.begin(), Mark.end());
    bytes.push_back(static_cast<std::uint8_t>(length & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(length >> 8));
    bytes.insert(bytes.end(), origin.begin(), origin.begin() + length);
    const auto* image = reinterpret_cast<const std::uint8_t*>(&set);
    bytes.insert(bytes.end(), image, image + StoreImageSize);
    return bytes;
}

std::optional<std::string> ReadRecoveryImage(std::span<const std::uint8_t> bytes,
                                             MeasurementSet& set) {
    const std::size_t header = Mark.size() + 2;
    if (bytes.size() < header || !std::equal(Mark.begin(), Mark.end(), bytes.begin()))
        return std::nullopt;
    const std::size_t length = bytes[Mark.size()] | bytes[Mark.size() + 1] << 8;
    if (bytes.size() != header + length + StoreImageSize)
        return std::nullopt;
    const auto origin = bytes.subspan(header, length);
    LoadStoreImage(set, bytes.data() + header + length, StoreImageSize);
    return std::string(origin.begin(), origin.end());
}
