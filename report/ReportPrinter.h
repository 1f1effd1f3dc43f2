#pragma once
// The one printer of the process: chosen in the print dialog or the printer set-up dialog, it
// stays chosen, with its settings, until the program ends.

#include "report/ReportImage.h"

#include <windows.h>

#include <commdlg.h>

#include <memory>
#include <string>
#include <type_traits>

struct PrinterDcDeleter {
    void operator()(HDC dc) const { DeleteDC(dc); }
};
using PrinterDc = std::unique_ptr<std::remove_pointer_t<HDC>, PrinterDcDeleter>;

// What a print dialog answered: whether the user chose, and its extended error when not (0 for a
// cancel).
struct PrintDialogAnswer {
    bool Chosen;
    DWORD Error;
};
// The system's print dialogs. Wine's dialog never reports a remembered printer as gone, as
// Windows does, so tests put a dialog here that does.
extern PrintDialogAnswer (*SystemPrintDialog)(PRINTDLGA& dialog);

// Shows the system's print dialog; the printer's device context, or none when cancelled. When the
// remembered printer is no longer found, the dialog is shown again on the default printer.
PrinterDc ShowPrintDialog(HWND owner);

// A print job of one page with the given title. A job not ended is cancelled, so a failure on the
// way leaves nothing half-printed in the queue.
class PrintJob {
  public:
    PrintJob(HDC printer, const std::string& title);
    PrintJob(const PrintJob&) = delete;
    PrintJob& operator=(const PrintJob&) = delete;
    ~PrintJob();

    // One stretching copy of the whole image over the whole printable area of the page.
    void CopyOverPage(const ReportDib& dib, int width, int height);
    void End();

  private:
    HDC printer_;
    bool open_;
};
