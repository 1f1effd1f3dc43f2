#pragma once
// A session with the meter: the serial port, the link's state and its table of ports, the
// identification and the poll. The main window owns it and hands it to the port dialog; both
// drive it through its methods and hear back as its listeners. Main thread only.

#include "meter/MeterLink.h"
#include "meter/PortDeviceNames.h"
#include "meter/PortSearch.h"
#include "meter/SerialPortList.h"
#include "serial/Comm32.h"
#include "ui/win32/WindowTimer.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// Where Connect looks for the system's serial ports and their device names. Tests point it at a
// key of their own, and give device names of their own (Wine has none for its ports).
struct PortListSource {
    HKEY Root = HKEY_LOCAL_MACHINE;
    std::string SubKey = SerialCommKey;
    std::function<PortDeviceNames()> DeviceNames = ReadPortDeviceNames;
};

// The hint that the identification has gone unanswered on the port a while.
std::string NoAnswerText(const std::string& port);

// How Find ended: the meter found (its port open and identified), no meter on any port, or
// stopped; the text says which, for the user.
struct FindOutcome {
    bool Found = false;
    std::string Port;
    std::string Text;
};

// What a window hears of the session; nothing by default.
class MeterSessionListener {
  public:
    // A request went out; the sent count has grown.
    virtual void RequestSent() {}
    // A delivery came and was decoded; the received count has grown.
    virtual void DeliveryDecoded(const DeliveryOutcome&) {}
    // The identification started on a port just opened.
    virtual void IdentificationStarted() {}
    // The identification has gone unanswered for a while on the port.
    virtual void IdentificationUnanswered(const std::string& /*port*/) {}
    // The meter on the port named itself: the poll may start.
    virtual void MeterIdentified(const std::string& /*port*/) {}
    // A tick of the poll, whether or not it asked.
    virtual void PollTicked() {}
    // The reply to record 9 has come.
    virtual void PollEnded() {}
    // The port was closed: nothing is asked or read until the next identification.
    virtual void PortClosed() {}
    // The port's line was lost (the cable pulled, the adapter gone) and the port closed.
    virtual void LineLost(const std::string& /*port*/) {}
    // Find goes on to the next port; the text says which.
    virtual void FindTrying(const std::string& /*text*/) {}
    virtual void FindEnded(const FindOutcome&) {}

  protected:
    ~MeterSessionListener() = default;
};

class MeterSession {
  public:
    // The poll asks from the record cursor, which the main window moves too (a row selected
    // mid-poll is asked next).
    explicit MeterSession(std::uint8_t& recordCursor);
    MeterSession(const MeterSession&) = delete;
    MeterSession& operator=(const MeterSession&) = delete;

    // The session's timers tick at the owner window, which hands each WM_TIMER to Tick; errors in
    // what the session does on its own are shown over the owner.
    void Attach(HWND owner, UINT pollTimerId, UINT identificationTimerId, UINT findTimerId);
    // Runs the tick of one of the session's timers; false for another timer.
    bool Tick(UINT timerId);

    void AddListener(MeterSessionListener& listener);
    void RemoveListener(MeterSessionListener& listener);

    // Connect: reads the system's ports into the table; false, with none, when the list cannot be
    // read.
    bool FindPorts();
    // TEST: closes the port, opens the one given and asks the meter to name itself every 500 ms.
    // Throws ECommsError, naming the port, when it cannot be opened.
    void StartIdentification(const std::string& port);
    // OK: reads the nine records from the first, one request every 300 ms; false, with nothing
    // started, when no port is open.
    bool StartPoll();
    // Stops the identification and the poll; the port stays as it is.
    void StopAsking();
    // Stops Find, the identification and the poll and closes the port.
    void Disconnect();

    // Find: the identification tried on each of the ports in turn, as TEST does, for about 1.2 s
    // each, until a meter names itself; that port then stays open and identified, as after TEST.
    void StartFind(std::vector<std::string> ports);
    // Stops Find at once and closes the port it has open.
    void StopFind();
    bool Finding() const { return Search.has_value(); }

    bool Connected() { return Comm32.Connected(); }

    TComm32 Comm32;
    MeterLink Link;
    // The port names that the last Connect found.
    PortTable Ports;
    PortListSource PortList;
    TTimer Timer2;    // the poll of the meter's records
    TTimer Timer3;    // the identification request, repeated until the meter names itself
    TTimer FindTimer; // the end of Find's time on a port

  private:
    // The sent and received counts start afresh at TEST, OK and Disconnect.
    void ZeroCounts();
    void SendFrame(std::uint16_t length);
    void Received(const void* buffer, std::uint16_t length);
    void LineFailed();
    void IdentificationTick();
    void PollTick();
    void TryNextPort();
    void FindTick();
    void EndFind(FindOutcome outcome);
    template <class Call> void Tell(Call call);

    std::uint8_t& RecordCursor;
    HWND Owner = nullptr;
    std::vector<MeterSessionListener*> Listeners;
    // When the running identification began.
    DWORD IdentificationBegan = 0;
    std::optional<PortSearch> Search;
};
