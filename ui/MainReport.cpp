// The main window's print commands: the report reads the window as displayed and the selected
// row's record.
#include "report/TestReport.h"
#include "ui/Controls.h"
#include "ui/Main.h"
#include "ui/ModalScope.h"
#include "ui/PrintPreview.h"
#include "ui/ProgramFiles.h"

#include <memory>
#include <utility>

ReportSource TMainForm::ShownReport() {
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
        const MeasurementRecord& record = MeasurementStore.Slot(CurrentRecord);
        ReportMeasurement measurement;
        measurement.DateText = Tabela.Cells(1, CurrentRecord);
        measurement.TimeText = Tabela.Cells(2, CurrentRecord);
        measurement.FrontText = Tabela.Cells(3, CurrentRecord);
        measurement.LeftText = Tabela.Cells(4, CurrentRecord);
        measurement.RightText = Tabela.Cells(5, CurrentRecord);
        measurement.FrontValue = record.FrontValue;
        measurement.LeftValue = record.LeftValue;
        measurement.RightValue = record.RightValue;
        return measurement;
    };
    return source;
}

void TMainForm::FilePrint() {
    const TModalScope modal(Handle);
    PrintTestReport(Handle, ShownReport());
}

// The page is composed once, now: later typing does not reach an open preview. Opening it again
// while it is open shows a fresh page in the same window; a page that cannot be composed leaves
// the open one as it was.
void TMainForm::FilePrintPreview() {
    ReportPage page = ComposeReportPage(ShownReport());
    if (!Preview || !Preview->IsOpen())
        Preview = std::make_unique<TPrintPreview>(Handle);
    Preview->Show(std::move(page));
}

void TMainForm::FilePrintSetup() {
    const TModalScope modal(Handle);
    SetUpPrinter(Handle);
}
