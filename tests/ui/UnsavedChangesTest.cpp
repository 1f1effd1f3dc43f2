// The question before an action drops a set that has changed since it was opened or saved: Exit,
// the close box, Connect (which clears the table), File > Open and a recent file.
#include "WindowDriver.h"

#include "data/MeasurementFile.h"
#include "ui/controls/StandardControls.h"
#include "ui/port_dialog/PortDialog.h"
#include "ui/win32/UserSettings.h"

#include <functional>

namespace {

class UnsavedChangesTest : public SampleWindowTest {
  protected:
    // Starts the window afresh over the sample set.
    void Restart() {
        TearDown();
        SetUp();
    }
    void ExpectTheQuestionBefore(const std::function<void()>& Run,
                                 const std::function<void()>& ExpectItsDialog,
                                 const std::function<bool()>& Went);
};

// How the question is answered, and what then happens. Yes saves as File > Save does: through
// Save As while the set has no file, else to its file without a dialog.
enum class SaveAs { Saved, Cancelled, Fails };
struct Answer {
    const char* Name;
    int Button; // 0: the set has not changed, no question comes
    SaveAs Save;
    bool GoesOn;
    // The set was saved to a file before it changed: the file Yes saves to.
    bool FromAFile = false;
};

const Answer Answers[] = {
    {"unchanged", 0, SaveAs::Saved, true},
    {"Cancel", IDCANCEL, SaveAs::Saved, false},
    {"No", IDNO, SaveAs::Saved, true},
    {"Yes, saved", IDYES, SaveAs::Saved, true},
    {"Yes, Save As cancelled", IDYES, SaveAs::Cancelled, false},
    {"Yes, the save fails", IDYES, SaveAs::Fails, false},
    {"Yes, saved to the set's file", IDYES, SaveAs::Saved, true, true},
    {"Yes, the save to the set's file fails", IDYES, SaveAs::Fails, false, true},
};

// Runs an action that drops the set after each answer, on a fresh window each time: Run runs it,
// ExpectItsDialog meets its own dialog when it goes on, Went tells whether it went on.
void UnsavedChangesTest::ExpectTheQuestionBefore(const std::function<void()>& Run,
                                                 const std::function<void()>& ExpectItsDialog,
                                                 const std::function<bool()>& Went) {
    for (const Answer& answer : Answers) {
        SCOPED_TRACE(answer.Name);
        Restart();
        MessageBoxSeen question, saveError;
        std::string typedName;
        if (answer.FromAFile) {
            const std::string file = Path(answer.Save == SaveAs::Fails ? "locked.wmx" : "kept.wmx");
            Dialogs.Expect(ChooseFile(file));
            Command(idFileSaveAsItem);
            if (answer.Save == SaveAs::Fails) {
                ASSERT_TRUE(SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY));
            }
        }
        if (answer.Button) {
            ChangeTheName();
            typedName = WindowText(Form->Edit1);
            Dialogs.Expect(AnswerMessageBox(question, answer.Button));
        }
        if (answer.Button == IDYES && answer.Save == SaveAs::Cancelled)
            Dialogs.Expect(PressButton(IDCANCEL));
        if (answer.Button == IDYES && answer.Save == SaveAs::Saved && !answer.FromAFile)
            Dialogs.Expect(ChooseFile(Path("kept.wmx")));
        if (answer.Button == IDYES && answer.Save == SaveAs::Fails && !answer.FromAFile) {
            // A read-only file, chosen and confirmed for replacing: the save refuses it.
            WriteMeasurementFile(Path("locked.wmx"), *SampleStore());
            ASSERT_TRUE(SetFileAttributesA(Path("locked.wmx").c_str(), FILE_ATTRIBUTE_READONLY));
            Dialogs.Expect(ChooseFile(Path("locked.wmx")));
            Dialogs.Expect(PressButton(IDYES));
        }
        if (answer.Save == SaveAs::Fails)
            Dialogs.Expect(AnswerMessageBox(saveError));
        if (answer.GoesOn)
            ExpectItsDialog();
        Run();
        EXPECT_EQ(Went(), answer.GoesOn);
        EXPECT_EQ(Dialogs.Pending(), 0u);
        EXPECT_TRUE(Dialogs.Unexpected.empty()) << "no Save As dialog for a set with a file";
        if (answer.Button) {
            EXPECT_EQ(question.Text, "Save changes to the measurements?");
        }
        if (answer.Save == SaveAs::Fails) {
            EXPECT_EQ(saveError.Text, "File access denied.");
            auto locked = std::make_unique<MeasurementSet>();
            ReadMeasurementFile(Path("locked.wmx"), *locked);
            EXPECT_EQ(GetText(locked->Slot(1).CustomerName), "Customer One");
            SetFileAttributesA(Path("locked.wmx").c_str(), FILE_ATTRIBUTE_NORMAL);
        }
        const bool saved = answer.Button == IDYES && answer.Save == SaveAs::Saved;
        EXPECT_EQ(GetFileAttributesA(Path("kept.wmx").c_str()) != INVALID_FILE_ATTRIBUTES, saved);
        if (saved) {
            auto kept = std::make_unique<MeasurementSet>();
            ReadMeasurementFile(Path("kept.wmx"), *kept);
            EXPECT_EQ(GetText(kept->Slot(1).CustomerName), typedName);
        }
    }
}

