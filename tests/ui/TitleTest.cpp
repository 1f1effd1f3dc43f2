// The title names the set's file and marks changes not saved yet, through Save and Save As by each
// of their keys, tool button and menu items, opening, typing and the answers to the question
// about unsaved changes.
#include "WindowDriver.h"

#include "ui/controls/StandardControls.h"

#include <functional>

namespace {

using TitleTest = SampleWindowTest;

TEST_F(TitleTest, TheTitleNamesTheFileAndMarksChangesNotSaved) {
    MessageBoxSeen question;
    const struct {
        const char* Step;
        std::function<void()> Do;
        const char* Title;
    } steps[] = {
        {"config.wmx read at start", [] {}, "Kavra Tintra"},
        {"a letter typed", [&] { ChangeTheName(); }, "*Kavra Tintra"},
        {"Ctrl+S without a file asks for a name",
         [&] {
             Dialogs.Expect(ChooseFile(Path("a.wmx")));
             Keystroke('S', VK_CONTROL);
         },
         "a.wmx - Kavra Tintra"},
        {"a letter typed", [&] { ChangeTheName(); }, "*a.wmx - Kavra Tintra"},
        // From here on an unexpected dialog is cancelled and leaves the "*".
        {"Ctrl+S saves to the file", [&] { Keystroke('S', VK_CONTROL); }, "a.wmx - Kavra Tintra"},
        {"a letter typed, the second tool button saves to the file",
         [&] {
             ChangeTheName();
             Click(Form->SpeedButton2, 5, 5);
         },
         "a.wmx - Kavra Tintra"},
        {"a letter typed, File > Save saves to the file",
         [&] {
             ChangeTheName();
             Command(idFileSaveItem);
         },
         "a.wmx - Kavra Tintra"},
        {"a letter typed, F12 saves as another file",
         [&] {
             ChangeTheName();
             Dialogs.Expect(ChooseFile(Path("b.wmx")));
             Keystroke(VK_F12);
         },
         "b.wmx - Kavra Tintra"},
        {"File > Save As, unchanged",
         [&] {
             Dialogs.Expect(ChooseFile(Path("c.wmx")));
             Command(idFileSaveAsItem);
         },
         "c.wmx - Kavra Tintra"},
        {"a letter typed, Open, Cancel",
         [&] {
             ChangeTheName();
             Dialogs.Expect(AnswerMessageBox(question, IDCANCEL));
             Keystroke('O', VK_CONTROL);
         },
         "*c.wmx - Kavra Tintra"},
        {"Open, No, a.wmx opened",
         [&] {
             Dialogs.Expect(AnswerMessageBox(question, IDNO));
             Dialogs.Expect(ChooseFile(Path("a.wmx")));
             Keystroke('O', VK_CONTROL);
         },
         "a.wmx - Kavra Tintra"},
        {"a letter typed, Open, Yes saves to the file, the Open dialog cancelled",
         [&] {
             ChangeTheName();
             Dialogs.Expect(AnswerMessageBox(question, IDYES));
             Dialogs.Expect(PressButton(IDCANCEL));
             Command(idFileOpenItem);
         },
         "a.wmx - Kavra Tintra"},
        {"a letter typed, Connect, No: the typed entries stay",
         [&] {
             ChangeTheName();
             Dialogs.Expect(AnswerMessageBox(question, IDNO));
             Click(Form->sbStart, 5, 5);
             Click(Form->sbStart, 5, 5); // Disconnect
         },
         "*a.wmx - Kavra Tintra"},
        {"Connect, Yes saves to the file",
         [&] {
             Dialogs.Expect(AnswerMessageBox(question, IDYES));
             Click(Form->sbStart, 5, 5);
         },
         "a.wmx - Kavra Tintra"},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.Step);
        step.Do();
        EXPECT_EQ(Dialogs.Pending(), 0u) << "a dialog that did not come";
        EXPECT_EQ(Dialogs.Unexpected, std::vector<std::string>{});
        EXPECT_EQ(WindowText(Form->Handle), step.Title);
    }
    auto saved = std::make_unique<MeasurementSet>();
    ReadMeasurementFile(Path("a.wmx"), *saved);
    EXPECT_EQ(GetText(saved->Slot(1).CustomerName), WindowText(Form->Edit1))
        << "the last Yes saved to a.wmx";
}

} // namespace
