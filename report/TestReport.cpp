#include "report/TestReport.h"

#include "report/ReportImage.h"
#include "report/ReportPrinter.h"

void PrintTestReport(HWND owner, const ReportSource& source) {
    const PrinterDc printer = ShowPrintDialog(owner);
    if (!printer)
        return;
    // Loaded anew for every report, so nothing of an earlier one remains on the page.
    ReportImage image = ReportImage::Load(source.FormFile);
    const ReportEntries entries = source.ReadEntries();
    // Date and time come from the selected row too, so a page never mixes two measurements.
    const ReportMeasurement measurement = source.SelectMeasurement();
    image.WriteTexts(ComposeReportTexts(entries, measurement));

    PrintJob job(printer.get(), ReportJobTitle(entries));
    {
        const ReportDib dib = image.ConvertToDib();
        job.CopyOverPage(dib, image.Width(), image.Height());
    }
    job.End();
}
