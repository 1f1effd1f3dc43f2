// Nothing typed or read is lost: the recovery copy a moment after each change, offered back at
// the next start after a crash, and the end of the Windows session.
#include "MessagePump.h"
#include "ProgramRun.h"
#include "WindowDriver.h"

#include "ui/controls/StandardControls.h"
#include "ui/main_window/RecoveryCopy.h"

namespace {

class RecoveryTest : public SampleWindowTest {
  protected:
    bool CopyExists() const {
        return GetFileAttributesA(RecoveryCopyFile().c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    // The copy's set and file, as a start would read them.
    std::pair<std::string, std::string> CopiedRegistrationAndOrigin() const {
        auto set = std::make_unique<MeasurementSet>();
        const auto copy = ReadRecoveryCopy(*set);
        if (!copy)
            return {};
        return {GetText(set->Slot(1).RegistrationNo), copy->Origin};
    }
    void TypeRegistration(const std::string& text) {
        Focus(Form->Edit6);
        Type(Form->Edit6, text);
    }
};

TEST_F(RecoveryTest, AChangeIsCopiedAMomentLaterAndSavingOrDroppingRemovesTheCopy) {
    EXPECT_FALSE(CopyExists()) << "nothing has changed yet";
    TypeRegistration("KR 1G5T2");
    ASSERT_TRUE(PumpUntil([&] { return CopyExists(); }, 10000));
    // The field still has the focus: the copy holds what it shows all the same.
    EXPECT_EQ(CopiedRegistrationAndOrigin().first, WindowText(Form->Edit6));

    Dialogs.Expect(ChooseFile(Path("saved.wmx")));
    PostMessageA(Form->Handle, WM_COMMAND, idFileSaveAsItem, 0);
    ProcessMessages();
    EXPECT_FALSE(CopyExists()) << "saved";

    TypeRegistration("X");
    ASSERT_TRUE(PumpUntil([&] { return CopyExists(); }, 10000));
    EXPECT_EQ(CopiedRegistrationAndOrigin().second, Path("saved.wmx")) << "the file it came from";
    MessageBoxSeen question;
    Dialogs.Expect(AnswerMessageBox(question, IDNO));
    Dialogs.Expect(PressButton(IDCANCEL));
    PostMessageA(Form->Handle, WM_COMMAND, idFileOpenItem, 0);
    ProcessMessages();
    EXPECT_EQ(question.Text, "Save changes to the measurements?");
    EXPECT_FALSE(CopyExists()) << "left without saving on purpose";
}

TEST_F(RecoveryTest, TheEndOfTheSessionAsksFirstAndNeverLosesTheSet) {
    EXPECT_TRUE(SendMessageA(Form->Handle, WM_QUERYENDSESSION, 0, 0)) << "nothing to lose";
    TypeRegistration("KR 1G5T2");
    // Cancel keeps the session, and the set is already safe in the copy.
    MessageBoxSeen question;
    Dialogs.Expect(AnswerMessageBox(question, IDCANCEL));
    EXPECT_FALSE(SendMessageA(Form->Handle, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF));
    EXPECT_EQ(question.Text, "Save changes to the measurements?");
    EXPECT_EQ(CopiedRegistrationAndOrigin().first, WindowText(Form->Edit6));
    // A session that must end now gets no question; the set stays in the copy.
    RemoveRecoveryCopy();
    EXPECT_TRUE(SendMessageA(Form->Handle, WM_QUERYENDSESSION, 0, ENDSESSION_CRITICAL));
    SendMessageA(Form->Handle, WM_ENDSESSION, TRUE, ENDSESSION_CRITICAL);
    EXPECT_EQ(CopiedRegistrationAndOrigin().first, WindowText(Form->Edit6));
    EXPECT_EQ(Dialogs.Pending(), 0u);
    EXPECT_TRUE(Dialogs.Unexpected.empty());
    // No lets the session end without the set, on purpose: nothing is offered back.
    Dialogs.Expect(AnswerMessageBox(question, IDNO));
    EXPECT_TRUE(SendMessageA(Form->Handle, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF));
    EXPECT_FALSE(CopyExists());
}

// The program killed a moment after typing, as by a crash or a power cut, offers the set back at
// its next start, before config.wmx.
TEST_F(RecoveryTest, AKilledProgramOffersTheSetBackAtItsNextStart) {
    // The program started keeps its copy where this test does.
    const std::string copy = RecoveryCopyFile();
    {
        ProgramRun run(WMX_EXE, L"", Folder);
        ASSERT_TRUE(run.Main);
        const HWND field = GetDlgItem(run.Main, idEdit6);
        SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
        for (char c : std::string("KR 1G5T2"))
            SendMessageA(field, WM_CHAR, static_cast<unsigned char>(c), 1);
        for (int i = 0; i < 200 && GetFileAttributesA(copy.c_str()) == INVALID_FILE_ATTRIBUTES; ++i)
            Sleep(50);
        ASSERT_NE(GetFileAttributesA(copy.c_str()), INVALID_FILE_ATTRIBUTES) << "no copy made";
        run.Kill();
    }
    {
        ProgramRun run(WMX_EXE, L"", Folder);
        const HWND box = run.ErrorBox();
        ASSERT_TRUE(box) << "nothing offered";
        const std::string question = ProgramRun::TextOf(GetDlgItem(box, 0xFFFF));
        EXPECT_EQ(question.rfind("Recover the measurements from ", 0), 0u) << question;
        PostMessageA(box, WM_COMMAND, IDYES, 0);
        for (int i = 0; i < 100 && !(run.Main = run.Window("TMainForm")); ++i)
            Sleep(50);
        ASSERT_TRUE(run.Main);
        EXPECT_EQ(ProgramRun::TextOf(GetDlgItem(run.Main, idEdit6)), "KR 1G5T2");
        EXPECT_EQ(ProgramRun::TextOf(run.Main), "*Kavra Tintra") << "unsaved, from no file";
        EXPECT_EQ(run.FirstField(WindowText(Form->Edit1)), WindowText(Form->Edit1))
            << "the rest of the set as config.wmx gave it";
        run.Kill();
    }
}

TEST_F(RecoveryTest, RefusedTheCopyIsRemovedAndConfigIsLoaded) {
    // The window of this test is up already; a second one starts over the copy.
    TypeRegistration("KR 1G5T2");
    ASSERT_TRUE(PumpUntil([&] { return CopyExists(); }, 10000));
    NewWindow();
    MessageBoxSeen question;
    Dialogs.Expect(AnswerMessageBox(question, IDNO));
    ShowWindow();
    EXPECT_EQ(question.Text.rfind("Recover the measurements from ", 0), 0u) << question.Text;
    EXPECT_FALSE(CopyExists());
    EXPECT_EQ(WindowText(Form->Edit6), GetText(SampleStore()->Slot(1).RegistrationNo));
    EXPECT_FALSE(Form->MeasurementsChanged);
    EXPECT_EQ(WindowText(Form->Handle), "Kavra Tintra");
}

// Taken, the copy is the set of its file, still unsaved: Save writes it back to that file.
TEST_F(RecoveryTest, ATakenCopyIsSavedToTheFileItCameFrom) {
    Dialogs.Expect(ChooseFile(Path("saved.wmx")));
    Command(idFileSaveAsItem);
    TypeRegistration("KR 1G5T2");
    ASSERT_TRUE(PumpUntil([&] { return CopyExists(); }, 10000));
    NewWindow();
    MessageBoxSeen question;
    Dialogs.Expect(AnswerMessageBox(question, IDYES));
    ShowWindow();
    EXPECT_EQ(WindowText(Form->Handle), "*saved.wmx - Kavra Tintra");
    Keystroke('S', VK_CONTROL);
    EXPECT_TRUE(Dialogs.Unexpected.empty()) << "no dialog: the set has its file";
    EXPECT_EQ(WindowText(Form->Handle), "saved.wmx - Kavra Tintra");
    auto saved = std::make_unique<MeasurementSet>();
    ReadMeasurementFile(Path("saved.wmx"), *saved);
    EXPECT_EQ(GetText(saved->Slot(1).RegistrationNo), WindowText(Form->Edit6));
    EXPECT_FALSE(CopyExists());
}

} // namespace
