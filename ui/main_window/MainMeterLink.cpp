// The main window's side of the meter session: Connect and Disconnect, and what the window shows
// of the session (the status panels, the readings in the table and the store, the hourglass).
#include "data/GridPlaceholders.h"
#include "ui/controls/StandardControls.h"
#include "ui/main_window/MainWindow.h"
#include "ui/port_dialog/PortDialog.h"
#include "ui/win32/ErrorDisplay.h"
#include "ui/win32/ModalScope.h"

namespace {

// A hint of an earlier TEST, whichever port it named, has had its time.
bool ShowsNoAnswer(const std::string& hint) {
    return hint.starts_with(NoAnswerText(""));
}

std::string LineLostText(const std::string& port) {
    return "The line to the meter on " + port + " was lost";
}

} // namespace

void TMainForm::RequestSent() {
    SetStatusText(1, SentPanelText(Session.Link.SentCount));
}

void TMainForm::DeliveryDecoded(const DeliveryOutcome& outcome) {
    SetStatusText(2, ReceivedPanelText(Session.Link.ReceivedCount));
    if (const auto& m = outcome.Measurement) {
        // A reading changes the set, with the verdict written for it; the meter naming itself
        // does not.
        MarkChanged();
        Tabela.SetCell(3, m->Record, m->Front.Shown);
        Tabela.SetCell(4, m->Record, m->Left.Shown);
        Tabela.SetCell(5, m->Record, m->Right.Shown);
        MeasurementRecord& slot = MeasurementStore.Slot(m->Record);
        slot.FrontValue = m->Front.Value;
        slot.LeftValue = m->Left.Value;
        slot.RightValue = m->Right.Value;
        // The verdict shown belongs to these readings: the row shows it again when selected,
        // and a saved file carries it.
        if (outcome.ResultText)
            SetText(slot.Verdict, *outcome.ResultText);
    }
    if (outcome.ResultText)
        SetWindowTextTo(txtTmp, *outcome.ResultText);
    if (const auto& m = outcome.Measurement) {
        // The reply carries no time of its own: the row is stamped when it is decoded.
        Tabela.SetCell(1, m->Record, ShortDateText());
        Tabela.SetCell(2, m->Record, LongTimeText());
    }
}

void TMainForm::IdentificationStarted() {
    // The port named in panel 0 is the one that last identified a meter: not this one, yet.
    SetStatusText(0, PortPanelText(""));
    if (ShowsNoAnswer(StatusText(3)))
        SetStatusText(3, "");
}

// A port without a meter, or a meter switched off, says nothing: the hint panel says so.
void TMainForm::IdentificationUnanswered(const std::string& port) {
    SetStatusText(3, NoAnswerText(port));
}

void TMainForm::MeterIdentified(const std::string& port) {
    SetStatusText(0, PortPanelText(port));
    if (ShowsNoAnswer(StatusText(3)))
        SetStatusText(3, "");
}

void TMainForm::PollTicked() {
    SetWaitCursor(true);
}

void TMainForm::PollEnded() {
    SetWaitCursor(false);
}

void TMainForm::PortClosed() {
    SetStatusText(1, SentPanelText(0));
    SetStatusText(2, ReceivedPanelText(0));
    SetWaitCursor(false);
    SetStartCaption("Connect");
}

// The readings already in the table stay; the hint panel says why the port was closed.
void TMainForm::LineLost(const std::string& port) {
    SetStatusText(3, LineLostText(port));
}

// The tool button and its menu item say the same; the speed button paints its caption only when
// asked to.
void TMainForm::SetStartCaption(const char* caption) {
    SetWindowTextA(sbStart, caption);
    InvalidateRect(sbStart, nullptr, TRUE);
    const std::string item = std::string("&") + caption + "\tF5";
    ModifyMenuA(MeterMenu, idsbStart, MF_BYCOMMAND | MF_STRING, idsbStart, item.c_str());
}

// The port dialog is made at the first Connect: a start that never reads the meter needs none.
TForm2& MainWindowParts::PortDialog() {
    if (!Dialog)
        Dialog = std::make_unique<TForm2>(Handle, Session);
    return *Dialog;
}

void TMainForm::sbStartClick() {
    if (WindowText(sbStart) != "Connect") {
        Session.Disconnect();
        return;
    }
    // Connect clears the table.
    if (!ChangesSavedOrDropped())
        return;
    Session.StopAsking();
    CurrentRecord = 1;
    for (int r = 1; r <= 9; ++r) {
        Tabela.SetCell(1, r, PlaceholderDateText);
        Tabela.SetCell(2, r, PlaceholderTimeText);
    }
    for (int c = 3; c <= 5; ++c) {
        for (int r = 1; r <= 9; ++r)
            Tabela.SetCell(c, r, PlaceholderReadingText);
    }
    if (!Session.FindPorts()) {
        const TModalScope modal(Handle);
        MessageBoxA(Handle, "serial ports not found", ApplicationTitle().c_str(), MB_OK);
    }
    SetStartCaption("Disconnect");
    TForm2& dialog = PortDialog();
    SetWindowTextA(dialog.btTestComm, "TEST");
    dialog.Show();
}

// Closing drops the set: asked first where it has changed.
void TMainForm::FormCloseQuery() {
    CanClose = ChangesSavedOrDropped();
}

void TMainForm::FormClose() {
    Session.Comm32.ClosePort();
}
