// Find's bookkeeping: the ports in turn, what the dialog says while and after it tries them, and
// how a port is listed with its device name.
#include "meter/PortSearch.h"
#include "meter/PortEntryText.h"

#include <gtest/gtest.h>

namespace {

TEST(PortSearch, TriesEveryPortInTurnAndNamesWhyEachUnopenedOneWasNot) {
    PortSearch search({"COM3", "COM6", "COM7", "COM9"});
    const struct {
        const char* Port;
        unsigned long NotOpenedError; // 0: opened, and no meter named itself
        const char* Trying;
    } tries[] = {
        {"COM3", 0, "Looking for the meter on COM3 (1 of 4)"},
        {"COM6", 5, "Looking for the meter on COM6 (2 of 4)"},
        {"COM7", 33, "Looking for the meter on COM7 (3 of 4)"},
        {"COM9", 2, "Looking for the meter on COM9 (4 of 4)"},
    };
    for (const auto& t : tries) {
        EXPECT_EQ(search.Next(), t.Port);
        EXPECT_EQ(search.Trying(), t.Port);
        EXPECT_EQ(search.TryingText(), t.Trying);
        if (t.NotOpenedError)
            search.NotOpened(PortNotOpenedReason(t.NotOpenedError));
    }
    EXPECT_EQ(search.Next(), std::nullopt);
    EXPECT_EQ(search.NoMeterText(),
              "No meter answered on COM3, COM6 (in use by another program), COM7 (in use by "
              "another program), COM9 (not present).");
    EXPECT_EQ(PortNotOpenedReason(1167), "cannot be opened, error 1167");

    PortSearch none({});
    EXPECT_EQ(none.Next(), std::nullopt);
    EXPECT_EQ(none.NoMeterText(), "No serial port is listed to look for the meter on.");
}

TEST(PortEntryText, ShowsTheDeviceBesideThePortName) {
    const struct {
        const char* Port;
        const char* Device;
        const char* Entry;
    } cases[] = {
        {"COM6", "USB Serial Port (COM6)", "COM6 - USB Serial Port"},
        {"COM1", "Communications Port (COM1)", "COM1 - Communications Port"},
        {"COM6", "Meter adapter", "COM6 - Meter adapter"},
        {"COM6", "Adapter (COM16)", "COM6 - Adapter (COM16)"},
        {"COM6", "", "COM6"},
        {"COM6", " (COM6)", "COM6"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PortEntryText(c.Port, c.Device), c.Entry) << c.Device;
}

} // namespace
