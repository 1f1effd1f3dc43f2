// The meter read, saved and printed with the keyboard alone, the port dialog in front of the main
// window, and what a poll leaves in the store: real keystrokes into the real windows under Wine,
// against the virtual meter on COM6.
#include "LinkFixture.h"

namespace {

// The verdicts of the meter's nine measurements: 75,0 and 70,0 pass, 069,9 and 074,9 do not.
const char* const Verdicts[9] = {"negative", "positive", "positive", "positive", "negative",
                                 "positive", "positive", "negative", "negative"};

class KeyboardTest : public LinkTest {
  protected:
    // The window in front, as after a click on it; the keys go where its focus is.
    void Activate(HWND window) {
        SetForegroundWindow(window);
        ProcessMessages();
    }
    void Keys(std::initializer_list<WORD> keys) {
        for (WORD key : keys)
            Keystroke(key);
    }
};

TEST_F(KeyboardTest, KeysAloneReadTheMeterAndPrintTheReport) {
    Activate(Form->Handle);
    ASSERT_EQ(GetFocus(), Form->Edit1);

    Keystroke(VK_F5);
    ASSERT_EQ(WindowText(Form->sbStart), "Disconnect") << "F5 connects";
    ASSERT_TRUE(IsWindowVisible(Form2->Handle));
    EXPECT_EQ(GetForegroundWindow(), Form2->Handle);
    EXPECT_EQ(GetFocus(), Form2->COMM_select.Entry(3)) << "the group's choice takes the focus";

    // The arrows move the choice round the group and raise its selection handler.
    Keystroke(VK_DOWN);
    EXPECT_EQ(Form2->COMM_select.ItemIndex(), 4);
    EXPECT_TRUE(IsWindowVisible(Form2->COMM)) << "choosing other = shows the edit";
    Keystroke(VK_DOWN);
    EXPECT_EQ(Form2->COMM_select.ItemIndex(), 0) << "and wraps round";
    Keystroke(VK_UP);
    EXPECT_EQ(Form2->COMM_select.ItemIndex(), 4);
    Keys({VK_RIGHT, VK_RIGHT});
    EXPECT_EQ(Form2->COMM_select.ItemIndex(), 1);
    EXPECT_EQ(GetFocus(), Form2->COMM_select.Entry(1));

    // One tab stop for the group: Tab goes on to the edit, then to TEST (OK is disabled).
    Keystroke(VK_TAB);
    EXPECT_EQ(GetFocus(), Form2->COMM);
    Keystroke(VK_TAB);
    EXPECT_EQ(GetFocus(), Form2->btTestComm);
    Keystroke(VK_TAB, VK_SHIFT);
    Keystroke(VK_TAB, VK_SHIFT);
    EXPECT_EQ(GetFocus(), Form2->COMM_select.Entry(1)) << "back to the group's choice";
    Keystroke(VK_RETURN);
    EXPECT_FALSE(Form->Session.Timer2.Enabled()) << "Enter does nothing while OK is disabled";
    EXPECT_TRUE(IsWindowVisible(Form2->Handle));

    Keys({VK_TAB, VK_TAB, VK_SPACE});
    ASSERT_TRUE(Form->Session.Comm32.Connected()) << "Space pressed TEST";
    EXPECT_EQ(Form->Session.Comm32.CommPort, MeterPort);
    Cue("reset");
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(Form2->btOK); }));
    // The meter has named itself: the focus moves from TEST to OK, so that Enter reads it. Enter
    // presses OK from the other controls too.
    EXPECT_EQ(GetFocus(), Form2->btOK);
    Keystroke(VK_TAB);
    ASSERT_EQ(GetFocus(), Form2->btTestComm);
    Keystroke(VK_TAB, VK_SHIFT);
    EXPECT_EQ(GetFocus(), Form2->btOK) << "OK is a tab stop once enabled";
    Keystroke(VK_TAB, VK_SHIFT);
    ASSERT_EQ(GetFocus(), Form2->COMM);
    Keystroke(VK_RETURN);
    EXPECT_FALSE(IsWindowVisible(Form2->Handle)) << "Enter pressed OK";
    ASSERT_TRUE(WaitForThePollToEnd());
    ExpectEveryRowHoldsItsOwnRecord();

    // Back in the main window: Tab to the grid, Down to row 4, Ctrl+P and Enter in the dialog.
    EXPECT_EQ(GetForegroundWindow(), Form->Handle);
    EXPECT_EQ(GetFocus(), Form->Edit1) << "the focus comes back where it was";
    for (int i = 0; i < 9; ++i)
        Keystroke(VK_TAB);
    ASSERT_EQ(GetFocus(), Form->Tabela.Handle);
    Keys({VK_DOWN, VK_DOWN, VK_DOWN});
    ASSERT_EQ(Form->Tabela.Row(), 4);
    ASSERT_TRUE(CopyFileA(WMX_REPORT_FORM, Path("protokol.bmp").c_str(), FALSE));
    const int pdfs = PdfCount();
    Dialogs.Expect([](HWND) { SendKeystroke(VK_RETURN); });
    Keystroke('P', VK_CONTROL);
    EXPECT_EQ(Dialogs.Pending(), 0u) << "Ctrl+P opened the print dialog";
    EXPECT_EQ(CurrentRecord, 4);
    EXPECT_TRUE(WaitUntil([&] { return PdfCount() > pdfs; }, 20000))
        << "no report reached the queue";
}

