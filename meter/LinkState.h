#pragma once
// The meter link's state in the main window's module, shared by the main window's handlers and
// the port dialog. Lives for the whole run; touched on the main thread only.

#include "meter/MeterLink.h"
#include "meter/SerialPortList.h"

#include <windows.h>

#include <string>

extern MeterLink Link;
// The port names that the last Connect found.
extern PortTable Ports;

// Where Connect looks for the system's serial ports. Tests point it at a key of their own.
struct PortListSource {
    HKEY Root = HKEY_LOCAL_MACHINE;
    std::string SubKey = SerialCommKey;
};
extern PortListSource PortList;
