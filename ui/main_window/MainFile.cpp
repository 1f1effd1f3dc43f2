// Opening and saving measurement files, and the start-up loading of "config.wmx" or of the
// document the program was started with. Files opened or saved by the user become recent files;
// "config.wmx" does not.
#include "data/MeasurementFile.h"
#include "data/StoreImage.h"
#include "system/SystemFunction.h"
#include "ui/main_window/MainWindow.h"
#include "ui/main_window/ProgramFiles.h"
#include "ui/main_window/RecoveryCopy.h"
#include "ui/win32/ModalScope.h"
#include "ui/win32/UserSettings.h"

#include <commdlg.h>

namespace {

constexpr const char* ConfigFileName = "config.wmx";

// Runs a common file dialog starting at the name given (a full path starts it in that folder);
// false when the user cancels, else the name chosen is given back.
bool AskFileName(HWND owner, std::string& fileName, const char* filter, const char* defaultExt,
                 DWORD flags, bool save) {
    char buffer[MAX_PATH] = "";
    fileName.copy(buffer, MAX_PATH - 1);
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter;
    dialog.lpstrFile = buffer;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrDefExt = defaultExt;
    dialog.Flags = flags | OFN_NOCHANGEDIR;
    static const SystemFunction<decltype(&GetOpenFileNameA)> open("comdlg32.dll",
                                                                  "GetOpenFileNameA");
    static const SystemFunction<decltype(&GetSaveFileNameA)> saveAs("comdlg32.dll",
                                                                    "GetSaveFileNameA");
    const TModalScope modal(owner);
    if (!(save ? saveAs : open).For("The file dialog")(&dialog))
        return false;
    fileName = buffer;
    return true;
}

} // namespace

void TMainForm::FileOpen() {
    if (!ChangesSavedOrDropped() ||
        !AskFileName(Handle, OpenDialogFileName, "pliki WMX (*.wmx)\0*.wmx\0", nullptr,
                     OFN_HIDEREADONLY, false))
        return;
    OpenFile(OpenDialogFileName);
}

bool TMainForm::ChangesSavedOrDropped() {
    if (!MeasurementsChanged)
        return true;
    const TModalScope modal(Handle);
    switch (MessageBoxA(Handle, "Save changes to the measurements?", "Kavra Tintra",
                        MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDYES:
        return Save();
    case IDNO:
        // Left without saving on purpose: no copy to offer back.
        RecoveryTimer.SetEnabled(false);
        RemoveRecoveryCopy();
        return true;
    default:
        return false;
    }
}

void TMainForm::OpenFile(const std::string& fileName) {
    ReadMeasurementFile(fileName, MeasurementStore);
    ShowWholeSet();
    RecomputeValues(MeasurementStore);
    DocumentFile = fileName;
    ChangesSettled();
    RememberRecentFile(fileName);
}

// The store as a file gives it: row 1 shown and selected, so the next field exit stores into the
// slot on show, and every row's date and time.
void TMainForm::ShowWholeSet() {
    Tabela.SetRow(1);
    CurrentRecord = 1;
    getTab(1);
    for (unsigned r = 1; r <= MeasurementSet::SlotCount; ++r) {
        Tabela.SetCell(1, r, GetText(MeasurementStore.Slot(r).DateText));
        Tabela.SetCell(2, r, GetText(MeasurementStore.Slot(r).TimeText));
    }
}

void TMainForm::FileSave() {
    Save();
}

void TMainForm::FileSaveAs() {
    SaveAs();
}

// A set that came from no file (only "config.wmx" read, or nothing) is named first.
bool TMainForm::Save() {
    if (DocumentFile.empty())
        return SaveAs();
    WriteSet(DocumentFile);
    return true;
}

// The dialog proposes the set's own file, in its folder.
bool TMainForm::SaveAs() {
    std::string fileName = DocumentFile;
    if (!AskFileName(Handle, fileName, "pliki wmx (*.wmx)\0*.wmx\0", "wmx",
                     OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY, true))
        return false;
    WriteSet(fileName);
    return true;
}

void TMainForm::WriteSet(const std::string& fileName) {
    // What the window shows is stored first: a field still being edited and readings just
    // polled into the grid belong in the file. The selected row is not made the current record,
    // which a running poll uses as its cursor.
    setTab(static_cast<std::uint8_t>(Tabela.Row()));
    WriteMeasurementFile(fileName, MeasurementStore);
    DocumentFile = fileName;
    ChangesSettled();
    RememberRecentFile(fileName);
}

void TMainForm::FormShow() {
    Timer1.SetEnabled(true);
    Session.StopAsking();
    SendMessageA(rodzaj_pojazdu, CB_SETCURSEL, 0, 0);
    if (OfferRecovery())
        return;
    // A document named at start is opened instead, as File > Open opens it, and the Open dialog
    // then starts in its folder.
    if (!StartFile.empty()) {
        OpenDialogFileName = OpenablePath(StartFile);
        OpenFile(OpenDialogFileName);
        return;
    }
    ReadMeasurementFile(FindProgramFile(ConfigFileName), MeasurementStore);
    CurrentRecord = 1;
    getTab(1);
    ClearValues(MeasurementStore);
}
