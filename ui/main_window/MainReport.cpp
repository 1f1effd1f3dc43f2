// The main window's print commands: the report reads the window as displayed and the selected
// row's record.
#include "report/ReadingVerdict.h"
#include "report/TestReport.h"
#include "ui/controls/StandardControls.h"
#include "ui/main_window/MainWindow.h"
#include "ui/main_window/ProgramFiles.h"
#include "ui/print_preview/PrintPreview.h"
#include "ui/win32/ErrorDisplay.h"
#include "ui/win32/ModalScope.h"

#include <memory>
#include <utility>

namespace {

ReportMeasurement RowMeasurement(const TStringGrid& grid, int row) {
    return {grid.Cells(1, row), grid.Cells(2, row), grid.Cells(3, row), grid.Cells(4, row),
            grid.Cells(5, row)};
}

// A row the meter has not read (cleared by Connect, or a file's empty cell) would give a page
// without a verdict: the user is asked first, No the default. `action` is "Print" or "Preview".
bool PageWithoutVerdictWanted(HWND owner, const TStringGrid& grid, const char* action) {
    const int row = grid.Row();
    const std::string notice = MissingVerdictNotice(row, RowMeasurement(grid, row));
    if (notice.empty())
        return true;
    const std::string question = notice + " " + action + " it anyway?";
    const TModalScope modal(owner);
    return MessageBoxA(owner, question.c_str(), ApplicationTitle().c_str(),
                       MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

} // namespace

ReportSource MainWindowParts::ShownReport() {
    ReportSource source;
    source.FormFile = FindProgramFile(ReportFormFile);
    source.ReadEntries = [this] {
        ReportEntries entries;
        entries.CustomerName = WindowText(Edit1);
        entries.Address1 = WindowText(Edit2);
        entries.Address2 = WindowText(Edit3);
        entries.RegistrationNo = WindowText(Edit6);
        entries.VehicleTypeIndex = VehicleTypeIndex();
        entries.Make = WindowText(Edit7);
        entries.Model = WindowText(Edit8);
        entries.Mileage = WindowText(Edit9);
        entries.Comment = WindowText(Edit10);
        entries.Diagnostician = WindowText(Edit11);
        return entries;
    };
    source.SelectMeasurement = [this] {
        CurrentRecord = static_cast<std::uint8_t>(Tabela.Row());
        return RowMeasurement(Tabela, CurrentRecord);
    };
    return source;
}

void TMainForm::FilePrint() {
    const TModalScope modal(Handle);
    if (PageWithoutVerdictWanted(Handle, Tabela, "Print"))
        PrintTestReport(Handle, ShownReport());
}

// The page is composed once, now: later typing does not reach an open preview, whose title names
// the registration number and the record (the selected row) it shows. Opening it again while it
// is open shows a fresh page in the same window; a page that cannot be composed leaves the open
// one as it was.
void TMainForm::FilePrintPreview() {
    if (!PageWithoutVerdictWanted(Handle, Tabela, "Preview"))
        return;
    ReportPage page = ComposeReportPage(ShownReport());
    if (!Preview || !Preview->IsOpen())
        Preview = std::make_unique<TPrintPreview>(Handle);
    Preview->Show(std::move(page), CurrentRecord);
}

void TMainForm::FilePrintSetup() {
    const TModalScope modal(Handle);
    SetUpPrinter(Handle);
}
