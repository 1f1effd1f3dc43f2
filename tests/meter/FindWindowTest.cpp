// Find in the port dialog, against the virtual meters on COM6 (the meter), COM7 and COM8 (told
// by each case to be silent, to answer with a text that names no meter, or held open by the test
// as by another program) and COM13, which no system has.
#include "LinkFixture.h"

#include <map>

namespace {

enum class Role { Meter, Silent, OtherText, Busy };

class FindTest : public LinkTest {
  protected:
    void TearDown() override {
        Release();
        LinkTest::TearDown();
    }

    // Tells the virtual meter on the port what to be; a busy port stays open here until the
    // next call.
    void Give(const char* port, Role role) {
        const std::string cues = std::string("\r!reset\r") +
                                 (role == Role::Silent ? "!silent 1\r" : "") +
                                 (role == Role::OtherText ? "!id SCALE 2.0\r" : "");
        HANDLE line =
            CreateFileA(port, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(line, INVALID_HANDLE_VALUE) << port;
        DWORD written = 0;
        WriteFile(line, cues.data(), static_cast<DWORD>(cues.size()), &written, nullptr);
        // The meter takes its cues as it logs them.
        const std::string log = Lower(port);
        EXPECT_TRUE(WaitUntil([&] { return MeterLog(log).ends_with(cues); })) << port;
        if (role == Role::Busy)
            Held[port] = line;
        else
            CloseHandle(line);
    }
    void Release() {
        for (const auto& [port, line] : Held)
            CloseHandle(line);
        Held.clear();
    }

    // Connect over the ports listed, in this order.
    void ConnectOver(const std::vector<std::string>& ports) {
        // The old key goes first: it takes the path with it.
        Key.reset();
        Key = std::make_unique<PortKey>(ports);
        Form->Session.PortList = {HKEY_CURRENT_USER, Key->Path};
        if (WindowText(Form->sbStart) != "Connect")
            ClickStart(); // Disconnect
        ClickStart();     // Connect
    }
    void ClickFind() { Click(Form2->btFind, 5, 5); }
    std::string DialogSays() const { return WindowText(Form2->Hint); }
    bool FindOver() {
        return WaitUntil([&] { return !Form->Session.Finding(); }, 20000);
    }

    static std::string Lower(std::string port) {
        for (char& c : port)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return port;
    }
    // Whether the meter on the port has been asked to name itself since its log was that long.
    static bool AskedSince(const std::string& port, std::size_t logLength) {
        return MeterLog(Lower(port)).find("\x02V?\r", logLength) != std::string::npos;
    }

    std::unique_ptr<PortKey> Key;
    std::map<std::string, HANDLE> Held;
};

TEST_F(FindTest, EndsOnThePortWhoseMeterNamesItselfOrSaysWhyNoneDid) {
    const struct {
        const char* Name;
        std::vector<std::string> Ports;
        Role Com7, Com8;
        bool ByAltD;
        const char* Found; // the port left chosen and open, nullptr for none
        std::vector<std::string> Asked;
        std::string Says;
    } cases[] = {
        {"the meter on the first of four ports",
         {"COM6", "COM7", "COM8", "COM13"},
         Role::Silent,
         Role::OtherText,
         false,
         "COM6",
         {"COM6"},
         "The meter answered on COM6."},
        {"the meter on the fourth, after a silent port, one that answers with another text and "
         "one that is not there, by Alt+D",
         {"COM7", "COM8", "COM13", "COM6"},
         Role::Silent,
         Role::OtherText,
         true,
         "COM6",
         {"COM7", "COM8", "COM6"},
         "The meter answered on COM6."},
        {"the meter after a port in use by another program",
         {"COM7", "COM8", "COM6"},
         Role::Busy,
         Role::Silent,
         false,
         "COM6",
         {"COM8", "COM6"},
         "The meter answered on COM6."},
        {"no meter on any port",
         {"COM7", "COM8", "COM13"},
         Role::OtherText,
         Role::Busy,
         false,
         nullptr,
         {"COM7"},
         "No meter answered on COM7, COM8 (in use by another program), COM13 (not present)."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        Give("COM7", c.Com7);
        Give("COM8", c.Com8);
        const std::map<std::string, std::size_t> logs = {{"COM6", MeterLog("com6").size()},
                                                         {"COM7", MeterLog("com7").size()},
                                                         {"COM8", MeterLog("com8").size()}};
        ConnectOver(c.Ports);
        if (c.ByAltD)
            Keystroke('D', VK_MENU);
        else
            ClickFind();
        ASSERT_TRUE(Form->Session.Finding()) << "Find started";
        EXPECT_FALSE(IsWindowEnabled(Form2->btTestComm)) << "nothing else opens a port meanwhile";
        ASSERT_TRUE(FindOver());
        EXPECT_EQ(DialogSays(), c.Says);
        for (const auto& [port, length] : logs) {
            const bool asked = std::ranges::find(c.Asked, port) != c.Asked.end();
            EXPECT_EQ(AskedSince(port, length), asked) << port;
        }
        Release();
        for (const std::string port : {"COM7", "COM8"}) {
            if (!c.Found || port != c.Found) {
                EXPECT_TRUE(PortIsFree(port.c_str())) << port << " left open";
            }
        }
        EXPECT_TRUE(IsWindowEnabled(Form2->btTestComm));
        if (c.Found) {
            EXPECT_TRUE(Form->Session.Comm32.Connected());
            EXPECT_EQ(Form->Session.Comm32.CommPort, c.Found);
            EXPECT_EQ(Entries()[Form2->COMM_select.ItemIndex()], c.Found);
            EXPECT_TRUE(IsWindowEnabled(Form2->btOK));
            EXPECT_EQ(GetFocus(), Form2->btOK);
            EXPECT_EQ(RememberedMeterPort(), c.Found);
        } else {
            EXPECT_FALSE(Form->Session.Comm32.Connected());
            EXPECT_FALSE(IsWindowEnabled(Form2->btOK));
            EXPECT_TRUE(PortIsFree("COM6"));
        }
    }
}

TEST_F(FindTest, StopsAtOnceWithNoPortLeftOpen) {
    const struct {
        const char* Way;
        std::function<void()> Stop;
        bool DialogStaysUp;
        const char* Button; // the main window's button afterwards
    } ways[] = {
        {"a second click on Find", [this] { ClickFind(); }, true, "Disconnect"},
        {"Escape", [this] { Keystroke(VK_ESCAPE); }, false, "Disconnect"},
        {"the close box", [this] { SendMessageA(Form2->Handle, WM_SYSCOMMAND, SC_CLOSE, 0); },
         false, "Disconnect"},
        {"Disconnect", [this] { ClickStart(); }, true, "Connect"},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.Way);
        Give("COM7", Role::Silent);
        const std::size_t meterLog = MeterLog("com6").size();
        const std::size_t silentLog = MeterLog("com7").size();
        ConnectOver({"COM7", "COM6"});
        ClickFind();
        // Find is on the silent port, which has been asked.
        ASSERT_TRUE(WaitUntil([&] { return AskedSince("COM7", silentLog); }));
        ASSERT_TRUE(Form->Session.Finding());
        way.Stop();
        EXPECT_FALSE(Form->Session.Finding());
        EXPECT_FALSE(Form->Session.Comm32.Connected());
        EXPECT_TRUE(PortIsFree("COM7"));
        EXPECT_TRUE(PortIsFree("COM6"));
        EXPECT_FALSE(AskedSince("COM6", meterLog)) << "Find went on to the next port";
        EXPECT_EQ(IsWindowVisible(Form2->Handle) != FALSE, way.DialogStaysUp);
        EXPECT_EQ(WindowText(Form->sbStart), way.Button);
        EXPECT_FALSE(IsWindowEnabled(Form2->btOK));
        if (way.DialogStaysUp) {
            EXPECT_EQ(DialogSays(), "Find stopped; no port is open.");
        }
    }
}

// Windows names a port by its device where it knows one; Wine knows none, so the test gives them.
TEST_F(FindTest, PortsAreListedWithTheirDeviceNamesAndOpenedByTheirOwn) {
    Key = std::make_unique<PortKey>(std::vector<std::string>{"COM6", "COM7"});
    Form->Session.PortList = {HKEY_CURRENT_USER, Key->Path, [] {
                                  return PortDeviceNames{{"COM6", "USB Serial Port (COM6)"}};
                              }};
    ClickStart();
    EXPECT_EQ(Entries(), (std::vector<std::string>{"COM6 - USB Serial Port", "COM7", "other = "}));
    ChooseEntry("COM6 - USB Serial Port");
    ClickTest();
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(Form2->btOK); }));
    EXPECT_EQ(Form->Session.Comm32.CommPort, "COM6");
}

} // namespace
