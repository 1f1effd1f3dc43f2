#include "meter/PortSearch.h"

namespace {

// The system's error codes that a port's opening meets (winerror.h), kept here so that this file
// builds without the Windows headers.
constexpr unsigned long FileNotFound = 2;
constexpr unsigned long PathNotFound = 3;
constexpr unsigned long AccessDenied = 5;
constexpr unsigned long SharingViolation = 32;
constexpr unsigned long LockViolation = 33;

} // namespace

std::optional<std::string> PortSearch::Next() {
    if (Tried.size() >= Ports.size())
        return std::nullopt;
    Tried.push_back({Ports[Tried.size()], {}});
    return Tried.back().Port;
}

void PortSearch::NotOpened(std::string reason) {
    if (!Tried.empty())
        Tried.back().NotOpenedBecause = std::move(reason);
}

std::string PortSearch::TryingText() const {
    return "Looking for the meter on " + Trying() + " (" + std::to_string(TryingNumber()) + " of " +
           std::to_string(PortCount()) + ")";
}

std::string PortSearch::NoMeterText() const {
    if (Tried.empty())
        return "No serial port is listed to look for the meter on.";
    std::string text = "No meter answered on ";
    for (std::size_t i = 0; i < Tried.size(); ++i) {
        if (i > 0)
            text += ", ";
        text += Tried[i].Port;
        if (!Tried[i].NotOpenedBecause.empty())
            text += " (" + Tried[i].NotOpenedBecause + ")";
    }
    return text + ".";
}

std::string PortNotOpenedReason(unsigned long systemError) {
    switch (systemError) {
    // Windows refuses a port another program has open with access denied; Wine may say the
    // device is locked.
    case AccessDenied:
    case SharingViolation:
    case LockViolation:
        return "in use by another program";
    case FileNotFound:
    case PathNotFound:
        return "not present";
    default:
        return "cannot be opened, error " + std::to_string(systemError);
    }
}
