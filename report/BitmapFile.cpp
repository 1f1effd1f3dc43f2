#include "report/BitmapFile.h"

namespace {

constexpr std::uint32_t CompressionRgb = 0;
constexpr std::uint32_t CompressionRle8 = 1;
constexpr std::uint32_t CompressionRle4 = 2;
constexpr std::uint32_t CompressionBitFields = 3;
constexpr std::int64_t MaxSide = 65535;

std::uint32_t Read16(std::span<const std::uint8_t> b, std::size_t at) {
    return b[at] | b[at + 1] << 8;
}
std::uint32_t Read32(std::span<const std::uint8_t> b, std::size_t at) {
    return Read16(b, at) | Read16(b, at + 2) << 16;
}

bool ValidBitCount(int bits, bool core) {
    switch (bits) {
    case 1:
    case 4:
    case 8:
    case 24:
        return true;
    case 16:
    case 32:
        return !core;
    default:
        return false;
    }
}

bool ValidCompression(std::uint32_t compression, int bits, bool topDown) {
    switch (compression) {
    case CompressionRgb:
        return true;
    case CompressionRle8:
        return bits == 8 && !topDown;
    case CompressionRle4:
        return bits == 4 && !topDown;
    case CompressionBitFields:
        return bits == 16 || bits == 32;
    default:
        return false;
    }
}

} // namespace

std::optional<BitmapFileLayout> ReadBitmapFileLayout(std::span<const std::uint8_t> file) {
    BitmapFileLayout l{};
    const std::size_t info = BitmapFileLayout::InfoOffset;
    if (file.size() < info + 12 || file[0] != 'B' || file[1] != 'M')
        return std::nullopt;
    l.InfoSize = Read32(file, info);
    const bool core = l.InfoSize == 12;
    if (!core && l.InfoSize != 40 && l.InfoSize != 52 && l.InfoSize != 56 && l.InfoSize != 108 &&
        l.InfoSize != 124)
        return std::nullopt;
    if (file.size() < info + l.InfoSize)
        return std::nullopt;

    std::int64_t width, height;
    std::uint32_t planes, colorsUsed = 0, imageSize = 0;
    if (core) {
        width = Read16(file, info + 4);
        height = Read16(file, info + 6);
        planes = Read16(file, info + 8);
        l.BitCount = static_cast<int>(Read16(file, info + 10));
        l.Compression = CompressionRgb;
    } else {
        width = static_cast<std::int32_t>(Read32(file, info + 4));
        height = static_cast<std::int32_t>(Read32(file, info + 8));
        planes = Read16(file, info + 12);
        l.BitCount = static_cast<int>(Read16(file, info + 14));
        l.Compression = Read32(file, info + 16);
        imageSize = Read32(file, info + 20);
        colorsUsed = Read32(file, info + 32);
    }
    l.TopDown = height < 0;
    if (height < 0)
        height = -height;
    if (planes != 1 || width <= 0 || height <= 0 || width > MaxSide || height > MaxSide ||
        !ValidBitCount(l.BitCount, core) || !ValidCompression(l.Compression, l.BitCount, l.TopDown))
        return std::nullopt;
    l.Width = static_cast<int>(width);
    l.Height = static_cast<int>(height);

    // The three colour masks follow a 40-byte header; longer headers hold them inside.
    const std::size_t masks = l.Compression == CompressionBitFields && l.InfoSize == 40 ? 12 : 0;
    l.ColorTableOffset = info + l.InfoSize + masks;
    l.ColorEntrySize = core ? 3 : 4;
    // The system reads as many colour entries as the header says are used, at any depth, though
    // only images of 8 bits or less keep a table in memory.
    std::uint64_t tableEntries = colorsUsed;
    if (l.BitCount <= 8) {
        const unsigned full = 1u << l.BitCount;
        if (colorsUsed > full)
            return std::nullopt;
        l.ColorCount = colorsUsed ? colorsUsed : full;
        tableEntries = l.ColorCount;
    }
    const std::uint64_t tableEnd = l.ColorTableOffset + tableEntries * l.ColorEntrySize;
    l.BitsOffset = Read32(file, 10);
    if (l.BitsOffset < tableEnd || l.BitsOffset > file.size())
        return std::nullopt;

    const std::size_t available = file.size() - l.BitsOffset;
    if (l.Compression == CompressionRle8 || l.Compression == CompressionRle4) {
        if (imageSize == 0 || imageSize > available)
            return std::nullopt;
        l.BitsSize = imageSize;
    } else {
        const std::uint64_t needed = BitmapRowBytes(l.Width, l.BitCount) * l.Height;
        if (needed > available)
            return std::nullopt;
        l.BitsSize = static_cast<std::size_t>(needed);
    }
    return l;
}
