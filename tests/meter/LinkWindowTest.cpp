// The meter link in the real windows under Wine: Connect, the port dialog, TEST, OK and the
// poll, against the virtual meter of scripts/virtual-meter.sh on COM6.
#include "Accessibility.h"
#include "LinkFixture.h"

#include <dbt.h>

#include <thread>

namespace {

// A volatile key of the test's own under HKEY_CURRENT_USER, with the given values in order.
// Tells the dialog that the system's ports changed, as Windows does when an adapter is plugged in
// or pulled (Wine never does).
void PortsChanged() {
    SendMessageA(Form2->Handle, WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0);
}

TEST_F(LinkTest, TheDialogSelectsThePortThatLastIdentifiedAMeterWhereItIsListed) {
    Identify();
    EXPECT_EQ(RememberedMeterPort(), MeterPort);
    const struct {
        const char* Remembered;
        const char* Selected;
    } cases[] = {{"COM1", "COM1"}, {"COM3", "COM3"}, {"COM9", "COM4"}, {"", "COM4"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Remembered);
        RememberMeterPort(c.Remembered);
        PortKey key({"COM1", "COM3", "COM4"});
        Form->Session.PortList = {HKEY_CURRENT_USER, key.Path};
        ::ShowWindow(Form2->Handle, SW_HIDE);
        ClickStart(); // Disconnect
        ClickStart(); // Connect
        ASSERT_GE(Form2->COMM_select.ItemIndex(), 0);
        EXPECT_EQ(Entries()[Form2->COMM_select.ItemIndex()], c.Selected);
    }
}

TEST_F(LinkTest, TheListFollowsPortsThatComeAndGoWhileTheDialogIsShown) {
    auto key = std::make_unique<PortKey>(std::vector<std::string>{"COM1", "COM3"});
    Form->Session.PortList = {HKEY_CURRENT_USER, key->Path};
    ClickStart();
    const auto change = [&](const std::vector<std::string>& ports) {
        key.reset();
        key = std::make_unique<PortKey>(ports);
        PortsChanged();
    };
    const auto selected = [&] {
        const int index = Form2->COMM_select.ItemIndex();
        return index >= 0 ? Entries()[index] : std::string("(none)");
    };
    // Nothing chosen yet: a port that comes is chosen.
    change({"COM1", "COM3", "COM4"});
    EXPECT_EQ(Entries(), (std::vector<std::string>{"COM1", "COM3", "COM4", "other = "}));
    EXPECT_EQ(selected(), "COM4");
    EXPECT_EQ(WindowText(Form->sbStart), "Disconnect") << "no Connect again";
    // The user's choice stays while its port is there.
    ChooseEntry("COM1");
    change({"COM1", "COM4", "COM5"});
    EXPECT_EQ(Entries(), (std::vector<std::string>{"COM1", "COM4", "COM5", "other = "}));
    EXPECT_EQ(selected(), "COM1");
    change({"COM4", "COM5"});
    EXPECT_EQ(selected(), "COM5") << "the last port found, once the chosen one has gone";
    // The port being tested stays listed when the system no longer lists it.
    change({MeterPort, "COM5"});
    ChooseEntry(MeterPort);
    ClickTest();
    ASSERT_TRUE(Form->Session.Comm32.Connected());
    change({"COM5"});
    EXPECT_EQ(Entries(), (std::vector<std::string>{"COM5", MeterPort, "other = "}));
    EXPECT_EQ(selected(), MeterPort);
    EXPECT_TRUE(Form->Session.Comm32.Connected());
}

TEST_F(LinkTest, APortThatDoesNotAnswerSaysSoAndStopsOnceTheMeterAnswers) {
    Identify();
    EXPECT_EQ(Form->StatusText(0), std::string("Port: ") + MeterPort);
    Cue("silent 1");
    Pump(100);
    ClickTest();
    EXPECT_EQ(Form->StatusText(0), "Port: ") << "not the port that answered before";
    const std::string noAnswer = std::string("No answer from the meter on ") + MeterPort;
    ASSERT_TRUE(WaitUntil([&] { return Form->StatusText(3) == noAnswer; }));
    EXPECT_EQ(WindowText(Form2->Hint), noAnswer) << "said in the dialog, which may cover the bar";
    EXPECT_FALSE(IsWindowEnabled(Form2->btOK));
    // Each TEST starts without the hint of the one before.
    ClickTest();
    EXPECT_EQ(Form->StatusText(3), "");
    EXPECT_EQ(WindowText(Form2->Hint), "");
    Cue("silent 0");
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(Form2->btOK); }));
    EXPECT_EQ(Form->StatusText(3), "");
    EXPECT_EQ(WindowText(Form2->Hint), "");
    EXPECT_EQ(Form->StatusText(0), std::string("Port: ") + MeterPort);
}

