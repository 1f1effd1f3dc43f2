// The main window's side of the meter link: sending requests, applying what the meter sends,
// Connect and Disconnect, the identification and poll timers, and closing the port.
#include "data/GridPlaceholders.h"
#include "meter/LinkState.h"
#include "ui/controls/StandardControls.h"
#include "ui/main_window/MainWindow.h"
#include "ui/port_dialog/PortDialog.h"
#include "ui/win32/ErrorDisplay.h"
#include "ui/win32/ModalScope.h"
#include "ui/win32/UserSettings.h"

#include <span>

MeterLink Link;
PortTable Ports;
PortListSource PortList;

namespace {

// How long the identification may go unanswered before the hint panel says so.
constexpr DWORD NoAnswerAfterMs = 3000;

std::string NoAnswerText(const std::string& port) {
    return "No answer from the meter on " + port;
}

std::string LineLostText(const std::string& port) {
    return "The line to the meter on " + port + " was lost";
}

} // namespace

void TMainForm::SendFrame(FrameBuffer request, std::uint16_t length) {
    // What the component does with the bytes is not reported back; every call counts.
    Comm32.QueueSend(request.data(), length);
    ++Link.SentCount;
    SetStatusText(1, SentPanelText(Link.SentCount));
}

void TMainForm::Comm32ReceiveData(const void* Buffer, std::uint16_t BufferLength) {
    const DeliveryOutcome outcome =
        ReceiveDelivery(Link, std::span(static_cast<const std::uint8_t*>(Buffer), BufferLength));
    SetStatusText(2, ReceivedPanelText(Link.ReceivedCount));
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
    if (outcome.PollOver) {
        Timer2.SetEnabled(false);
        SetWaitCursor(false);
    }
    if (outcome.Identified) {
        Timer3.SetEnabled(false);
        EnableWindow(Form2->btOK, TRUE);
        SetStatusText(0, PortPanelText(Comm32.CommPort));
        if (StatusText(3) == NoAnswerText(Comm32.CommPort))
            SetStatusText(3, "");
        RememberMeterPort(Comm32.CommPort);
        Form2->MeterIdentified();
    }
}

// The tool button and its menu item say the same; the speed button paints its caption only when
// asked to.
void TMainForm::SetStartCaption(const char* caption) {
    SetWindowTextA(sbStart, caption);
    InvalidateRect(sbStart, nullptr, TRUE);
    const std::string item = std::string("&") + caption + "\tF5";
    ModifyMenuA(MeterMenu, idsbStart, MF_BYCOMMAND | MF_STRING, idsbStart, item.c_str());
}

void TMainForm::StartIdentification() {
    // The port named in panel 0 is the one that last identified a meter: not this one, yet.
    SetStatusText(0, PortPanelText(""));
    IdentificationStarted = GetTickCount();
    Timer3.SetEnabled(true);
}

void TMainForm::Disconnect() {
    Link.Poll.Stop();
    Timer2.SetEnabled(false);
    Timer3.SetEnabled(false);
    Link.SentCount = 0;
    Link.ReceivedCount = 0;
    SetStatusText(1, SentPanelText(0));
    SetStatusText(2, ReceivedPanelText(0));
    Comm32.ClosePort();
    Form2->PortClosed();
    SetWaitCursor(false);
    SetStartCaption("Connect");
}

// A worker that failed (the cable pulled, the adapter gone) leaves a port that reads nothing: a
// poll would ask it for ever. The port is closed as by Disconnect and the hint panel says why;
// the readings already in the table stay.
void TMainForm::Comm32RequestHangup() {
    // One left over from a close that has already happened.
    if (!Comm32.Connected())
        return;
    const std::string port = Comm32.CommPort;
    Disconnect();
    SetStatusText(3, LineLostText(port));
}

void TMainForm::sbStartClick() {
    if (WindowText(sbStart) != "Connect") {
        Disconnect();
        return;
    }
    // Connect clears the table.
    if (!ChangesSavedOrDropped())
        return;
    Link.Poll.Stop();
    Timer2.SetEnabled(false);
    Timer3.SetEnabled(false);
    CurrentRecord = 1;
    for (int r = 1; r <= 9; ++r) {
        Tabela.SetCell(1, r, PlaceholderDateText);
        Tabela.SetCell(2, r, PlaceholderTimeText);
    }
    for (int c = 3; c <= 5; ++c) {
        for (int r = 1; r <= 9; ++r)
            Tabela.SetCell(c, r, PlaceholderReadingText);
    }
    if (!ReadPortNames(Ports, PortList.Root, PortList.SubKey.c_str())) {
        const TModalScope modal(Handle);
        MessageBoxA(Handle, "serial ports not found", ApplicationTitle().c_str(), MB_OK);
    }
    SetStartCaption("Disconnect");
    SetWindowTextA(Form2->btTestComm, "TEST");
    Form2->Show();
}

void TMainForm::Timer3Timer() {
    if (Comm32.Connected()) {
        const std::uint16_t length = BuildIdentificationRequest(Link.RequestBuffer);
        SendFrame(Link.RequestBuffer, length);
    }
    // A port without a meter, or a meter switched off, says nothing: the hint panel says so.
    if (GetTickCount() - IdentificationStarted >= NoAnswerAfterMs)
        SetStatusText(3, NoAnswerText(Comm32.CommPort));
}

// The poll ends in Comm32ReceiveData, when the reply to record 9 has been written.
void TMainForm::Timer2Timer() {
    SetWaitCursor(true);
    const auto record = Link.Poll.NextRecord(CurrentRecord);
    if (record && Comm32.Connected()) {
        const std::uint16_t length = BuildMeasurementRequest(Link.RequestBuffer, *record);
        SendFrame(Link.RequestBuffer, length);
        Link.Poll.Asked(*record);
    }
}

// Closing drops the set: asked first where it has changed.
void TMainForm::FormCloseQuery() {
    CanClose = ChangesSavedOrDropped();
}

void TMainForm::FormClose() {
    Comm32.ClosePort();
}
