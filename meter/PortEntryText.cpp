#include "meter/PortEntryText.h"

std::string PortEntryText(const std::string& port, const std::string& deviceName) {
    // The device name ends with the port's own name, which the entry already begins with.
    std::string device = deviceName;
    const std::string ownName = " (" + port + ")";
    if (device.ends_with(ownName))
        device.resize(device.size() - ownName.size());
    if (device.empty())
        return port;
    return port + " - " + device;
}