TEST_F(LinkTest, ConnectResetsTheTableAndShowsTheDialogWithThePortsOfTheSystem) {
    const std::string storedFront = GetText(MeasurementStore.Slot(3).FrontText);
    ASSERT_NE(Form->Tabela.Cells(3, 3), "0,0");
    ClickStart();
    for (int r = 1; r <= 9; ++r) {
        ExpectRowEmpty(r);
        EXPECT_EQ(Form->Tabela.Cells(0, r), std::to_string(r));
    }
    EXPECT_EQ(Form->Tabela.Cells(3, 0), "front");
    EXPECT_EQ(GetText(MeasurementStore.Slot(3).FrontText), storedFront) << "the store is kept";
    EXPECT_EQ(WindowText(Form->sbStart), "Disconnect");
    EXPECT_TRUE(IsWindowVisible(Form2->Handle));
    EXPECT_EQ(WindowText(Form2->btTestComm), "TEST");
    // The rig's prefix lists COM5..COM8, the meter's port among them.
    EXPECT_EQ(Entries(), (std::vector<std::string>{"COM5", "COM6", "COM7", "COM8", "other = "}));
    EXPECT_EQ(Form2->COMM_select.ItemIndex(), 3);
    EXPECT_FALSE(IsWindowEnabled(Form2->btOK));
    EXPECT_FALSE(IsWindowVisible(Form2->COMM));
}

TEST_F(LinkTest, DialogListsTheKeysPortsInOrderWithinItsBox) {
    std::vector<std::string> many;
    for (int i = 0; i < 20; ++i)
        many.push_back("COM" + std::to_string(20 - i));
    const struct {
        std::vector<std::string> Ports;
        std::vector<std::string> Listed;
    } cases[] = {
        {{"COM1", "COM3"}, {"COM1", "COM3", "other = "}},
        {many,
         [&] {
             std::vector<std::string> listed(many.begin(), many.begin() + 16);
             listed.push_back("other = ");
             return listed;
         }()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Ports.size());
        PortKey key(c.Ports);
        Form->Session.PortList = {HKEY_CURRENT_USER, key.Path};
        ClickStart();
        EXPECT_EQ(Entries(), c.Listed);
        EXPECT_EQ(Form2->COMM_select.ItemIndex(), static_cast<int>(c.Listed.size()) - 2);
        EXPECT_FALSE(IsWindowEnabled(Form2->btOK));
        // Every entry lies inside the group box, below its caption, apart from the others.
        RECT box;
        GetClientRect(Form2->COMM_select.Handle, &box);
        std::vector<RECT> placed;
        for (int i = 0; i < Form2->COMM_select.Count(); ++i) {
            RECT r;
            GetWindowRect(Form2->COMM_select.Entry(i), &r);
            MapWindowPoints(nullptr, Form2->COMM_select.Handle, reinterpret_cast<POINT*>(&r), 2);
            EXPECT_TRUE(r.left >= 0 && r.top >= 8 && r.right <= box.right && r.bottom <= box.bottom)
                << "entry " << i;
            EXPECT_GE(r.bottom - r.top, 16) << "entry " << i;
            for (const RECT& other : placed) {
                RECT overlap;
                EXPECT_FALSE(IntersectRect(&overlap, &r, &other)) << "entry " << i;
            }
            placed.push_back(r);
        }
        // Disconnect leaves the dialog up; Connect then starts it afresh, on the last port found.
        ChooseEntry("other = ");
        ClickStart();
        EXPECT_EQ(WindowText(Form->sbStart), "Connect");
        EXPECT_TRUE(IsWindowVisible(Form2->Handle));
        ClickStart();
        EXPECT_EQ(Entries(), c.Listed);
        EXPECT_EQ(Form2->COMM_select.ItemIndex(), static_cast<int>(c.Listed.size()) - 2);
        ClickStart();
        SendMessageA(Form2->Handle, WM_CLOSE, 0, 0);
        EXPECT_FALSE(IsWindowVisible(Form2->Handle)) << "the close box hides the dialog";
    }
}

