// A component on the virtual meter's port (COM5) that records what reaches its owner.
#pragma once
#include "serial/Comm32.h"

#include <functional>
#include <string>
#include <vector>

struct CommSession {
    TComm32 Comm;
    std::vector<std::string> Deliveries;
    int Hangups = 0;
    bool EveryDeliveryZeroTerminated = true;

    CommSession();
    // Opens the port and puts the meter back to its start-up settings.
    void Open();
    // The same with the component's log in the rig's port folder; returns the log's name.
    std::string OpenLogged(const std::string& LogName);
    void Send(const std::string& Bytes);
    // Handles the thread's messages until Done() or, as a safety net, TimeoutMs.
    bool PumpUntil(const std::function<bool()>& Done, DWORD TimeoutMs = 5000);
    void PumpFor(DWORD Ms);
    bool PumpUntilReceived(size_t Bytes) {
        return PumpUntil([&] { return Received().size() >= Bytes; });
    }
    std::string Received() const;
};

// The Windows name of a file in the rig's port folder (WMX_PORTS).
std::string RigFile(const std::string& Name);
std::vector<std::string> ReadLines(const std::string& Path);
// Index of the first line that begins with Start, or Lines.size().
size_t LineStartingWith(const std::vector<std::string>& Lines, const std::string& Start);

// The rig library's control file (WMX_PTY_RIG_CONTROL), read by Wine at each status request.
void WriteRigControl(const std::string& Text);
void RemoveRigControl();