// Reopened after TEST had the focus, the dialog starts on the chosen port again; the main
// window's keys work in the dialog as well.
TEST_F(KeyboardTest, TheDialogReopensOnItsChosenPortAndTheMainKeysWorkInIt) {
    Activate(Form->Handle);
    Keystroke(VK_F5);
    ASSERT_EQ(GetForegroundWindow(), Form2->Handle);
    ChooseEntry(MeterPort);
    ClickTest();
    ASSERT_TRUE(Form->Session.Comm32.Connected());
    Focus(Form2->btTestComm);
    Keystroke(VK_ESCAPE);
    ASSERT_FALSE(IsWindowVisible(Form2->Handle));
    Keystroke(VK_F5); // Disconnect, in the main window
    Keystroke(VK_F5); // Connect
    ASSERT_EQ(GetForegroundWindow(), Form2->Handle);
    const int chosen = Form2->COMM_select.ItemIndex();
    ASSERT_GE(chosen, 0);
    EXPECT_EQ(GetFocus(), Form2->COMM_select.Entry(chosen));
    Keystroke(VK_F5);
    EXPECT_EQ(WindowText(Form->sbStart), "Connect") << "F5 in the dialog disconnects";
    std::string filter;
    Dialogs.Expect(ChooseFile(Path("from-dialog.wmx"), &filter));
    Activate(Form2->Handle);
    Keystroke('S', VK_CONTROL);
    EXPECT_EQ(filter, "pliki wmx (*.wmx)")
        << "Ctrl+S in the dialog saves (as Save As: no file yet)";
}

// Connect and Disconnect in a menu of their own, with their key, as the tool button says.
TEST_F(KeyboardTest, TheMeterMenuConnectsAndDisconnectsAsTheToolButton) {
    const auto itemText = [&](HMENU menu, UINT item, UINT by) {
        char text[64] = "";
        GetMenuStringA(menu, item, text, sizeof text, by);
        return std::string(text);
    };
    EXPECT_EQ(itemText(Form->MainMenu, 1, MF_BYPOSITION), "&Meter");
    EXPECT_EQ(itemText(Form->MeterMenu, idsbStart, MF_BYCOMMAND), "&Connect\tF5");
    for (const char* caption : {"Disconnect", "Connect"}) {
        PostMessageA(Form->Handle, WM_COMMAND, idsbStart, 0);
        ProcessMessages();
        EXPECT_EQ(WindowText(Form->sbStart), caption);
        EXPECT_EQ(itemText(Form->MeterMenu, idsbStart, MF_BYCOMMAND),
                  std::string("&") + caption + "\tF5");
    }
}

TEST_F(KeyboardTest, EscapeHidesThePortDialogAsItsCloseBoxDoes) {
    Activate(Form->Handle);
    Keystroke(VK_F5);
    ASSERT_EQ(GetForegroundWindow(), Form2->Handle);
    Keystroke(VK_ESCAPE);
    EXPECT_FALSE(IsWindowVisible(Form2->Handle));
    EXPECT_EQ(WindowText(Form->sbStart), "Disconnect") << "the state stays";
    EXPECT_EQ(GetForegroundWindow(), Form->Handle) << "the main window comes back";
    Keystroke(VK_F5);
    EXPECT_EQ(WindowText(Form->sbStart), "Connect") << "F5 disconnects too";
}

