#pragma once
// The serial ports the system knows, as the registry lists them.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include <windows.h>

struct PortTable {
    static constexpr std::size_t MaxPorts = 16;
    static constexpr std::size_t MaxNameLength = 255;
    std::array<std::string, MaxPorts> PortNames;
    std::uint8_t PortCount = 0;
};

// The system's list of serial ports. Relative to HKEY_LOCAL_MACHINE and without a leading
// backslash, which Windows refuses in a sub-key name.
constexpr const char* SerialCommKey = "HARDWARE\\DEVICEMAP\\SERIALCOMM";

// Refills the table with the string data of the key's first 16 values, in the registry's order,
// each cut to 255 characters. Returns false, with no names, when the key cannot be opened.
bool ReadPortNames(PortTable& ports, HKEY root = HKEY_LOCAL_MACHINE,
                   const char* subKey = SerialCommKey);