TEST_F(LinkTest, WithoutTheKeyOnlyOtherIsListedAfterAMessage) {
    Form->Session.PortList = {HKEY_CURRENT_USER, "Software\\wmx-tests\\no-such-key"};
    MessageBoxSeen box;
    Dialogs.Expect(AnswerMessageBox(box));
    ClickStart();
    EXPECT_EQ(box.Text, "serial ports not found");
    EXPECT_EQ(box.Caption, ApplicationTitle());
    EXPECT_FALSE(box.HasIcon);
    EXPECT_TRUE(IsWindowVisible(Form2->Handle));
    EXPECT_EQ(Entries(), std::vector<std::string>{"other = "});
    EXPECT_EQ(Form2->COMM_select.ItemIndex(), -1);
    // Nothing chosen: TEST does nothing.
    ClickTest();
    EXPECT_FALSE(Form->Session.Comm32.Connected());
    EXPECT_FALSE(Form->Session.Timer3.Enabled());
}

std::wstring CueBanner(HWND edit) {
    wchar_t cue[64] = L"";
    SendMessageW(edit, EM_GETCUEBANNER, reinterpret_cast<WPARAM>(cue), 64);
    return cue;
}

TEST_F(LinkTest, OtherShowsTheEditWhoseHintNeverTakesTheTypedName) {
    ClickStart();
    ChooseEntry("other = ");
    EXPECT_TRUE(IsWindowVisible(Form2->COMM));
    EXPECT_EQ(WindowText(Form2->COMM), "") << "the hint is no text";
    EXPECT_EQ(CueBanner(Form2->COMM), L"type other serial port (e.g. COM5)");
    Focus(Form2->COMM);
    Type(Form2->COMM, "COM9");
    PressKey(Form2->COMM, VK_TAB);
    EXPECT_NE(GetFocus(), Form2->COMM) << "Tab leaves the edit";
    EXPECT_TRUE(IsChild(Form2->Handle, GetFocus())) << "and stays in the dialog";
    Focus(Form2->btTestComm);
    Focus(Form2->COMM);
    EXPECT_EQ(WindowText(Form2->COMM), "COM9") << "coming back keeps the name typed";
    ChooseEntry("COM5");
    EXPECT_TRUE(IsWindowVisible(Form2->COMM)) << "the edit stays once shown";
    ChooseEntry("other = ");
    EXPECT_EQ(WindowText(Form2->COMM), "COM9");
    // The ports change while "other = " is chosen: the list follows, the name stays.
    {
        PortKey key({"COM5", "COM6", "COM7", "COM8", "COM10"});
        Form->Session.PortList = {HKEY_CURRENT_USER, key.Path};
        PortsChanged();
        EXPECT_EQ(Entries().back(), "other = ");
        EXPECT_EQ(Form2->COMM_select.ItemIndex(), Form2->COMM_select.Count() - 1);
        EXPECT_EQ(WindowText(Form2->COMM), "COM9");
    }
    Focus(Form2->COMM);
    SetWindowTextA(Form2->COMM, "");
    Type(Form2->COMM, MeterPort);
    ClickTest();
    Cue("reset");
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(Form2->btOK); }));
    EXPECT_EQ(Form->StatusText(0), "Port: COM6");
}

