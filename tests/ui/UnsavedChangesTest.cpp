// The question before an action drops a set that has changed since it was opened or saved: Exit,
// the close box, Connect (which clears the table), File > Open and a recent file.
#include "WindowDriver.h"

#include "data/MeasurementFile.h"
#include "ui/Controls.h"
#include "ui/Unit2.h"
#include "ui/UserSettings.h"

#include <functional>

namespace {

class UnsavedChangesTest : public SampleWindowTest {
  protected:
    void Command(int id) {
        PostMessageA(Form->Handle, WM_COMMAND, id, 0);
        ProcessMessages();
    }
    // A change as the user makes it: a letter typed into the customer's name.
    void ChangeTheName() {
        Focus(Form->Edit1);
        Type(Form->Edit1, "x");
    }
    void TearDown() override {
        PortDialog.reset();
        SampleWindowTest::TearDown();
    }
    // Starts the window afresh over the sample set, with the port dialog where Connect needs it.
    void Restart() {
        const bool withPortDialog = PortDialog != nullptr;
        TearDown();
        SetUp();
        if (withPortDialog)
            PortDialog = std::make_unique<TForm2>();
    }
    void ExpectTheQuestionBefore(const std::function<void()>& Run,
                                 const std::function<void()>& ExpectItsDialog,
                                 const std::function<bool()>& Went);

    std::unique_ptr<TForm2> PortDialog;
};

// How the question is answered, and what then happens.
struct Answer {
    const char* Name;
    int Button; // 0: the set has not changed, no question comes
    bool SaveAsDialogCancelled;
    bool GoesOn;
};

const Answer Answers[] = {
    {"unchanged", 0, false, true},
    {"Cancel", IDCANCEL, false, false},
    {"No", IDNO, false, true},
    {"Yes, saved", IDYES, false, true},
    {"Yes, Save As cancelled", IDYES, true, false},
};

// Runs an action that drops the set after each answer, on a fresh window each time: Run runs it,
// ExpectItsDialog meets its own dialog when it goes on, Went tells whether it went on.
void UnsavedChangesTest::ExpectTheQuestionBefore(const std::function<void()>& Run,
                                                 const std::function<void()>& ExpectItsDialog,
                                                 const std::function<bool()>& Went) {
    for (const Answer& answer : Answers) {
        SCOPED_TRACE(answer.Name);
        Restart();
        MessageBoxSeen question;
        std::string typedName;
        if (answer.Button) {
            ChangeTheName();
            typedName = WindowText(Form->Edit1);
            Dialogs.Expect(AnswerMessageBox(question, answer.Button));
        }
        if (answer.Button == IDYES)
            Dialogs.Expect(answer.SaveAsDialogCancelled ? PressButton(IDCANCEL)
                                                        : ChooseFile(Path("kept.wmx")));
        if (answer.GoesOn)
            ExpectItsDialog();
        Run();
        EXPECT_EQ(Went(), answer.GoesOn);
        EXPECT_EQ(Dialogs.Pending(), 0u);
        if (answer.Button) {
            EXPECT_EQ(question.Text, "Save changes to the measurements?");
        }
        const bool saved = answer.Button == IDYES && !answer.SaveAsDialogCancelled;
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
    PortDialog = std::make_unique<TForm2>();
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
