// The print commands of the main window: the report is printed from the selected row, and a
// print that does not happen leaves the record cursor where it was.
#include "WindowDriver.h"

#include "ui/controls/StandardControls.h"

namespace {

class PrintTest : public SampleWindowTest {
  protected:
    void SetUp() override {
        SampleWindowTest::SetUp();
        ClickRow(3);
        CurrentRecord = 7; // as a running poll leaves it
    }
};

TEST_F(PrintTest, CancelledPrintDialogChangesNothing) {
    Dialogs.Expect(PressButton(IDCANCEL));
    Click(Form->SpeedButton3, 5, 5);
    EXPECT_EQ(Dialogs.Pending(), 0u) << "the print dialog was shown";
    EXPECT_EQ(CurrentRecord, 7);
    EXPECT_TRUE(Dialogs.Unexpected.empty());
}

TEST_F(PrintTest, MissingFormImageIsReportedAndNothingIsPrinted) {
    MessageBoxSeen error;
    Dialogs.Expect(PressButton(IDOK));
    Dialogs.Expect(AnswerMessageBox(error));
    PostMessageA(Form->Handle, WM_COMMAND, idFilePrintItem, 0);
    ProcessMessages();
    EXPECT_EQ(error.Caption, ApplicationTitle());
    EXPECT_TRUE(error.HasIcon);
    const std::string expected = "Cannot open file \"" + Path("protokol.bmp") + "\". ";
    EXPECT_EQ(error.Text.substr(0, expected.size()), expected);
    EXPECT_EQ(CurrentRecord, 7);
}

TEST_F(PrintTest, PrintingMakesTheSelectedRowTheCurrentRecord) {
    ASSERT_TRUE(CopyFileA(WMX_REPORT_FORM, Path("protokol.bmp").c_str(), FALSE));
    Dialogs.Expect(PressButton(IDOK));
    Click(Form->SpeedButton3, 5, 5);
    EXPECT_EQ(Dialogs.Pending(), 0u);
    EXPECT_TRUE(Dialogs.Unexpected.empty()) << "no error box";
    EXPECT_EQ(CurrentRecord, 3);
}

} // namespace