TEST_F(LinkTest, TestOnAMissingPortShowsTheErrorAndDoesNotIdentify) {
    ClickStart();
    ChooseEntry("other = ");
    MessageBoxSeen noName;
    Dialogs.Expect(AnswerMessageBox(noName));
    ClickTest();
    EXPECT_EQ(noName.Text, "Type the name of the serial port after \"other = \", e.g. COM5.");
    Focus(Form2->COMM);
    Type(Form2->COMM, "COM9");
    MessageBoxSeen box;
    Dialogs.Expect(AnswerMessageBox(box));
    ClickTest();
    EXPECT_EQ(box.Text, "Error opening com port COM9.");
    EXPECT_EQ(box.Caption, ApplicationTitle());
    EXPECT_TRUE(box.HasIcon);
    EXPECT_FALSE(Form->Session.Comm32.Connected());
    EXPECT_FALSE(Form->Session.Timer3.Enabled());
    EXPECT_FALSE(IsWindowEnabled(Form2->btOK));
    EXPECT_EQ(Form->StatusText(0), "Port:");
}

TEST_F(LinkTest, IdentificationEnablesOkAndShowsThePortUntilTheNextTest) {
    Identify();
    EXPECT_EQ(Form->StatusText(0), "Port: COM6");
    EXPECT_EQ(WindowText(Form->txtTmp), Identification);
    EXPECT_FALSE(Form->Session.Timer3.Enabled());
    EXPECT_EQ(RequestedRecords(), std::vector<int>{});
    ClickTest();
    EXPECT_FALSE(IsWindowEnabled(Form2->btOK));
    EXPECT_TRUE(Form->Session.Timer3.Enabled());
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(Form2->btOK); }));
}

