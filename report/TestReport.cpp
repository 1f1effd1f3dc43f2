#include "report/TestReport.h"

#include "report/ReportPrinter.h"

#include <utility>

ReportPage ComposeReportPage(const ReportSource& source) {
    // Loaded anew for every report, so nothing of an earlier one remains on the page.
    ReportImage image = ReportImage::Load(source.FormFile);
    const ReportEntries entries = source.ReadEntries();
    // Date and time come from the selected row too, so a page never mixes two measurements.
    const ReportMeasurement measurement = source.SelectMeasurement();
    image.WriteTexts(ComposeReportTexts(entries, measurement));
    return {std::move(image), ReportJobTitle(entries), entries.RegistrationNo};
}

void PrintReportPage(HDC printer, const ReportPage& page) {
    PrintJob job(printer, page.JobTitle);
    {
        const ReportDib dib = page.Image.ConvertToDib();
        job.CopyOverPage(dib, page.Image.Width(), page.Image.Height());
    }
    job.End();
}

void PrintTestReport(HWND owner, const ReportSource& source) {
    const PrinterDc printer = ShowPrintDialog(owner);
    if (!printer)
        return;
    PrintReportPage(printer.get(), ComposeReportPage(source));
}
