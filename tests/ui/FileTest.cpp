// Opening and saving through the real file dialogs.
#include "WindowDriver.h"

#include "ui/controls/StandardControls.h"

#include <commdlg.h>

#include <cstring>
#include <fstream>
#include <iterator>

namespace {

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::string Image(const MeasurementSet& store) {
    return std::string(reinterpret_cast<const char*>(&store), sizeof store);
}

class FileTest : public SampleWindowTest {
  protected:
};

// The set from config.wmx has no file yet: the second tool button asks for a name. Then it writes
// back to that file without a dialog, as Save As would write it.
TEST_F(FileTest, SaveWritesTheWindowToANamedFileThenBackToItWithoutADialog) {
    Focus(Form->Edit7);
    SetWindowTextA(Form->Edit7, "still being typed");
    Form->Tabela.SetCell(3, 2, "099,9");
    std::string filter;
    Dialogs.Expect(ChooseFile(Path("saved"), &filter));
    Click(Form->SpeedButton2, 5, 5);
    EXPECT_EQ(filter, "pliki wmx (*.wmx)");
    EXPECT_EQ(GetFocus(), Form->Edit7) << "tool buttons leave the focus where it was";

    const std::string file = ReadBytes(Path("saved.wmx"));
    ASSERT_EQ(file.size(), 34704u);
    EXPECT_TRUE(file == Image(MeasurementStore));
    EXPECT_EQ(GetText(MeasurementStore.Slot(1).Make), "still being typed");
    EXPECT_EQ(GetText(MeasurementStore.Slot(2).FrontText), "099,9");

    SetWindowTextA(Form->Edit7, "saved again");
    Form->Tabela.SetCell(4, 3, "088,8");
    Click(Form->SpeedButton2, 5, 5);
    EXPECT_TRUE(Dialogs.Unexpected.empty()) << "no dialog with a file";
    const std::string resaved = ReadBytes(Path("saved.wmx"));
    EXPECT_TRUE(resaved == Image(MeasurementStore));
    EXPECT_EQ(GetText(MeasurementStore.Slot(1).Make), "saved again");
    EXPECT_EQ(GetText(MeasurementStore.Slot(3).LeftText), "088,8");
    Dialogs.Expect(ChooseFile(Path("as.wmx")));
    Keystroke(VK_F12);
    EXPECT_EQ(Dialogs.Pending(), 0u);
    EXPECT_TRUE(ReadBytes(Path("as.wmx")) == resaved) << "Save As writes the same set alike";
}

TEST_F(FileTest, ASavedSetOpensAgainAsSavedButForTheRecomputedValues) {
    Dialogs.Expect(ChooseFile(Path("round.wmx")));
    Command(idFileSaveAsItem);
    auto expected = std::make_unique<MeasurementSet>();
    std::memcpy(expected.get(), &MeasurementStore, sizeof MeasurementStore);
    RecomputeValues(*expected);
    std::memset(&MeasurementStore, 0x55, sizeof MeasurementStore);

    Dialogs.Expect(ChooseFile(Path("round.wmx")));
    Command(idFileOpenItem);
    EXPECT_TRUE(Image(MeasurementStore) == Image(*expected));
    EXPECT_EQ(MeasurementStore.Slot(2).FrontValue, 721);
}

TEST_F(FileTest, CancellingEitherDialogChangesNothing) {
    Focus(Form->Tabela.Handle); // the grid has no exit handler that could store on its own
    const std::string before = Image(MeasurementStore);
    Dialogs.Expect(PressButton(IDCANCEL));
    Command(idFileSaveAsItem);
    Dialogs.Expect(PressButton(IDCANCEL));
    Command(idFileOpenItem);
    EXPECT_TRUE(Image(MeasurementStore) == before);
    EXPECT_EQ(WindowText(Form->Edit6), "REG 1");
}

TEST_F(FileTest, SavingOverAFileAsksFirst) {
    const std::string old(100, 'x');
    std::ofstream(Path("old.wmx"), std::ios::binary) << old;
    MessageBoxSeen question;
    Dialogs.Expect(ChooseFile(Path("old.wmx")));
    Dialogs.Expect([&question](HWND box) {
        AnswerMessageBox(question, IDNO)(box);
        PostMessageA(GetWindow(box, GW_OWNER), WM_COMMAND, IDCANCEL, 0);
    });
    Command(idFileSaveAsItem);
    EXPECT_NE(question.Text.find("replace"), std::string::npos) << question.Text;
    EXPECT_EQ(ReadBytes(Path("old.wmx")), old);

    MessageBoxSeen again;
    Dialogs.Expect(ChooseFile(Path("old.wmx")));
    Dialogs.Expect(AnswerMessageBox(again, IDYES));
    Command(idFileSaveAsItem);
    EXPECT_TRUE(ReadBytes(Path("old.wmx")) == Image(MeasurementStore));
}

TEST_F(FileTest, OpeningShowsSlotOneSelectsRowOneAndRecomputesValues) {
    auto other = SampleStore();
    SetText(other->Slot(1).RegistrationNo, "OPENED 1");
    SetText(other->Slot(3).FrontText, "075,3");
    SetText(other->Slot(3).LeftText, "0,0");
    SetText(other->Slot(3).RightText, "");
    WriteMeasurementFile(Path("other.wmx"), *other);
    ClickRow(5);
    Focus(Form->Edit6);

    std::string filter;
    Dialogs.Expect(ChooseFile(Path("other.wmx"), &filter));
    Click(Form->SpeedButton1, 5, 5);
    EXPECT_EQ(filter, "pliki WMX (*.wmx)");
    EXPECT_EQ(CurrentRecord, 1);
    EXPECT_EQ(Form->Tabela.Row(), 1) << "the grid's selection follows the entry fields";
    EXPECT_EQ(WindowText(Form->Edit6), "OPENED 1");
    EXPECT_EQ(Form->Tabela.Cells(1, 3), "2026-01-03");
    EXPECT_EQ(Form->Tabela.Cells(2, 3), "10:03:00");
    EXPECT_EQ(MeasurementStore.Slot(3).FrontValue, 753);
    EXPECT_EQ(MeasurementStore.Slot(3).LeftValue, 0);
    EXPECT_EQ(MeasurementStore.Slot(3).RightValue, 0);
    EXPECT_EQ(MeasurementStore.Slot(9).RightValue, 9999);

    // The next field exit stores slot 1's data into slot 1, not into the row clicked before.
    PressKey(GetFocus(), VK_TAB);
    EXPECT_EQ(GetText(MeasurementStore.Slot(5).RegistrationNo), "REG 5");
    EXPECT_EQ(GetText(MeasurementStore.Slot(1).RegistrationNo), "OPENED 1");
}

TEST_F(FileTest, ReadOnlyFilesOpenAndMissingOnesReportAnError) {
    auto other = SampleStore();
    SetText(other->Slot(1).Make, "from read-only");
    WriteMeasurementFile(Path("locked.wmx"), *other);
    ASSERT_TRUE(SetFileAttributesA(Path("locked.wmx").c_str(), FILE_ATTRIBUTE_READONLY));
    Dialogs.Expect(ChooseFile(Path("locked.wmx")));
    Command(idFileOpenItem);
    EXPECT_EQ(WindowText(Form->Edit7), "from read-only");

    MessageBoxSeen error;
    Dialogs.Expect(ChooseFile(Path("missing.wmx")));
    Dialogs.Expect(AnswerMessageBox(error));
    Command(idFileOpenItem);
    EXPECT_EQ(error.Text, "File not found.");
    EXPECT_EQ(WindowText(Form->Edit7), "from read-only") << "the window is unchanged";
}

// The Open dialog keeps its own last name; Save As proposes the file the set was opened from or
// saved to, in its folder.
TEST_F(FileTest, OpenRemembersItsLastNameAndSaveAsProposesTheSetsFile) {
    const std::string folder = Path("opened here");
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    const std::string opened = folder + "\\opened.wmx";
    WriteMeasurementFile(opened, *SampleStore());
    Dialogs.Expect(ChooseFile(Path("first.wmx")));
    Command(idFileSaveAsItem);
    Dialogs.Expect(ChooseFile(opened));
    Command(idFileOpenItem);
    EXPECT_EQ(Form->OpenDialogFileName, opened);

    std::string shownName, shownFolder;
    Dialogs.Expect([&](HWND dialog) {
        HWND name = GetDlgItem(dialog, 0x47c);
        if (!name)
            name = GetDlgItem(dialog, 0x480);
        shownName = WindowText(name);
        char path[MAX_PATH] = "";
        SendMessageA(dialog, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(path));
        shownFolder = path;
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    Keystroke(VK_F12);
    EXPECT_EQ(shownName, "opened.wmx");
    EXPECT_EQ(shownFolder, folder);
    DeleteFileA(opened.c_str());
    RemoveDirectoryA(folder.c_str());
}

} // namespace
