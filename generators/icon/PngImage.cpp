#include "PngImage.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i)
        crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

std::uint32_t Adler32(const Bytes& data) {
    std::uint32_t a = 1, b = 0;
    for (std::uint8_t byte : data) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
}

void PutBigEndian(Bytes& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

// Deflate's bit order: values go in least significant bit first, Huffman codes most
// significant bit first.
class BitWriter {
  public:
    explicit BitWriter(Bytes& out) : Out(out) {}
    void Bits(std::uint32_t value, int count) {
        for (int i = 0; i < count; ++i)
            Bit((value >> i) & 1);
    }
    void Code(std::uint32_t code, int length) {
        for (int i = length - 1; i >= 0; --i)
            Bit((code >> i) & 1);
    }
    void Flush() {
        if (Used)
            Out.push_back(Pending);
        Pending = 0;
        Used = 0;
    }

  private:
    void Bit(std::uint32_t bit) {
        Pending |= static_cast<std::uint8_t>(bit << Used);
        if (++Used == 8)
            Flush();
    }
    Bytes& Out;
    std::uint8_t Pending = 0;
    int Used = 0;
};

// The fixed Huffman code of a literal/length symbol (0..287).
void LiteralOrLength(BitWriter& bits, int symbol) {
    if (symbol < 144)
        bits.Code(0x30 + symbol, 8);
    else if (symbol < 256)
        bits.Code(0x190 + symbol - 144, 9);
    else if (symbol < 280)
        bits.Code(symbol - 256, 7);
    else
        bits.Code(0xC0 + symbol - 280, 8);
}

constexpr std::array<int, 29> LengthBase = {3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                            15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                            67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<int, 29> LengthExtra = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                             2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<int, 30> DistanceBase = {
    1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
    193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::array<int, 30> DistanceExtra = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                               6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

// Index of the last table entry whose base is at most `value`.
template <std::size_t N> int Slot(const std::array<int, N>& base, int value) {
    return static_cast<int>(std::upper_bound(base.begin(), base.end(), value) - base.begin()) - 1;
}

void Match(BitWriter& bits, int length, int distance) {
    const int l = Slot(LengthBase, length);
    LiteralOrLength(bits, 257 + l);
    bits.Bits(length - LengthBase[l], LengthExtra[l]);
    const int d = Slot(DistanceBase, distance);
    bits.Code(d, 5);
    bits.Bits(distance - DistanceBase[d], DistanceExtra[d]);
}

// One fixed-Huffman block. The icon is flat colour, so repeats of the pixel to the left and of
// the pixel above are all the matching it needs.
Bytes Deflate(const Bytes& data, std::size_t rowBytes) {
    Bytes out;
    BitWriter bits(out);
    bits.Bits(1, 1); // final block
    bits.Bits(1, 2); // fixed Huffman codes
    std::size_t i = 0;
    while (i < data.size()) {
        int bestLength = 0, bestDistance = 0;
        for (std::size_t distance : {std::size_t{4}, rowBytes}) {
            if (distance > i)
                continue;
            const std::size_t limit = std::min<std::size_t>(258, data.size() - i);
            std::size_t length = 0;
            while (length < limit && data[i + length] == data[i + length - distance])
                ++length;
            if (static_cast<int>(length) > bestLength) {
                bestLength = static_cast<int>(length);
                bestDistance = static_cast<int>(distance);
            }
        }
        if (bestLength >= 3) {
            Match(bits, bestLength, bestDistance);
            i += bestLength;
        } else {
            LiteralOrLength(bits, data[i]);
            ++i;
        }
    }
    LiteralOrLength(bits, 256); // end of block
    bits.Flush();
    return out;
}

void PutChunk(Bytes& png, const char* type, const Bytes& body) {
    PutBigEndian(png, static_cast<std::uint32_t>(body.size()));
    Bytes typed(type, type + 4);
    typed.insert(typed.end(), body.begin(), body.end());
    png.insert(png.end(), typed.begin(), typed.end());
    PutBigEndian(png, Crc32(typed.data(), typed.size()));
}

} // namespace

std::vector<std::uint8_t> EncodePng(const std::vector<std::uint8_t>& bgra, int width, int height) {
    const std::size_t rowBytes = 1 + static_cast<std::size_t>(width) * 4;
    Bytes raw;
    raw.reserve(rowBytes * height);
    for (int y = 0; y < height; ++y) {
        raw.push_back(0); // no filter
        const std::uint8_t* row = bgra.data() + static_cast<std::size_t>(y) * width * 4;
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* p = row + x * 4;
            raw.insert(raw.end(), {p[2], p[1], p[0], p[3]});
        }
    }

    Bytes header;
    PutBigEndian(header, width);
    PutBigEndian(header, height);
    header.insert(header.end(), {8, 6, 0, 0, 0}); // 8 bits per channel, RGBA, no interlace

    Bytes zlib = {0x78, 0x01};
    const Bytes deflated = Deflate(raw, rowBytes);
    zlib.insert(zlib.end(), deflated.begin(), deflated.end());
    PutBigEndian(zlib, Adler32(raw));

    Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", zlib);
    PutChunk(png, "IEND", {});
    return png;
}
