// The window's title names the set it shows: "a.wmx - Kavra Tintra" for a set opened from or saved
// to a.wmx, "Kavra Tintra" for one that came from no file, with a leading "*" while it has
// changes that are not saved.
#include "ui/controls/StandardControls.h"
#include "ui/main_window/MainWindow.h"

namespace {
constexpr const char* ProgramName = "Kavra Tintra";
}

void TMainForm::ShowTitle() {
    std::string title = MeasurementsChanged ? "*" : "";
    // The file's name alone: its folder is the File menu's and the Save As dialog's to show.
    if (!DocumentFile.empty())
        title += DocumentFile.substr(DocumentFile.find_last_of("\\/") + 1) + " - ";
    title += ProgramName;
    // Every keystroke marks the set changed: the frame is repainted only when the text differs.
    if (WindowText(Handle) != title)
        SetWindowTextTo(Handle, title);
}
