// The recovery copy of the working set, and the end of the Windows session: nothing typed or read
// is lost to a crash, a power cut or a log-off.
#include "ui/main_window/MainWindow.h"
#include "ui/main_window/RecoveryCopy.h"
#include "ui/win32/ErrorDisplay.h"
#include "ui/win32/ModalScope.h"

#include <memory>

void TMainForm::MarkChanged() {
    MeasurementsChanged = true;
    ShowTitle();
    // Not restarted by each keystroke: the copy is never more than a moment behind.
    if (!RecoveryTimer.Enabled())
        RecoveryTimer.SetEnabled(true);
}

void TMainForm::ChangesSettled() {
    MeasurementsChanged = false;
    ShowTitle();
    RecoveryTimer.SetEnabled(false);
    RemoveRecoveryCopy();
}

void TMainForm::RecoveryTimerTimer() {
    RecoveryTimer.SetEnabled(false);
    if (!MeasurementsChanged)
        return;
    // What the window shows, a field still being edited included, as a save would store it.
    setTab(static_cast<std::uint8_t>(Tabela.Row()));
    WriteRecoveryCopy(MeasurementStore, DocumentFile);
}

// At start, before "config.wmx" or a document named at start: a copy left by a run that did not
// end is offered back. Taken, it is the set as it was, still unsaved; refused, it is removed.
bool TMainForm::OfferRecovery() {
    auto recovered = std::make_unique<MeasurementSet>();
    const auto copy = ReadRecoveryCopy(*recovered);
    if (!copy)
        return false;
    const std::string question = "Recover the measurements from " +
                                 ShortDateText(&copy->WrittenAt) + " " +
                                 LongTimeText(&copy->WrittenAt) + "?";
    const bool taken = [&] {
        const TModalScope modal(Handle);
        return MessageBoxA(Handle, question.c_str(), ApplicationTitle().c_str(),
                           MB_YESNO | MB_ICONQUESTION) == IDYES;
    }();
    if (!taken) {
        RemoveRecoveryCopy();
        return false;
    }
    MeasurementStore = *recovered;
    ShowWholeSet();
    DocumentFile = copy->Origin;
    MeasurementsChanged = true;
    ShowTitle();
    return true;
}

// Windows asks whether the session may end: a changed set is first kept in the recovery copy, so
// that nothing is lost whatever comes next, then the user is asked as on Exit while the shutdown
// screen shows why the program holds it up. A session that must end at once is let go.
LRESULT TMainForm::QueryEndSession(LPARAM reason) {
    if (!MeasurementsChanged)
        return TRUE;
    RecoveryTimerTimer();
    if (reason & ENDSESSION_CRITICAL)
        return TRUE;
    ShutdownBlockReasonCreate(Handle, L"The measurements have changes that are not saved.");
    const bool mayEnd = ChangesSavedOrDropped();
    ShutdownBlockReasonDestroy(Handle);
    return mayEnd;
}

void TMainForm::EndSession(bool ending) {
    if (ending && MeasurementsChanged)
        RecoveryTimerTimer();
}