TEST_F(UnsavedChangesTest, FileOpenAsksFirst) {
    bool openDialogCame = false;
    ExpectTheQuestionBefore([this] { Command(idFileOpenItem); },
                            [&] {
                                openDialogCame = false;
                                Dialogs.Expect([&](HWND dialog) {
                                    openDialogCame = true;
                                    PressButton(IDCANCEL)(dialog);
                                });
                            },
                            [&] {
                                const bool came = openDialogCame;
                                openDialogCame = false;
                                return came;
                            });
}

// The file chosen in the menu opens, though saving the changes first puts another at the top.
TEST_F(UnsavedChangesTest, ARecentFileAsksFirst) {
    ExpectTheQuestionBefore(
        [this] {
            auto recent = SampleStore();
            SetText(recent->Slot(1).Make, "from recent");
            WriteMeasurementFile(Path("recent.wmx"), *recent);
            RememberRecentFile(Path("other.wmx"));
            RememberRecentFile(Path("recent.wmx"));
            // The menu as the user opens it.
            SendMessageA(Form->Handle, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(Form->FileMenu),
                         0);
            Command(idRecentFile1);
        },
        [] {}, [this] { return WindowText(Form->Edit7) == "from recent"; });
}

TEST_F(UnsavedChangesTest, ConnectAsksFirst) {
    ExpectTheQuestionBefore([this] { Click(Form->sbStart, 5, 5); }, [] {},
                            [this] { return WindowText(Form->sbStart) == "Disconnect"; });
}

TEST_F(UnsavedChangesTest, ExitAsksFirst) {
    ExpectTheQuestionBefore([this] { Command(idFileExitItem); }, [] {},
                            [this] { return !IsWindow(Form->Handle); });
}

TEST_F(UnsavedChangesTest, TheCloseBoxAsksFirst) {
    ExpectTheQuestionBefore(
        [this] {
            PostMessageA(Form->Handle, WM_SYSCOMMAND, SC_CLOSE, 0);
            ProcessMessages();
        },
        [] {}, [this] { return !IsWindow(Form->Handle); });
}

// Each kind of change the user makes is asked about, and Yes saves it: a typed text, a vehicle
// type chosen, and a reading from the meter.
TEST_F(UnsavedChangesTest, EveryKindOfChangeIsAskedAboutAndSaved) {
    std::string typedName;
    const struct {
        const char* Name;
        std::function<void()> Change;
        std::function<bool(const MeasurementSet&)> Saved;
    } changes[] = {
        {"a typed name",
         [&] {
             ChangeTheName();
             typedName = WindowText(Form->Edit1);
         },
         [&](const MeasurementSet& kept) {
             return GetText(kept.Slot(1).CustomerName) == typedName;
         }},
        {"a vehicle type",
         [this] {
             Focus(Form->rodzaj_pojazdu);
             SetWindowTextA(Form->rodzaj_pojazdu, "");
             Type(GetFocus(), "bus");
         },
         [](const MeasurementSet& kept) { return kept.Slot(1).VehicleType == 2; }},
        {"a reading",
         [this] {
             // The poll has asked for record 3; the meter's reply comes in.
             std::uint8_t record = 3;
             MeterPoll& poll = Form->Session.Link.Poll;
             poll.Start();
             poll.NextRecord(record);
             poll.Asked(record);
             const std::string reply = "\x02P?0812:0745:0733\r";
             Form->Session.Comm32.OnReceiveData(reply.data(),
                                                static_cast<std::uint16_t>(reply.size()));
             poll.Stop();
         },
         [](const MeasurementSet& kept) { return kept.Slot(3).FrontValue == 812; }},
    };
    for (const auto& change : changes) {
        SCOPED_TRACE(change.Name);
        Restart();
        change.Change();
        EXPECT_TRUE(Form->MeasurementsChanged);
        EXPECT_EQ(WindowText(Form->Handle), "*Kavra Tintra") << "the title marks the change";
        MessageBoxSeen question;
        Dialogs.Expect(AnswerMessageBox(question, IDYES));
        Dialogs.Expect(ChooseFile(Path("kept.wmx")));
        Dialogs.Expect(PressButton(IDCANCEL)); // the Open dialog that follows
        Command(idFileOpenItem);
        EXPECT_EQ(Dialogs.Pending(), 0u);
        EXPECT_EQ(question.Text, "Save changes to the measurements?");
        EXPECT_EQ(WindowText(Form->Handle), "kept.wmx - Kavra Tintra");
        auto kept = std::make_unique<MeasurementSet>();
        ReadMeasurementFile(Path("kept.wmx"), *kept);
        EXPECT_TRUE(change.Saved(*kept));
    }
}

// What the program itself shows is no change: selecting rows, and a set just saved or opened.
TEST_F(UnsavedChangesTest, ShowingRowsSavingAndOpeningLeaveTheSetUnchanged) {
    ClickRow(3);
    ClickRow(1);
    EXPECT_FALSE(Form->MeasurementsChanged);
    ChangeTheName();
    EXPECT_TRUE(Form->MeasurementsChanged);
    Dialogs.Expect(ChooseFile(Path("saved.wmx")));
    Command(idFileSaveAsItem);
    EXPECT_FALSE(Form->MeasurementsChanged);
    Form->Tabela.SetCell(3, 2, "099,9");
    ChangeTheName();
    MessageBoxSeen question;
    Dialogs.Expect(AnswerMessageBox(question, IDNO));
    Dialogs.Expect(ChooseFile(Path("saved.wmx")));
    Command(idFileOpenItem);
    EXPECT_FALSE(Form->MeasurementsChanged);
    // Typing a text and typing it back is a change.
    Type(Form->Edit6, "y");
    PressKey(Form->Edit6, VK_BACK);
    EXPECT_TRUE(Form->MeasurementsChanged);
}

} // namespace
