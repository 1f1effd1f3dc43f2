// Fuzz target for the form image's file format. Whenever a file is accepted, every part that the
// report reads from it lies inside the file: the headers, the colour masks and the colour table
// that the system reads with the pixels (worked out here from the raw header fields, as the
// system does), the colour entries copied into the in-memory image and the pixels themselves.

#include "report/BitmapFile.h"

#include <cstdlib>

namespace {

void Require(bool condition) {
    if (!condition)
        std::abort();
}

std::uint64_t Raw16(const std::uint8_t* b) {
    return b[0] | b[1] << 8;
}
std::uint64_t Raw32(const std::uint8_t* b) {
    return Raw16(b) | Raw16(b + 2) << 16;
}

void RequireInside(std::uint64_t begin, std::uint64_t length, std::size_t fileSize) {
    Require(begin <= fileSize && length <= fileSize - begin);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto layout = ReadBitmapFileLayout({data, size});
    if (!layout)
        return 0;

    RequireInside(0, 14, size);
    const std::uint64_t infoSize = Raw32(data + 14);
    RequireInside(14, infoSize, size);
    const bool core = infoSize == 12;
    const std::uint64_t bits = Raw16(data + (core ? 24 : 28));
    const std::uint64_t compression = core ? 0 : Raw32(data + 30);
    const std::uint64_t colorsUsed = core ? 0 : Raw32(data + 46);

    // The system reads the masks after a 40-byte header, then as many colour entries as the
    // header says are used, or the full table for 8 bits or less.
    const std::uint64_t masks = compression == 3 && infoSize == 40 ? 12 : 0;
    const std::uint64_t entries = colorsUsed ? colorsUsed : bits <= 8 ? 1u << bits : 0;
    RequireInside(14 + infoSize, masks + entries * (core ? 3 : 4), size);

    // The in-memory image takes a colour table only for 8 bits or less, of at most 2^bits.
    Require(layout->ColorCount <= (bits <= 8 ? 1u << bits : 0));
    RequireInside(layout->ColorTableOffset,
                  std::uint64_t{layout->ColorCount} * layout->ColorEntrySize, size);

    const std::uint64_t bitsOffset = Raw32(data + 10);
    Require(layout->BitsOffset == bitsOffset);
    const bool rle = compression == 1 || compression == 2;
    const std::uint64_t height = layout->Height;
    const std::uint64_t pixels =
        rle ? Raw32(data + 34) : BitmapRowBytes(layout->Width, bits) * height;
    Require(layout->BitsSize == pixels);
    RequireInside(bitsOffset, pixels, size);
    return 0;
}
