#include "CommSession.h"

#include <fstream>

CommSession::CommSession() {
    Comm.CommPort = "COM5";
    Comm.OnReceiveData = [this](const void* Buffer, uint16_t BufferLength) {
        const char* bytes = static_cast<const char*>(Buffer);
        Deliveries.emplace_back(bytes, BufferLength);
        EveryDeliveryZeroTerminated = EveryDeliveryZeroTerminated && bytes[BufferLength] == 0;
    };
    Comm.OnRequestHangup = [this](TComm32*) { ++Hangups; };
}

void CommSession::Open() {
    Comm.OpenPort();
    Send("\r!reset\r");
}

std::string CommSession::OpenLogged(const std::string& LogName) {
    std::string log = RigFile(LogName);
    Comm.SetCommsLogFileName(log);
    Open();
    return log;
}

void CommSession::Send(const std::string& Bytes) {
    Comm.QueueSend(Bytes.data(), static_cast<uint16_t>(Bytes.size()));
}

bool CommSession::PumpUntil(const std::function<bool()>& Done, DWORD TimeoutMs) {
    DWORD start = GetTickCount();
    while (!Done()) {
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= TimeoutMs)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, TimeoutMs - elapsed, QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
    }
    return true;
}

void CommSession::PumpFor(DWORD Ms) {
    PumpUntil([] { return false; }, Ms);
}

std::string CommSession::Received() const {
    std::string all;
    for (const std::string& delivery : Deliveries)
        all += delivery;
    return all;
}

std::string RigFile(const std::string& Name) {
    char ports[MAX_PATH] = {};
    GetEnvironmentVariableA("WMX_PORTS", ports, MAX_PATH);
    return std::string("Z:") + ports + "/" + Name;
}

std::vector<std::string> ReadLines(const std::string& Path) {
    std::ifstream file(Path, std::ios::binary);
    std::string content((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::vector<std::string> lines;
    for (size_t start = 0, end; (end = content.find("\r\n", start)) != std::string::npos;
         start = end + 2)
        lines.push_back(content.substr(start, end - start));
    return lines;
}

size_t LineStartingWith(const std::vector<std::string>& Lines, const std::string& Start) {
    size_t index = 0;
    while (index < Lines.size() && Lines[index].rfind(Start, 0) != 0)
        ++index;
    return index;
}

static std::string RigControlFile() {
    char control[MAX_PATH] = {};
    GetEnvironmentVariableA("WMX_PTY_RIG_CONTROL", control, MAX_PATH);
    return std::string("Z:") + control;
}

void WriteRigControl(const std::string& Text) {
    std::ofstream(RigControlFile(), std::ios::binary) << Text;
}

void RemoveRigControl() {
    DeleteFileA(RigControlFile().c_str());
}
