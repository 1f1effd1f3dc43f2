#pragma once
// Frames exchanged with the meter: STX, a letter, "?" in requests, data, CR.

#include <array>
#include <cstddef>
#include <cstdint>

constexpr std::uint8_t Stx = 0x02;
constexpr std::uint8_t Cr = 0x0D;

// Requests are built in, and deliveries copied into, buffers of this size.
constexpr std::size_t FrameBufferSize = 400;
using FrameBuffer = std::array<std::uint8_t, FrameBufferSize>;

// Each builds its request at the start of the buffer and returns the number of bytes to send.
std::uint16_t BuildIdentificationRequest(FrameBuffer& request);
std::uint16_t BuildMeasurementRequest(FrameBuffer& request, std::uint8_t record);
