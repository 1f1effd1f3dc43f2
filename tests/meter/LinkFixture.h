#pragma once
// The fixture of the link's window tests: the real windows under Wine against the virtual meter
// of scripts/virtual-meter.sh on COM6, with the meter's log of what it received.
#include "MessagePump.h"
#include "MeterRecords.h"
#include "WindowDriver.h"
#include "ui/controls/StandardControls.h"
#include "ui/port_dialog/PortDialog.h"
#include "ui/win32/UserSettings.h"

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>

inline constexpr const char* MeterPort = "COM6";
inline const std::string Identification = "KAVRA TINTRA VIRTUAL 1.0";

// What the virtual meter on the port ("com6") has received since it started.
inline std::string MeterLog(const std::string& port = "com6") {
    char ports[MAX_PATH] = "";
    GetEnvironmentVariableA("WMX_PORTS", ports, MAX_PATH);
    std::ifstream file(std::string("Z:") + ports + "/received-" + port + ".log", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// A list of serial ports of the test's own, in the order given, for the session to read in place
// of the system's.
class PortKey {
  public:
    explicit PortKey(const std::vector<std::string>& ports) {
        RegCreateKeyExA(HKEY_CURRENT_USER, Path.c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, &Key, nullptr);
        for (std::size_t i = 0; i < ports.size(); ++i) {
            // Names in the order the registry sorts them.
            const std::string name =
                "\\Device\\Serial" + std::string(i < 10 ? "0" : "") + std::to_string(i);
            RegSetValueExA(Key, name.c_str(), 0, REG_SZ,
                           reinterpret_cast<const BYTE*>(ports[i].c_str()),
                           static_cast<DWORD>(ports[i].size() + 1));
        }
    }
    ~PortKey() {
        RegCloseKey(Key);
        RegDeleteKeyA(HKEY_CURRENT_USER, Path.c_str());
    }
    const std::string Path = "Software\\wmx-tests\\link-ports";

  private:
    HKEY Key = nullptr;
};

inline bool IsWaitCursor() {
    return GetCursor() == LoadCursor(nullptr, IDC_WAIT);
}

class LinkTest : public MainFormTest {
  protected:
    void SetUp() override {
        MainFormTest::SetUp();
        // Each test starts with no port remembered from an earlier identification.
        RememberMeterPort("");
        WriteConfig(*SampleStore());
        ShowWindow();
        LogStart = MeterLog().size();
    }
    void TearDown() override {
        RememberMeterPort("");
        MainFormTest::TearDown();
    }

    // Handles messages until the condition holds; false after a generous safety limit.
    bool WaitUntil(const std::function<bool()>& done, DWORD limitMs = 8000) {
        return PumpUntil(done, limitMs);
    }
    void Pump(DWORD ms) {
        WaitUntil([] { return false; }, ms);
    }

    std::vector<std::string> Entries() const {
        std::vector<std::string> entries;
        for (int i = 0; i < Form2->COMM_select.Count(); ++i)
            entries.push_back(WindowText(Form2->COMM_select.Entry(i)));
        return entries;
    }
    void ChooseEntry(const std::string& text) {
        const auto entries = Entries();
        const auto found = std::find(entries.begin(), entries.end(), text);
        ASSERT_NE(found, entries.end()) << text << " is not listed";
        Click(Form2->COMM_select.Entry(static_cast<int>(found - entries.begin())), 5, 5);
    }
    void ClickStart() { Click(Form->sbStart, 5, 5); }
    void ClickTest() { Click(Form2->btTestComm, 5, 5); }
    void ClickOk() { Click(Form2->btOK, 5, 5); }
    // A cue to the meter beside the program's own requests (the meter's own control line).
    void Cue(const std::string& cue) {
        const std::string bytes = "\r!" + cue + "\r";
        ASSERT_TRUE(
            Form->Session.Comm32.QueueSend(bytes.data(), static_cast<std::uint16_t>(bytes.size())));
    }

    // Connect, the meter's port, TEST and the identification; the meter starts afresh.
    void Identify() {
        ClickStart();
        ChooseEntry(MeterPort);
        ClickTest();
        ASSERT_TRUE(Form->Session.Comm32.Connected());
        Cue("reset");
        ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(Form2->btOK); }));
    }
    // Identified, a meter that answers record 1 but ignores record 2, OK, and the poll stuck at
    // record 2 for two ticks.
    void PollStuckAtRecordTwo() {
        Identify();
        Cue("ignore 2 100000");
        ClickOk();
        ASSERT_TRUE(WaitUntil([&] { return std::ranges::count(RequestedRecords(), 2) >= 2; }));
    }

    // The record numbers of the measurement requests that reached the meter in this test.
    std::vector<int> RequestedRecords() const {
        const std::string log = MeterLog().substr(LogStart);
        std::vector<int> records;
        for (auto at = log.find("\x02P?"); at != std::string::npos && at + 4 < log.size();
             at = log.find("\x02P?", at + 1)) {
            EXPECT_EQ(log[at + 4], '\r');
            records.push_back(log[at + 3] - '0');
        }
        return records;
    }
    static std::vector<int> WithoutRepeats(std::vector<int> records) {
        records.erase(std::unique(records.begin(), records.end()), records.end());
        return records;
    }

    // The port is free again: another component can open it.
    static bool PortIsFree(const char* port = MeterPort) {
        TComm32 probe;
        probe.CommPort = port;
        try {
            probe.OpenPort();
        } catch (const ECommsError&) {
            return false;
        }
        probe.ClosePort();
        return true;
    }

    // File > Save As into the working folder, and the set that file then holds.
    std::unique_ptr<MeasurementSet> SaveAsAndReadBack(const std::string& name) {
        Dialogs.Expect(ChooseFile(Path(name)));
        PostMessageA(Form->Handle, WM_COMMAND, idFileSaveAsItem, 0);
        ProcessMessages();
        auto saved = std::make_unique<MeasurementSet>();
        ReadMeasurementFile(Path(name), *saved);
        return saved;
    }
    // The poll reads until record 9 has been answered, however late the replies.
    bool WaitForThePollToEnd() {
        return WaitUntil([&] { return !Form->Session.Timer2.Enabled(); }, 60000);
    }
    // Every row shows the reading of its own record, in the table and in the store.
    void ExpectEveryRowHoldsItsOwnRecord() {
        for (int r = 1; r <= 9; ++r) {
            EXPECT_EQ(RecordReading(Form->Tabela.Cells(3, r)), r)
                << "row " << r << " shows the front reading of record "
                << RecordReading(Form->Tabela.Cells(3, r));
            ExpectRowHolds(r, MeterRecords[r - 1]);
        }
    }

    void ExpectRowHolds(int row, const Expected& e) {
        SCOPED_TRACE("row " + std::to_string(row));
        EXPECT_EQ(Form->Tabela.Cells(3, row), e.Front);
        EXPECT_EQ(Form->Tabela.Cells(4, row), e.Left);
        EXPECT_EQ(Form->Tabela.Cells(5, row), e.Right);
        const MeasurementRecord& slot = MeasurementStore.Slot(row);
        EXPECT_EQ(slot.FrontValue, e.FrontValue);
        EXPECT_EQ(slot.LeftValue, e.LeftValue);
        EXPECT_EQ(slot.RightValue, e.RightValue);
    }
    void ExpectRowEmpty(int row) {
        SCOPED_TRACE("row " + std::to_string(row));
        const std::string cells[] = {"00-00-00", "00:00:00", "0,0", "0,0", "0,0"};
        for (int c = 1; c <= 5; ++c)
            EXPECT_EQ(Form->Tabela.Cells(c, row), cells[c - 1]);
    }

    std::size_t LogStart = 0;
};
