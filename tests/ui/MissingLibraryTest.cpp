// A system that lacks a library that only some features need: those features say so, and the
// window goes on. Run in a process whose Wine is told to load no common dialogs
// (WINEDLLOVERRIDES), as on such a system.
#include "WindowDriver.h"

namespace {

class MissingLibraryTest : public SampleWindowTest {};

TEST_F(MissingLibraryTest, TheDialogsWithoutTheirLibrarySayWhy) {
    ASSERT_FALSE(LoadLibraryA("comdlg32.dll")) << "this process must have no common dialogs";
    const struct {
        int Command;
        const char* Text;
    } cases[] = {
        {idFileOpenItem, "The file dialog cannot be used: this system's comdlg32.dll lacks its "
                         "function GetOpenFileNameA."},
        {idFileSaveAsItem, "The file dialog cannot be used: this system's comdlg32.dll lacks its "
                           "function GetSaveFileNameA."},
        {idFilePrintSetupItem, "The print dialog cannot be used: this system's comdlg32.dll lacks "
                               "its function PrintDlgA."},
    };
    for (const auto& c : cases) {
        MessageBoxSeen error;
        Dialogs.Expect(AnswerMessageBox(error));
        PostMessageA(Form->Handle, WM_COMMAND, c.Command, 0);
        ProcessMessages();
        EXPECT_EQ(Dialogs.Pending(), 0u) << c.Text;
        EXPECT_EQ(error.Text, c.Text);
        EXPECT_TRUE(error.HasIcon);
        ASSERT_TRUE(IsWindow(Form->Handle)) << "the window goes on";
    }
    EXPECT_TRUE(Dialogs.Unexpected.empty());
}

} // namespace