TEST_F(KeyboardTest, PortDialogStaysInFrontOfTheMainWindowAndOwnsItsErrorBoxes) {
    ClickStart();
    ASSERT_TRUE(Form2);
    EXPECT_EQ(GetWindow(Form2->Handle, GW_OWNER), Form->Handle);
    EXPECT_FALSE(GetWindowLongA(Form2->Handle, GWL_EXSTYLE) & WS_EX_APPWINDOW)
        << "no taskbar button";
    Activate(Form->Handle);
    bool dialogAbove = false;
    for (HWND w = GetWindow(Form->Handle, GW_HWNDPREV); w; w = GetWindow(w, GW_HWNDPREV))
        dialogAbove = dialogAbove || w == Form2->Handle;
    EXPECT_TRUE(dialogAbove) << "the dialog stays above the active main window";

    // A name that opens but is no serial port fails as a port that cannot be opened.
    for (const char* port : {"NUL", "COM9"}) {
        SCOPED_TRACE(port);
        ChooseEntry("other = ");
        Focus(Form2->COMM);
        SetWindowTextA(Form2->COMM, "");
        Type(Form2->COMM, port);
        MessageBoxSeen box;
        HWND owner = nullptr;
        Dialogs.Expect([&](HWND shown) {
            owner = GetWindow(shown, GW_OWNER);
            AnswerMessageBox(box)(shown);
        });
        ClickTest();
        EXPECT_EQ(box.Text, std::string("Error opening com port ") + port + ".");
        EXPECT_TRUE(box.HasIcon);
        EXPECT_EQ(owner, Form2->Handle);
        EXPECT_FALSE(Form->Session.Comm32.Connected());
        EXPECT_FALSE(Form->Session.Timer3.Enabled());
        EXPECT_FALSE(IsWindowEnabled(Form2->btOK));
    }
}

TEST_F(KeyboardTest, EachRowShowsAndSavesTheVerdictOfItsOwnReadings) {
    const auto loaded = SampleStore();
    Identify();
    ClickOk();
    ASSERT_TRUE(WaitForThePollToEnd());
    // Rows whose loaded verdict says otherwise than their new readings (row 1 was "positive",
    // row 4 "negative"), and rows on either side of the limits.
    for (int row : {1, 4, 3, 8, 7, 2}) {
        SCOPED_TRACE("row " + std::to_string(row));
        ClickRow(row);
        EXPECT_EQ(WindowText(Form->txtTmp), Verdicts[row - 1]);
    }
    const auto saved = SaveAsAndReadBack("read.wmx");
    for (unsigned n = 1; n <= 9; ++n) {
        SCOPED_TRACE("slot " + std::to_string(n));
        const MeasurementRecord& slot = saved->Slot(n);
        EXPECT_EQ(GetText(slot.Verdict), Verdicts[n - 1]);
        EXPECT_EQ(GetText(slot.RegistrationNo), GetText(loaded->Slot(n).RegistrationNo));
        EXPECT_EQ(GetText(slot.FrontText), MeterRecords[n - 1].Front);
    }
}

TEST_F(KeyboardTest, SaveAsDuringThePollLeavesItsCursorAndCtrlOOpensTheFile) {
    Identify();
    ClickOk();
    ASSERT_TRUE(WaitUntil([&] { return Form->Tabela.Cells(3, 2) == MeterRecords[1].Front; }));
    ASSERT_EQ(Form->Tabela.Row(), 1);
    Activate(Form->Handle);
    Dialogs.Expect(ChooseFile(Path("mid-poll.wmx")));
    Keystroke('S', VK_CONTROL);
    EXPECT_EQ(Dialogs.Pending(), 0u) << "Ctrl+S opened the save dialog (the set has no file yet)";
    ASSERT_TRUE(WaitForThePollToEnd());
    ExpectEveryRowHoldsItsOwnRecord();
    // The file holds what the table showed when it was saved: each record read by then in its
    // own slot, the others still as Connect left them.
    auto saved = std::make_unique<MeasurementSet>();
    ReadMeasurementFile(Path("mid-poll.wmx"), *saved);
    unsigned readBySave = 0;
    for (unsigned n = 1; n <= 9; ++n) {
        SCOPED_TRACE("slot " + std::to_string(n));
        const std::string front = GetText(saved->Slot(n).FrontText);
        if (front == MeterRecords[n - 1].Front)
            readBySave = n;
        else
            EXPECT_EQ(front, "0,0");
    }
    EXPECT_GE(readBySave, 2u) << "records 1 and 2 were read before the save";

    // The readings after the save are not saved: opening asks first.
    MessageBoxSeen question;
    Dialogs.Expect(AnswerMessageBox(question, IDNO));
    std::string filter;
    Dialogs.Expect(ChooseFile(Path("mid-poll.wmx"), &filter));
    Keystroke('O', VK_CONTROL);
    EXPECT_EQ(question.Text, "Save changes to the measurements?");
    EXPECT_EQ(filter, "pliki WMX (*.wmx)") << "Ctrl+O opened the open dialog";
    EXPECT_EQ(CurrentRecord, 1);
}

} // namespace
