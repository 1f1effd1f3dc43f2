#include "report/ReportPrinter.h"
#include "report/TestReport.h"

#include <cderr.h>
#include <gtest/gtest.h>

#include <vector>

namespace {

// A system whose remembered printer has gone: the dialog fails while it is asked for that
// printer and is cancelled when it opens on the default one. It records what each call got.
struct GonePrinterDialog {
    static inline std::vector<bool> AskedForRemembered;
    static PrintDialogAnswer Show(PRINTDLGA& dialog) {
        const bool remembered = dialog.hDevNames != nullptr;
        AskedForRemembered.push_back(remembered);
        if (dialog.Flags & PD_PRINTSETUP) {
            // Print Setup chooses a printer, which the process then remembers.
            dialog.hDevMode = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DEVMODEA));
            dialog.hDevNames = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 64);
            return {true, 0};
        }
        return remembered ? PrintDialogAnswer{false, PDERR_PRINTERNOTFOUND}
                          : PrintDialogAnswer{false, 0};
    }
};

} // namespace

TEST(ReportPrinterTest, AGonePrinterIsForgottenAndTheDialogOpensOnTheDefault) {
    auto* system = SystemPrintDialog;
    SystemPrintDialog = &GonePrinterDialog::Show;
    SetUpPrinter(nullptr);
    PrinterDc first;
    EXPECT_NO_THROW(first = ShowPrintDialog(nullptr));
    PrinterDc second;
    EXPECT_NO_THROW(second = ShowPrintDialog(nullptr));
    SystemPrintDialog = system;

    EXPECT_EQ(first, nullptr);
    EXPECT_EQ(second, nullptr);
    // Set-up; the print dialog on the gone printer, then on the default; the next print no
    // longer asks for the gone printer.
    EXPECT_EQ(GonePrinterDialog::AskedForRemembered,
              (std::vector<bool>{false, true, false, false}));
}
