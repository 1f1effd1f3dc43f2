#pragma once
// The device names Windows gives the serial ports it knows ("USB Serial Port (COM6)"), from the
// Ports device class, by port name. A port without one is not listed.

#include <map>
#include <string>

using PortDeviceNames = std::map<std::string, std::string>;

PortDeviceNames ReadPortDeviceNames();
