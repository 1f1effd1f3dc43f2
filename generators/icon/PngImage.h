#pragma once
// A 32-bit RGBA picture encoded as a PNG file, for the large entry of the program's icon.

#include <cstdint>
#include <vector>

// `bgra` holds width x height pixels top-down, 4 bytes each in the order blue, green, red, alpha
// (a GDI DIB's order).
std::vector<std::uint8_t> EncodePng(const std::vector<std::uint8_t>& bgra, int width, int height);
