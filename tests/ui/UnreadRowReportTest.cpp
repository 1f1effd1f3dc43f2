// The report of a row as Connect leaves it, its readings cleared while the values stored in its
// record stay: the page shows what the row shows, and Print and Print Preview ask first. A row
// with readings asks nothing (PrintTest and PrintPreviewTest expect no question).
#include "WindowDriver.h"

#include "MessagePump.h"
#include "report/TestReport.h"
#include "ui/controls/StandardControls.h"
#include "ui/port_dialog/PortDialog.h"
#include "ui/print_preview/PrintPreview.h"

#include <functional>

namespace {

enum Row : std::size_t {
    Date = 3,
    Time = 4,
    FrontVerdict = 10,
    LeftVerdict,
    RightVerdict,
    FrontReading,
    LeftReading,
    RightReading,
};

class UnreadRowReportTest : public SampleWindowTest {
  protected:
    void SetUp() override {
        SampleWindowTest::SetUp();
        ASSERT_TRUE(CopyFileA(WMX_REPORT_FORM, Path("protokol.bmp").c_str(), FALSE));
        // The values as opening the file leaves them: the numbers the texts show.
        RecomputeValues(MeasurementStore);
        ClickRow(4);
    }
    // Connect, Escape in the port dialog, Disconnect: row 4 stays selected.
    void ClearByConnect() {
        Keystroke(VK_F5);
        ASSERT_EQ(GetForegroundWindow(), Form2->Handle);
        Keystroke(VK_ESCAPE);
        Keystroke(VK_F5);
        ASSERT_EQ(WindowText(Form->sbStart), "Connect");
        ASSERT_EQ(Form->Tabela.Row(), 4);
        ASSERT_EQ(Form->Tabela.Cells(3, 4), "0,0");
    }

    // The texts of the page Print would compose now.
    std::array<std::string, ReportTextCount> PageTexts() {
        const ReportSource source = Form->ShownReport();
        return ComposeReportTexts(source.ReadEntries(), source.SelectMeasurement());
    }

    bool PreviewOpen() const { return Form->Preview && Form->Preview->IsOpen(); }
};

TEST_F(UnreadRowReportTest, PageShowsTheRowsReadingsWithTheirVerdictsOrNothing) {
    // A stored value that would pass beside a text that fails: the text decides.
    MeasurementStore.Slot(4).FrontValue = 753;
    auto page = PageTexts();
    EXPECT_EQ(page[FrontReading], "074,1");
    EXPECT_EQ(page[FrontVerdict], "negative");
    EXPECT_EQ(page[RightReading], "084,3");
    EXPECT_EQ(page[RightVerdict], "positive");
    EXPECT_EQ(page[Date], "") << "start-up loading shows no date";

    ClearByConnect();
    page = PageTexts();
    for (const Row row : {Date, Time, FrontVerdict, LeftVerdict, RightVerdict, FrontReading,
                          LeftReading, RightReading})
        EXPECT_EQ(page[row], "") << "row " << row;
}

TEST_F(UnreadRowReportTest, PrintAndPreviewAskFirstAndNoStopsThem) {
    ClearByConnect();
    const int cursor = CurrentRecord;
    const int pdfs = PdfCount();
    const struct {
        const char* Name;
        std::function<void()> Run;
        const char* Question;
    } commands[] = {
        {"Print tool button", [this] { Click(Form->SpeedButton3, 5, 5); }, "Print it anyway?"},
        {"Ctrl+P", [] { Keystroke('P', VK_CONTROL); }, "Print it anyway?"},
        {"File > Print Preview",
         [this] {
             PostMessageA(Form->Handle, WM_COMMAND, idFilePrintPreviewItem, 0);
             ProcessMessages();
         },
         "Preview it anyway?"},
        {"Print Preview tool button", [this] { Click(Form->SpeedButton7, 5, 5); },
         "Preview it anyway?"},
    };
    for (const auto& command : commands) {
        MessageBoxSeen question;
        // Enter, as a user in a hurry answers: No is the default.
        Dialogs.Expect([&question](HWND box) {
            NoteMessageBox(box, question);
            SendKeystroke(VK_RETURN);
        });
        command.Run();
        EXPECT_EQ(Dialogs.Pending(), 0u) << command.Name << ": the question did not come";
        EXPECT_EQ(question.Text, std::string("Record 4 holds no reading from the meter, so its "
                                             "report shows no verdict. ") +
                                     command.Question)
            << command.Name;
        EXPECT_EQ(question.Caption, ApplicationTitle()) << command.Name;
        EXPECT_EQ(question.Icon, LoadIcon(nullptr, IDI_WARNING)) << command.Name;
        EXPECT_TRUE(Dialogs.Unexpected.empty()) << command.Name << ": went on after No";
        EXPECT_EQ(CurrentRecord, cursor) << command.Name;
        EXPECT_FALSE(PreviewOpen()) << command.Name;
    }
    EXPECT_EQ(PdfCount(), pdfs);
}

TEST_F(UnreadRowReportTest, YesGoesOnAndThePreviewPrintsItsPageWithoutAskingAgain) {
    ClearByConnect();
    MessageBoxSeen printQuestion, previewQuestion;
    const int pdfs = PdfCount();
    Dialogs.Expect(AnswerMessageBox(printQuestion, IDYES));
    Dialogs.Expect(PressButton(IDOK));
    Click(Form->SpeedButton3, 5, 5);
    EXPECT_EQ(Dialogs.Pending(), 0u) << "the question and the print dialog";
    EXPECT_TRUE(PumpUntil([&] { return PdfCount() > pdfs; }, 20000)) << "nothing was printed";
    EXPECT_EQ(CurrentRecord, 4);

    CurrentRecord = 1;
    Dialogs.Expect(AnswerMessageBox(previewQuestion, IDYES));
    Click(Form->SpeedButton7, 5, 5);
    ASSERT_TRUE(PreviewOpen());
    EXPECT_EQ(CurrentRecord, 4);
    ASSERT_EQ(GetForegroundWindow(), Form->Preview->Handle);
    std::string shown;
    Dialogs.Expect([&shown](HWND dialog) {
        shown = WindowText(dialog);
        PressButton(IDCANCEL)(dialog);
    });
    Keystroke('P', VK_CONTROL);
    EXPECT_EQ(shown, "Print") << "Ctrl+P goes straight to the print dialog";
    EXPECT_FALSE(printQuestion.Text.empty());
    EXPECT_FALSE(previewQuestion.Text.empty());
}

} // namespace
