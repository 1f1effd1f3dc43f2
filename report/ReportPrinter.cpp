#include "report/ReportPrinter.h"

#include "report/ReportError.h"
#include "report/TestReport.h"
#include "system/SystemFunction.h"

#include <cderr.h>
#include <commdlg.h>

#include <string>

namespace {

// The printer and its settings, shared by both dialogs; owned by the dialogs' memory handles.
HGLOBAL PrinterDevMode = nullptr;
HGLOBAL PrinterDevNames = nullptr;

// Runs a print dialog on the process-wide printer and keeps what it chose.
bool RunPrinterDialog(PRINTDLGA& dialog) {
    dialog.lStructSize = sizeof dialog;
    dialog.hDevMode = PrinterDevMode;
    dialog.hDevNames = PrinterDevNames;
    PrintDialogAnswer answer = SystemPrintDialog(dialog);
    if (!answer.Chosen && answer.Error == PDERR_PRINTERNOTFOUND) {
        // The remembered printer has gone (deleted, or its queue removed since): forget it, so
        // that the dialog opens on the system's default printer instead of failing every time.
        GlobalFree(dialog.hDevMode);
        GlobalFree(dialog.hDevNames);
        dialog.hDevMode = nullptr;
        dialog.hDevNames = nullptr;
        answer = SystemPrintDialog(dialog);
    }
    PrinterDevMode = dialog.hDevMode;
    PrinterDevNames = dialog.hDevNames;
    if (!answer.Chosen) {
        if (answer.Error == PDERR_NODEFAULTPRN)
            throw EReportError("There is no printer to print on");
        if (answer.Error)
            throw EReportError("The print dialog failed with error " +
                               std::to_string(answer.Error));
    }
    return answer.Chosen;
}

[[noreturn]] void ThrowPrintFailed() {
    throw EReportError("The report could not be printed. " + SystemErrorText(GetLastError()));
}

} // namespace

PrintDialogAnswer (*SystemPrintDialog)(PRINTDLGA& dialog) = [](PRINTDLGA& dialog) {
    static const SystemFunction<decltype(&PrintDlgA)> printDialog("comdlg32.dll", "PrintDlgA");
    static const SystemFunction<decltype(&CommDlgExtendedError)> dialogError(
        "comdlg32.dll", "CommDlgExtendedError");
    const bool chosen = printDialog.For("The print dialog")(&dialog);
    return PrintDialogAnswer{chosen, chosen ? 0 : dialogError.For("The print dialog")()};
};

PrinterDc ShowPrintDialog(HWND owner) {
    PRINTDLGA dialog{};
    dialog.hwndOwner = owner;
    // Copies are left to the printer's settings: the job itself holds one page.
    dialog.Flags = PD_RETURNDC | PD_NOPAGENUMS | PD_NOSELECTION | PD_USEDEVMODECOPIESANDCOLLATE;
    if (!RunPrinterDialog(dialog))
        return nullptr;
    return PrinterDc(dialog.hDC);
}

// The set-up dialog's answer needs no action: what it chose is kept above.
void SetUpPrinter(HWND owner) {
    PRINTDLGA dialog{};
    dialog.hwndOwner = owner;
    dialog.Flags = PD_PRINTSETUP;
    RunPrinterDialog(dialog);
}

PrintJob::PrintJob(HDC printer, const std::string& title) : printer_(printer), open_(false) {
    // Never a null name: some spoolers drop a job whose name is missing.
    DOCINFOA document{};
    document.cbSize = sizeof document;
    document.lpszDocName = title.c_str();
    if (StartDocA(printer_, &document) <= 0)
        ThrowPrintFailed();
    if (StartPage(printer_) <= 0) {
        const DWORD error = GetLastError();
        AbortDoc(printer_);
        SetLastError(error);
        ThrowPrintFailed();
    }
    open_ = true;
}

PrintJob::~PrintJob() {
    if (open_)
        AbortDoc(printer_);
}

void PrintJob::CopyOverPage(const ReportDib& dib, int width, int height) {
    const int pageWidth = GetDeviceCaps(printer_, HORZRES);
    const int pageHeight = GetDeviceCaps(printer_, VERTRES);
    const int lines = StretchDIBits(printer_, 0, 0, pageWidth, pageHeight, 0, 0, width, height,
                                    dib.Bits.data(), dib.Info(), DIB_RGB_COLORS, SRCCOPY);
    if (lines == 0 || lines == static_cast<int>(GDI_ERROR))
        ThrowPrintFailed();
}

void PrintJob::End() {
    if (EndPage(printer_) <= 0)
        ThrowPrintFailed();
    open_ = false;
    if (EndDoc(printer_) <= 0)
        ThrowPrintFailed();
}
