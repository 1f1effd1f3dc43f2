// The meter of the test rig: serves a pseudo-terminal, answers identification and record
// requests, and on cues from the line misbehaves the ways a real line can.
#include "MeterLine.h"
#include "MeterOptions.h"
#include "StreamPattern.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <memory>
#include <poll.h>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

constexpr char STX = 0x02;
constexpr char CR = 0x0D;

using Clock = std::chrono::steady_clock;

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
            SendWhatIsDue();
            pollfd line{Line->Master(), POLLIN, 0};
            if (poll(&line, 1, MsUntilNextDue()) == 0)
                continue;
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
    // Replies on their way, in the order they go out.
    struct Outgoing {
        Clock::time_point Due;
        std::string Bytes;
    };
    std::deque<Outgoing> OnTheirWay;

    // The new line is linked before the old one closes, so the link always leads somewhere.
    void Serve() {
        auto next = std::make_unique<MeterLine>(Options.LinkPath);
        std::printf("virtual-meter: serving %s at %s\n", next->SlavePath().c_str(),
                    Options.LinkPath.c_str());
        std::fflush(stdout);
        Line = std::move(next);
        OnTheirWay.clear(); // lost with the old line
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
            Reply(std::string{STX, 'V', '?'} + Options.Identification + CR, 0);
        else if (unit.size() >= 5 && unit[0] == STX && unit[1] == 'P')
            Reply(std::string{STX, 'P', '?'} + Options.RecordReply(unit[3] - '0') + CR,
                  unit[3] - '0');
    }

    // record is 0 for the identification.
    void Reply(const std::string& frame, int record) {
        if (Options.Silent)
            return;
        if (int& ignores = Options.RecordIgnores[record]; ignores > 0) {
            --ignores;
            return;
        }
        int splitMs = Options.SplitPauseMs;
        if (auto next = Options.RecordSplitMs.find(record); next != Options.RecordSplitMs.end()) {
            splitMs = next->second;
            Options.RecordSplitMs.erase(next);
        }
        auto due = Clock::now() +
                   std::chrono::milliseconds(Options.DelayMs + Options.RecordLateMs[record]);
        std::string bytes = Options.Double ? frame + frame : frame;
        if (splitMs > 0) {
            Schedule(due, bytes.substr(0, bytes.size() / 2));
            Schedule(due + std::chrono::milliseconds(splitMs), bytes.substr(bytes.size() / 2));
        } else {
            Schedule(due, bytes);
        }
    }

    // A reply never overtakes an earlier one.
    void Schedule(Clock::time_point due, std::string bytes) {
        if (!OnTheirWay.empty())
            due = std::max(due, OnTheirWay.back().Due);
        OnTheirWay.push_back({due, std::move(bytes)});
        SendWhatIsDue();
    }

    void SendWhatIsDue() {
        while (!OnTheirWay.empty() && OnTheirWay.front().Due <= Clock::now()) {
            Send(OnTheirWay.front().Bytes);
            OnTheirWay.pop_front();
        }
    }

    int MsUntilNextDue() const {
        if (OnTheirWay.empty())
            return -1;
        auto wait =
            std::chrono::ceil<std::chrono::milliseconds>(OnTheirWay.front().Due - Clock::now());
        return static_cast<int>(std::max<std::chrono::milliseconds::rep>(wait.count(), 0));
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
        else if (name == "id")
            Options.Identification = space == std::string::npos ? "" : cue.substr(space + 1);
        else if (name == "late")
            Options.RecordLateMs[value] = SecondNumber(cue);
        else if (name == "ignore")
            Options.RecordIgnores[value] =
                cue.find(' ', space + 1) == std::string::npos ? 1 : SecondNumber(cue);
        else if (name == "split-next")
            Options.RecordSplitMs[value] = SecondNumber(cue);
        else if (name == "reset") {
            Options = Defaults;
            OnTheirWay.clear();
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

    // The second number of a cue such as "late 4 350".
    static int SecondNumber(const std::string& cue) {
        const auto second = cue.find(' ', cue.find(' ') + 1);
        return second == std::string::npos ? 0 : std::atoi(cue.c_str() + second + 1);
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
