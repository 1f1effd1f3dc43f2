#pragma once
// The layout of a Windows bitmap file (BMP), read from its bytes and checked so that every part
// the headers announce lies inside the file.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

struct BitmapFileLayout {
    static constexpr std::size_t InfoOffset = 14; // the info header follows the file header
    std::size_t InfoSize;                         // 12 for the old core header, else 40 and up
    std::size_t ColorTableOffset;
    unsigned ColorCount;        // entries of the colour table that the pixels use
    std::size_t ColorEntrySize; // 3 after a core header, else 4
    std::size_t BitsOffset;
    std::size_t BitsSize;
    int Width;
    int Height; // always positive; TopDown tells the row order
    bool TopDown;
    int BitCount;
    std::uint32_t Compression;
};

// Nothing when the bytes are not a bitmap this program can show.
std::optional<BitmapFileLayout> ReadBitmapFileLayout(std::span<const std::uint8_t> file);

// Bytes of one row of pixels, padded to a multiple of four as bitmaps store them.
constexpr std::uint64_t BitmapRowBytes(std::uint64_t width, unsigned bitCount) {
    return (width * bitCount + 31) / 32 * 4;
}
