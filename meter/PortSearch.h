#pragma once
// Find: the identification tried on each listed port in turn, until a meter names itself. This
// keeps which port comes next and what each one tried did, and says how the search ended. Plain
// data; the meter session does the opening, asking and closing.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

class PortSearch {
  public:
    explicit PortSearch(std::vector<std::string> ports) : Ports(std::move(ports)) {}

    // The port to try next, or nothing once every port has been tried.
    std::optional<std::string> Next();
    // The port being tried could not be opened, for the reason given ("in use by another
    // program").
    void NotOpened(std::string reason);
    // The port being tried and where it stands in the list, from 1.
    const std::string& Trying() const { return Ports[Tried.size() - 1]; }
    std::size_t TryingNumber() const { return Tried.size(); }
    std::size_t PortCount() const { return Ports.size(); }

    // What the dialog says while the port is tried: "Looking for the meter on COM6 (2 of 4)".
    std::string TryingText() const;
    // What it says when no port answered, naming every port tried and why those that could not
    // be opened were not: "No meter answered on COM5, COM6 (in use by another program)."
    std::string NoMeterText() const;

  private:
    struct Try {
        std::string Port;
        std::string NotOpenedBecause; // empty: opened and asked
    };
    std::vector<std::string> Ports;
    std::vector<Try> Tried;
};

// Why a port could not be opened, from the system's error code, in the words of the list.
std::string PortNotOpenedReason(unsigned long systemError);
