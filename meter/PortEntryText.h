#pragma once
// How the port dialog lists a port: by its name, with the device name Windows gives it where
// there is one ("COM6 - USB Serial Port" for the device "USB Serial Port (COM6)").

#include <string>

std::string PortEntryText(const std::string& port, const std::string& deviceName);
