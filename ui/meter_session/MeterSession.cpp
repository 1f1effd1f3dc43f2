#include "ui/meter_session/MeterSession.h"

#include "ui/win32/ErrorDisplay.h"
#include "ui/win32/UserSettings.h"

#include <algorithm>
#include <span>

namespace {

// How long the identification may go unanswered before the listeners hear of it.
constexpr DWORD NoAnswerAfterMs = 3000;
// How long Find asks on one port: a meter answers the first request within milliseconds, and
// the identification's timer asks twice more meanwhile.
constexpr UINT FindMsPerPort = 1200;

} // namespace

std::string NoAnswerText(const std::string& port) {
    return "No answer from the meter on " + port;
}

MeterSession::MeterSession(std::uint8_t& recordCursor) : RecordCursor(recordCursor) {
    Comm32.OnReceiveData = [this](const void* buffer, std::uint16_t length) {
        try {
            Received(buffer, length);
        } catch (const std::exception& error) {
            ShowError(error, Owner);
        }
    };
    Comm32.OnRequestHangup = [this](TComm32*) { LineFailed(); };
}

void MeterSession::Attach(HWND owner, UINT pollTimerId, UINT identificationTimerId,
                          UINT findTimerId) {
    Owner = owner;
    Timer2.Create(owner, pollTimerId, 300);
    Timer3.Create(owner, identificationTimerId, 500);
    FindTimer.Create(owner, findTimerId, FindMsPerPort);
    FindTimer.SetEnabled(false);
}

bool MeterSession::Tick(UINT timerId) {
    if (timerId == Timer2.Id())
        PollTick();
    else if (timerId == Timer3.Id())
        IdentificationTick();
    else if (timerId == FindTimer.Id())
        FindTick();
    else
        return false;
    return true;
}

void MeterSession::AddListener(MeterSessionListener& listener) {
    Listeners.push_back(&listener);
}

void MeterSession::RemoveListener(MeterSessionListener& listener) {
    std::erase(Listeners, &listener);
}

template <class Call> void MeterSession::Tell(Call call) {
    for (MeterSessionListener* listener : std::vector(Listeners))
        call(*listener);
}

bool MeterSession::FindPorts() {
    return ReadPortNames(Ports, PortList.Root, PortList.SubKey.c_str());
}

void MeterSession::ZeroCounts() {
    Link.SentCount = 0;
    Link.ReceivedCount = 0;
}

void MeterSession::StartIdentification(const std::string& port) {
    ZeroCounts();
    RecordCursor = 1;
    Link.Poll.Stop();
    Comm32.ClosePort();
    if (port.empty())
        throw ECommsError("Type the name of the serial port after \"other = \", e.g. COM5");
    Comm32.CommPort = port;
    // The message names the port, and a name that opens but is no serial port (NUL) fails as a
    // port that cannot be opened.
    bool opened = false;
    try {
        opened = Comm32.OpenPort();
    } catch (const ECommsError& error) {
        throw ECommsError(std::string(error.what()) + " " + port, error.SystemError);
    }
    if (!opened)
        throw ECommsError("Error opening com port " + port);
    Link.ReplyText.clear();
    IdentificationBegan = GetTickCount();
    Timer3.SetEnabled(true);
    Tell([](MeterSessionListener& l) { l.IdentificationStarted(); });
}

bool MeterSession::StartPoll() {
    if (!Comm32.Connected())
        return false;
    ZeroCounts();
    RecordCursor = 1;
    Link.Poll.Start();
    Timer2.SetEnabled(true);
    return true;
}

void MeterSession::StopAsking() {
    Link.Poll.Stop();
    Timer2.SetEnabled(false);
    Timer3.SetEnabled(false);
}

void MeterSession::Disconnect() {
    StopFind();
    StopAsking();
    ZeroCounts();
    Comm32.ClosePort();
    Tell([](MeterSessionListener& l) { l.PortClosed(); });
}

