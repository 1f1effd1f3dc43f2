// The meter of the test rig: serves a pseudo-terminal, answers identification and record
// requests, and on cues from the line misbehaves the ways a real line can.
#include "MeterLine.h"
#include "MeterOptions.h"
#include "StreamPattern.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

constexpr char STX = 0x02;
constexpr char CR = 0x0D;

class VirtualMeter {
  public:
    explicit VirtualMeter(MeterOptions options) : Defaults(options), Options(std::move(options)) {
        if (!Options.ReceivedLogPath.empty())
            ReceivedLog.open(Options.ReceivedLogPath, std::ios::binary | std::ios::app);
        Serve();
    }

    void Run() {
        char buffer[4096];
        for (;;) {
            ssize_t count = read(Line->Master(), buffer, sizeof buffer);
            if (count < 0 && errno == EINTR)
                continue;
            if (count <= 0) {
                // The pty was torn down under us: serve a fresh one.
                Serve();
                continue;
            }
            Received(std::string(buffer, count));
        }
    }

  private:
    MeterOptions Defaults;
    MeterOptions Options;
    std::unique_ptr<MeterLine> Line;
    std::ofstream ReceivedLog;
    std::string Pending; // bytes of the unit not yet ended by CR
    std::string SinceDump;
    size_t ReceivedCount = 0; // since the start or the last reset

    // The new line is linked before the old one closes, so the link always leads somewhere.
    void Serve() {
        auto next = std::make_unique<MeterLine>(Options.LinkPath);
        std::printf("virtual-meter: serving %s at %s\n", next->SlavePath().c_str(),
                    Options.LinkPath.c_str());
        std::fflush(stdout);
        Line = std::move(next);
    }

    void Received(const std::string& bytes) {
        ReceivedLog << bytes << std::flush;
        ReceivedCount += bytes.size();
        Pending += bytes;
        for (auto end = Pending.find(CR); end != std::string::npos; end = Pending.find(CR)) {
            std::string unit = Pending.substr(0, end + 1);
            Pending.erase(0, end + 1);
            if (unit[0] == '!') {
                Cue(unit.substr(1, unit.size() - 2));
            } else {
                SinceDump += unit;
                Request(unit);
            }
        }
    }

    void Request(const std::string& unit) {
        if (unit.size() >= 4 && unit[0] == STX && unit[1] == 'V')
            Reply(std::string{STX, 'V', '?'} + Options.Identification + CR);
        else if (unit.size() >= 5 && unit[0] == STX && unit[1] == 'P')
            Reply(std::string{STX, 'P', '?'} + Options.RecordReply(unit[3] - '0') + CR);
    }

    void Reply(const std::string& frame) {
        if (Options.Silent)
            return;
        Pause(Options.DelayMs);
        std::string bytes = Options.Double ? frame + frame : frame;
        if (Options.SplitPauseMs > 0) {
            Send(bytes.substr(0, bytes.size() / 2));
            Pause(Options.SplitPauseMs);
            Send(bytes.substr(bytes.size() / 2));
        } else {
            Send(bytes);
        }
    }

    void Cue(const std::string& cue) {
        auto space = cue.find(' ');
        std::string name = cue.substr(0, space);
        int value = space == std::string::npos ? 0 : std::atoi(cue.c_str() + space + 1);
        if (name == "delay")
            Options.DelayMs = value;
        else if (name == "split")
            Options.SplitPauseMs = value;
        else if (name == "silent")
            Options.Silent = value != 0;
        else if (name == "double")
            Options.Double = value != 0;
        else if (name == "reset") {
            Options = Defaults;
            ReceivedCount = 0;
            SinceDump.clear();
        } else if (name == "deaf")
            Pause(value);
        else if (name == "count")
            Send(std::to_string(ReceivedCount) + CR);
        else if (name == "stream")
            SendPattern(value, false);
        else if (name == "noise")
            SendPattern(value, true);
        else if (name == "stamp")
            SendStamp();
        else if (name == "dump") {
            Send(SinceDump);
            SinceDump.clear();
        } else if (name == "hangup") {
            Serve();
        } else {
            std::fprintf(stderr, "virtual-meter: unknown cue %s\n", cue.c_str());
        }
    }

    void SendPattern(int count, bool withoutCR) {
        StreamPattern pattern;
        std::string bytes(count, '\0');
        for (char& byte : bytes) {
            byte = static_cast<char>(pattern.Next());
            if (withoutCR && byte == CR)
                byte = CR + 1;
        }
        Send(bytes);
    }

    // Microseconds of the real-time clock, taken just before the write, as STX T ? digits CR.
    void SendStamp() {
        auto now = std::chrono::system_clock::now().time_since_epoch();
        auto micros = std::chrono::duration_cast<std::chrono::microseconds>(now).count();
        Send(std::string{STX, 'T', '?'} + std::to_string(micros) + CR);
    }

    void Send(const std::string& bytes) {
        size_t sent = 0;
        while (sent < bytes.size()) {
            ssize_t count = write(Line->Master(), bytes.data() + sent, bytes.size() - sent);
            if (count < 0 && errno == EINTR)
                continue;
            if (count < 0) {
                std::perror("virtual-meter: write");
                return;
            }
            sent += count;
        }
    }

    static void Pause(int ms) {
        if (ms > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    }
};

} // namespace

int main(int argc, char** argv) {
    signal(SIGPIPE, SIG_IGN);
    signal(SIGHUP, SIG_IGN);
    try {
        VirtualMeter meter(ParseMeterOptions(argc, argv));
        meter.Run();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "virtual-meter: %s\n", error.what());
        return 1;
    }
}