// A screen reader on the table, on row 4, hears each row renamed by its reading as it arrives,
// and the row it is on spoken again.
TEST_F(LinkTest, OkReadsTheNineRecords) {
    ClickRow(4);
    Identify();
    IAccessible* table = ClientObject(Form->Tabela.Handle);
    ASSERT_TRUE(table);
    EXPECT_EQ(Name(*table, 5), "record 4, front 0,0, left 0,0, right 0,0, 00-00-00 00:00:00");
    WinEventLog log(EVENT_OBJECT_FOCUS, EVENT_OBJECT_NAMECHANGE);
    ClickOk();
    EXPECT_FALSE(IsWindowVisible(Form2->Handle));
    EXPECT_EQ(GetFocus(), Form->Tabela.Handle) << "the focus back on the table";
    ASSERT_TRUE(WaitUntil([&] { return IsWaitCursor(); })) << "the hourglass while polling";
    ASSERT_TRUE(WaitForThePollToEnd());
    // The poll ends with the reply to record 9. A busy machine may take a reply for late and ask
    // again; how many requests a meter in time takes is the link benchmark's to measure.
    EXPECT_EQ(Form->Tabela.Cells(3, 9), MeterRecords[8].Front);
    EXPECT_EQ(WithoutRepeats(RequestedRecords()), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(Form->StatusText(1), "Sent: " + std::to_string(RequestedRecords().size()));
    EXPECT_FALSE(IsWaitCursor());
    ExpectEveryRowHoldsItsOwnRecord();
    for (int r = 1; r <= 9; ++r) {
        EXPECT_EQ(Form->Tabela.Cells(1, r), ShortDateText());
        EXPECT_NE(Form->Tabela.Cells(2, r), "00:00:00");
    }
    EXPECT_EQ(WindowText(Form->txtTmp), "negative") << "the verdict of the last record";
    ProcessMessages();
    for (int r = 1; r <= 9; ++r) {
        SCOPED_TRACE("row " + std::to_string(r));
        const Expected& e = MeterRecords[r - 1];
        const std::string name = "record " + std::to_string(r) + ", front " + e.Front + ", left " +
                                 e.Left + ", right " + e.Right + ", " + Form->Tabela.Cells(1, r) +
                                 " " + Form->Tabela.Cells(2, r);
        EXPECT_EQ(Name(*table, r + 1), name);
        const auto renamed = log.Of(EVENT_OBJECT_NAMECHANGE, Form->Tabela.Handle, r + 1);
        ASSERT_FALSE(renamed.empty());
        EXPECT_EQ(renamed.back().Name, name) << "announced once complete";
        if (r == 4) {
            const auto spoken = log.Of(EVENT_OBJECT_FOCUS, Form->Tabela.Handle, r + 1);
            ASSERT_FALSE(spoken.empty());
            EXPECT_EQ(spoken.back().Name, name);
        }
    }
    table->Release();
    // Reading again starts from an empty table, once the user lets the unsaved readings go.
    ClickStart();
    MessageBoxSeen question;
    Dialogs.Expect(AnswerMessageBox(question, IDNO));
    ClickStart();
    EXPECT_EQ(question.Text, "Save changes to the measurements?");
    for (int r = 1; r <= 9; ++r)
        ExpectRowEmpty(r);
}

TEST_F(LinkTest, SilentMeterIsAskedForTheSameRecordEveryTick) {
    PollStuckAtRecordTwo();
    ASSERT_TRUE(WaitUntil([&] { return std::ranges::count(RequestedRecords(), 2) >= 4; }));
    EXPECT_EQ(WithoutRepeats(RequestedRecords()), (std::vector<int>{1, 2}));
    EXPECT_EQ(CurrentRecord, 2);
    EXPECT_TRUE(Form->Session.Timer2.Enabled());
    EXPECT_TRUE(IsWaitCursor());
    ExpectRowHolds(1, MeterRecords[0]);
    ExpectRowEmpty(2);
}

TEST_F(LinkTest, DeliveryWithoutCrAnswersNothingAndTheRecordIsAskedAgain) {
    PollStuckAtRecordTwo();
    Cue("noise 20");
    ASSERT_TRUE(WaitUntil([&] { return Form->StatusText(2) == "Received: 1"; }));
    const auto requestsForTwo = std::ranges::count(RequestedRecords(), 2);
    ASSERT_TRUE(
        WaitUntil([&] { return std::ranges::count(RequestedRecords(), 2) > requestsForTwo; }));
    EXPECT_EQ(WithoutRepeats(RequestedRecords()), (std::vector<int>{1, 2}));
    ExpectRowEmpty(2);
    Cue("ignore 2 0");
    ASSERT_TRUE(WaitForThePollToEnd());
    ExpectEveryRowHoldsItsOwnRecord();
}

// A meter whose replies come late, get ignored or come in pieces: every reading lands in the row of
// its own record, and the file saved after the poll holds them there.
struct AwkwardMeter {
    const char* Name;
    std::vector<std::string> Cues;
    friend void PrintTo(const AwkwardMeter& meter, std::ostream* out) { *out << meter.Name; }
};

class AwkwardMeterTest : public LinkTest, public testing::WithParamInterface<AwkwardMeter> {};

TEST_P(AwkwardMeterTest, EveryReadingLandsInItsOwnRowAndFile) {
    Identify();
    for (const std::string& cue : GetParam().Cues)
        Cue(cue);
    ClickOk();
    ASSERT_TRUE(WaitForThePollToEnd());
    EXPECT_FALSE(IsWaitCursor());
    EXPECT_EQ(WithoutRepeats(RequestedRecords()), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_GT(RequestedRecords().size(), 9u) << "a record the meter was awkward with asked again";
    ExpectEveryRowHoldsItsOwnRecord();

    const auto saved = SaveAsAndReadBack("awkward.wmx");
    for (unsigned n = 1; n <= 9; ++n) {
        SCOPED_TRACE("slot " + std::to_string(n));
        EXPECT_EQ(GetText(saved->Slot(n).FrontText), MeterRecords[n - 1].Front);
        EXPECT_EQ(saved->Slot(n).RightValue, MeterRecords[n - 1].RightValue);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Timings, AwkwardMeterTest,
    testing::Values(AwkwardMeter{"EveryReply350MsLate", {"delay 350"}},
                    AwkwardMeter{"TheReplyToRecord4350MsLate", {"late 4 350"}},
                    AwkwardMeter{"Record5IgnoredOnce", {"ignore 5"}},
                    AwkwardMeter{"Records3And7IgnoredOnce", {"ignore 3", "ignore 7"}},
                    AwkwardMeter{"Reply5SplitBy150Ms", {"split-next 5 150"}}),
    [](const testing::TestParamInfo<AwkwardMeter>& info) { return info.param.Name; });

TEST_F(LinkTest, SelectingRowFourMidPollAsksForRecordFourNext) {
    PollStuckAtRecordTwo();
    ClickRow(4);
    Cue("ignore 2 0");
    ASSERT_TRUE(WaitForThePollToEnd());
    EXPECT_EQ(WithoutRepeats(RequestedRecords()), (std::vector<int>{1, 2, 4, 5, 6, 7, 8, 9}));
    for (int r = 4; r <= 9; ++r)
        ExpectRowHolds(r, MeterRecords[r - 1]);
    ExpectRowEmpty(2);
}

// Disconnect leaves the dialog open, but neither TEST nor OK opens or reads a port while the
// main window says "Connect"; Connect starts the dialog afresh.
TEST_F(LinkTest, ConnectAfterDisconnectWithTheDialogOpenStartsItWithOkDisabled) {
    Identify();
    ASSERT_TRUE(IsWindowVisible(Form2->Handle));
    SetFocus(Form2->btTestComm);
    ClickStart(); // Disconnect
    EXPECT_FALSE(Form->Session.Comm32.Connected());
    EXPECT_FALSE(IsWindowEnabled(Form2->btOK));
    EXPECT_FALSE(IsWindowEnabled(Form2->btTestComm));
    ASSERT_TRUE(IsWindowVisible(Form2->Handle));
    EXPECT_EQ(GetFocus(), Form2->COMM_select.Entry(Form2->COMM_select.ItemIndex()))
        << "the keyboard stays in the dialog";
    ClickTest();
    SendMessageA(Form2->Handle, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(Form2->btTestComm), BN_CLICKED),
                 reinterpret_cast<LPARAM>(Form2->btTestComm));
    EXPECT_FALSE(Form->Session.Comm32.Connected()) << "TEST after Disconnect";
    EXPECT_TRUE(PortIsFree());
    EXPECT_EQ(WindowText(Form->sbStart), "Connect");
    ClickStart(); // Connect
    EXPECT_TRUE(IsWindowEnabled(Form2->btTestComm));
    EXPECT_FALSE(IsWindowEnabled(Form2->btOK));
    const int chosen = Form2->COMM_select.ItemIndex();
    ASSERT_GE(chosen, 0);
    EXPECT_EQ(GetFocus(), Form2->COMM_select.Entry(chosen));
    // Neither Enter, a click on OK nor its command starts a poll.
    Keystroke(VK_RETURN);
    ClickOk();
    SendMessageA(Form2->Handle, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(Form2->btOK), BN_CLICKED),
                 reinterpret_cast<LPARAM>(Form2->btOK));
    EXPECT_FALSE(Form->Session.Timer2.Enabled());
    EXPECT_TRUE(IsWindowVisible(Form2->Handle));
    EXPECT_FALSE(IsWindowEnabled(Form2->btOK));
}

TEST_F(LinkTest, DisconnectMidPollStopsItAndClosesThePort) {
    PollStuckAtRecordTwo();
    ClickStart();
    const std::size_t requests = RequestedRecords().size();
    EXPECT_EQ(WindowText(Form->sbStart), "Connect");
    EXPECT_EQ(Form->StatusText(0), "Port: COM6");
    EXPECT_EQ(Form->StatusText(1), "Sent: 0");
    EXPECT_EQ(Form->StatusText(2), "Received: 0");
    EXPECT_FALSE(IsWaitCursor());
    EXPECT_TRUE(PortIsFree());
    Pump(800);
    EXPECT_EQ(RequestedRecords().size(), requests) << "no requests after Disconnect";
}

// A pulled cable ends the port's workers: the port is closed as by Disconnect, so that no poll
// asks a dead line for ever and OK cannot start one, and the hint panel names the port.
TEST_F(LinkTest, ALineLostBeforeOkOrMidPollClosesThePortAndSaysSo) {
    const struct {
        const char* When;
        std::function<void()> Reach;
        bool RecordOneRead;
    } cases[] = {
        {"identified, before OK", [this] { Identify(); }, false},
        {"mid-poll", [this] { PollStuckAtRecordTwo(); }, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.When);
        // Connect asks nothing about readings of an earlier case.
        Form->MeasurementsChanged = false;
        c.Reach();
        Cue("hangup");
        ASSERT_TRUE(WaitUntil([&] { return !Form->Session.Comm32.Connected(); }));
        EXPECT_EQ(WindowText(Form->sbStart), "Connect");
        EXPECT_FALSE(Form->Session.Timer2.Enabled());
        EXPECT_FALSE(Form->Session.Timer3.Enabled());
        EXPECT_FALSE(IsWaitCursor());
        EXPECT_FALSE(IsWindowEnabled(Form2->btOK));
        EXPECT_FALSE(IsWindowEnabled(Form2->btTestComm));
        EXPECT_EQ(Form->StatusText(3), "The line to the meter on COM6 was lost");
        EXPECT_TRUE(PortIsFree());
        if (c.RecordOneRead)
            ExpectRowHolds(1, MeterRecords[0]);
    }
}

TEST_F(LinkTest, ClosingTheWindowOrExitWhilePollingClosesThePort) {
    const std::function<void(MainWindowParts&)> closers[] = {
        [](MainWindowParts& form) { PostMessageA(form.Handle, WM_SYSCOMMAND, SC_CLOSE, 0); },
        [](MainWindowParts& form) { PostMessageA(form.Handle, WM_COMMAND, idFileExitItem, 0); },
    };
    for (const auto& close : closers) {
        PollStuckAtRecordTwo();
        // Record 1 has been read, so closing asks about the changed set first; it is let go.
        MessageBoxSeen question;
        Dialogs.Expect(AnswerMessageBox(question, IDNO));
        close(*Form);
        EXPECT_EQ(RunMessageLoop(), 0);
        EXPECT_EQ(question.Text, "Save changes to the measurements?");
        EXPECT_FALSE(IsWindow(Form->Handle));
        EXPECT_TRUE(PortIsFree());
        // A fresh window for the next way of closing.
        NewWindow();
        ShowWindow();
        LogStart = MeterLog().size();
    }
}

// Another program's WM_CLOSE reaches the window while Disconnect waits for the port's workers,
// which handles sent messages: the window closes once, after the wait, and the close under way is
// the only one.
TEST_F(LinkTest, ACloseSentDuringDisconnectsWaitClosesTheWindowOnceAfterIt) {
    Identify();
    Form->MeasurementsChanged = true;
    MessageBoxSeen question;
    Dialogs.Expect(AnswerMessageBox(question, IDNO));
    // Queued for the main thread's next look at its messages, which is Disconnect's wait: the
    // command is sent, so nothing handles the queue before.
    std::thread([this] { SendNotifyMessageA(Form->Handle, WM_CLOSE, 0, 0); }).join();
    SendMessageA(Form->Handle, WM_COMMAND, idsbStart, 0);
    ASSERT_TRUE(IsWindow(Form->Handle)) << "closed inside the wait";
    EXPECT_EQ(WindowText(Form->sbStart), "Connect");
    EXPECT_FALSE(Form->Session.Comm32.Connected());
    EXPECT_TRUE(question.Text.empty()) << "asked inside the wait";
    EXPECT_EQ(RunMessageLoop(), 0);
    EXPECT_EQ(question.Text, "Save changes to the measurements?");
    EXPECT_FALSE(IsWindow(Form->Handle));
    EXPECT_TRUE(PortIsFree());
}

} // namespace