// A worker that failed leaves a port that reads nothing: a poll would ask it for ever. The port
// is closed as by Disconnect.
void MeterSession::LineFailed() {
    // One left over from a close that has already happened.
    if (!Comm32.Connected())
        return;
    // A port that Find tries is only given up.
    if (Search) {
        FindTick();
        return;
    }
    const std::string port = Comm32.CommPort;
    Disconnect();
    Tell([&](MeterSessionListener& l) { l.LineLost(port); });
}

void MeterSession::SendFrame(std::uint16_t length) {
    // What the component does with the bytes is not reported back; every call counts.
    Comm32.QueueSend(Link.RequestBuffer.data(), length);
    ++Link.SentCount;
    Tell([](MeterSessionListener& l) { l.RequestSent(); });
}

void MeterSession::Received(const void* buffer, std::uint16_t length) {
    const DeliveryOutcome outcome =
        ReceiveDelivery(Link, std::span(static_cast<const std::uint8_t*>(buffer), length));
    Tell([&](MeterSessionListener& l) { l.DeliveryDecoded(outcome); });
    if (outcome.PollOver) {
        Timer2.SetEnabled(false);
        Tell([](MeterSessionListener& l) { l.PollEnded(); });
    }
    if (outcome.Identified) {
        Timer3.SetEnabled(false);
        RememberMeterPort(Comm32.CommPort);
        Tell([this](MeterSessionListener& l) { l.MeterIdentified(Comm32.CommPort); });
        if (Search)
            EndFind({true, Comm32.CommPort, "The meter answered on " + Comm32.CommPort + "."});
    }
}

void MeterSession::IdentificationTick() {
    if (Comm32.Connected())
        SendFrame(BuildIdentificationRequest(Link.RequestBuffer));
    // A port without a meter, or a meter switched off, says nothing.
    if (GetTickCount() - IdentificationBegan >= NoAnswerAfterMs)
        Tell([this](MeterSessionListener& l) { l.IdentificationUnanswered(Comm32.CommPort); });
}

// The poll ends in Received, when the reply to record 9 has been written.
void MeterSession::PollTick() {
    Tell([](MeterSessionListener& l) { l.PollTicked(); });
    const auto record = Link.Poll.NextRecord(RecordCursor);
    if (record && Comm32.Connected()) {
        SendFrame(BuildMeasurementRequest(Link.RequestBuffer, *record));
        Link.Poll.Asked(*record);
    }
}

void MeterSession::StartFind(std::vector<std::string> ports) {
    StopFind();
    StopAsking();
    Search.emplace(std::move(ports));
    TryNextPort();
}

void MeterSession::StopFind() {
    if (!Search)
        return;
    FindTimer.SetEnabled(false);
    Timer3.SetEnabled(false);
    Comm32.ClosePort();
    EndFind({false, "", "Find stopped; no port is open."});
}

// Opens the next port that opens, as TEST does, and asks its meter at once; the identification's
// timer asks again. A port that cannot be opened is noted with the reason.
void MeterSession::TryNextPort() {
    while (const auto port = Search->Next()) {
        const std::string trying = Search->TryingText();
        Tell([&](MeterSessionListener& l) { l.FindTrying(trying); });
        try {
            StartIdentification(*port);
        } catch (const ECommsError& error) {
            Search->NotOpened(error.SystemError ? PortNotOpenedReason(error.SystemError)
                                                : "cannot be opened");
            continue;
        }
        SendFrame(BuildIdentificationRequest(Link.RequestBuffer));
        FindTimer.SetEnabled(true);
        return;
    }
    EndFind({false, "", Search->NoMeterText()});
}

// No meter named itself on the port in time: it is closed and the next one tried.
void MeterSession::FindTick() {
    FindTimer.SetEnabled(false);
    Timer3.SetEnabled(false);
    Comm32.ClosePort();
    // Stopped while the port closed.
    if (Search)
        TryNextPort();
}

void MeterSession::EndFind(FindOutcome outcome) {
    FindTimer.SetEnabled(false);
    Search.reset();
    Tell([&](MeterSessionListener& l) { l.FindEnded(outcome); });
}
