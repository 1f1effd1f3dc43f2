#include "report/BitmapFile.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

void Put16(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
    b[at] = v & 0xFF;
    b[at + 1] = (v >> 8) & 0xFF;
}
void Put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
    Put16(b, at, v & 0xFFFF);
    Put16(b, at + 2, v >> 16);
}

// A bitmap file with a 40-byte info header and a full colour table for 8 bits or less.
std::vector<std::uint8_t> MakeBitmap(int width, int height, int bits) {
    const std::size_t table = bits <= 8 ? (std::size_t{1} << bits) * 4 : 0;
    const std::size_t offset = 14 + 40 + table;
    const std::size_t size = offset + BitmapRowBytes(width, bits) * (height < 0 ? -height : height);
    std::vector<std::uint8_t> b(size);
    b[0] = 'B';
    b[1] = 'M';
    Put32(b, 2, static_cast<std::uint32_t>(size));
    Put32(b, 10, static_cast<std::uint32_t>(offset));
    Put32(b, 14, 40);
    Put32(b, 18, static_cast<std::uint32_t>(width));
    Put32(b, 22, static_cast<std::uint32_t>(height));
    Put16(b, 26, 1);
    Put16(b, 28, static_cast<std::uint32_t>(bits));
    return b;
}

TEST(BitmapFile, ReadsTheLayoutOfValidFiles) {
    const auto rgb = ReadBitmapFileLayout(MakeBitmap(1240, 1754, 24));
    ASSERT_TRUE(rgb);
    EXPECT_EQ(rgb->Width, 1240);
    EXPECT_EQ(rgb->Height, 1754);
    EXPECT_FALSE(rgb->TopDown);
    EXPECT_EQ(rgb->BitsOffset, 54u);
    EXPECT_EQ(rgb->BitsSize, 1240u * 3 * 1754);

    const auto paletted = ReadBitmapFileLayout(MakeBitmap(3, -2, 8));
    ASSERT_TRUE(paletted);
    EXPECT_TRUE(paletted->TopDown);
    EXPECT_EQ(paletted->Height, 2);
    EXPECT_EQ(paletted->ColorCount, 256u);
    EXPECT_EQ(paletted->ColorTableOffset, 54u);
    EXPECT_EQ(paletted->BitsOffset, 54u + 1024);
    EXPECT_EQ(paletted->BitsSize, 8u); // rows of 3 bytes padded to 4
}

TEST(BitmapFile, RejectsWhatIsNoBitmap) {
    const struct {
        const char* what;
        void (*spoil)(std::vector<std::uint8_t>&);
    } cases[] = {
        {"text file",
         [](auto& b) {
             b.assign({'h', 'e', 'l', 'l', 'o'});
         }},
        {"wrong signature", [](auto& b) { b[1] = 'A'; }},
        {"pixels cut short", [](auto& b) { b.pop_back(); }},
        {"unknown header size", [](auto& b) { Put32(b, 14, 44); }},
        {"zero width", [](auto& b) { Put32(b, 18, 0); }},
        {"two planes", [](auto& b) { Put16(b, 26, 2); }},
        {"odd bit count", [](auto& b) { Put16(b, 28, 7); }},
        {"embedded JPEG", [](auto& b) { Put32(b, 30, 4); }},
        {"too many colours", [](auto& b) { Put32(b, 46, 257); }},
        {"pixels before the table ends", [](auto& b) { Put32(b, 10, 60); }},
        {"pixels after the end",
         [](auto& b) { Put32(b, 10, static_cast<std::uint32_t>(b.size() + 1)); }},
        {"top-down RLE",
         [](auto& b) {
             Put32(b, 22, static_cast<std::uint32_t>(-4));
             Put32(b, 30, 1);
             Put32(b, 34, 4);
         }},
    };
    for (const auto& c : cases) {
        auto file = MakeBitmap(4, 4, 8);
        c.spoil(file);
        EXPECT_FALSE(ReadBitmapFileLayout(file)) << c.what;
    }
    // A 24-bit image may carry a table, which the system reads: it must end before the pixels.
    auto trueColour = MakeBitmap(4, 4, 24);
    Put32(trueColour, 46, 1);
    EXPECT_FALSE(ReadBitmapFileLayout(trueColour)) << "24-bit table over the pixels";
    Put32(trueColour, 10, 14 + 40 + 4);
    trueColour.insert(trueColour.begin() + 54, 4, 0);
    EXPECT_TRUE(ReadBitmapFileLayout(trueColour)) << "24-bit table before the pixels";
}

} // namespace
