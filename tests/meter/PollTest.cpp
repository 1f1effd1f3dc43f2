// The poll against a meter with awkward timings, on a simulated clock: when each tick asks for
// which record, when each reply reaches the program, and which row each one fills. The meter
// answers one request after another, as a meter on a serial line does; its readings name their
// record (record r reads 070r), so a reading in another record's row shows at once. A late reply is
// late on its way (a slow adapter, a busy PC): the meter takes the next request meanwhile.
#include "meter/MeterLink.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int TickMs = 300;
// The serial component hands over what came once the line has been quiet this long.
constexpr int QuietMs = 100;

std::string Reply(int record) {
    const std::string reading = "070" + std::to_string(record);
    return "\x02P?" + reading + ":" + reading + ":" + reading + "\r";
}

// How the meter treats the requests for one record, one entry per request in turn; requests
// past the listed ones are answered at once.
enum class Treatment { Answer, Ignore, Late350, Split150, Twice, TwiceInOneWrite, AfterNoise };

struct MeterBehaviour {
    int DelayMs = 0;                // before every reply
    bool OneAtATime = false;        // the delay is the meter's own work, not the way's
    bool RepeatsEveryReply = false; // each reply twice in one write, as from a line that echoes
    std::map<int, std::vector<Treatment>> Records = {};
    // Deliveries that no request asked for: when they reach the program, and what they hold.
    std::map<int, std::string> Unasked = {};
};

struct Delivery {
    int At;
    std::string Bytes;
};

class SimulatedPoll {
  public:
    explicit SimulatedPoll(MeterBehaviour behaviour) : Meter(std::move(behaviour)) {
        for (const auto& [at, bytes] : Meter.Unasked)
            Deliveries.push_back({at, bytes});
        Link.Poll.Start();
    }

    // Runs from OK until the poll is over or the time runs out; false when it ran out.
    bool Run(int untilMs = 20000) {
        for (int tick = TickMs; tick <= untilMs; tick += TickMs) {
            DeliverUntil(tick);
            if (!Link.Poll.Running())
                return true;
            if (auto select = Selections.find(tick); select != Selections.end())
                CurrentRecord = select->second;
            const auto record = Link.Poll.NextRecord(CurrentRecord);
            if (!record) {
                Requested += '-';
                continue;
            }
            const std::uint16_t length = BuildMeasurementRequest(Link.RequestBuffer, *record);
            Requested += char(Link.RequestBuffer[length - 2]);
            Link.Poll.Asked(*record);
            MeterReceives(tick, *record);
        }
        DeliverUntil(untilMs);
        return !Link.Poll.Running();
    }

    // The user selects a row just before the tick at that time.
    std::map<int, std::uint8_t> Selections;

    MeterLink Link;
    std::uint8_t CurrentRecord = 1;
    std::string Requested;
    std::map<int, int> Rows; // row -> the record whose reading it holds
    int EndedAt = -1;

  private:
    MeterBehaviour Meter;
    std::map<int, int> RequestsSeen; // record -> requests for it so far
    int MeterBusyUntil = 0;
    std::vector<Delivery> Deliveries;

    void MeterReceives(int at, int record) {
        const auto& treatments = Meter.Records[record];
        const std::size_t nth = RequestsSeen[record]++;
        const Treatment treatment = nth < treatments.size() ? treatments[nth] : Treatment::Answer;
        if (treatment == Treatment::Ignore)
            return;
        // A meter that works over each request takes the next one only when it has answered.
        const int start = Meter.OneAtATime ? std::max(at, MeterBusyUntil) : at;
        // A reply never overtakes the one before it.
        int written = std::max(start + Meter.DelayMs + (treatment == Treatment::Late350 ? 350 : 0),
                               MeterBusyUntil);
        const std::string reply =
            Meter.RepeatsEveryReply ? Reply(record) + Reply(record) : Reply(record);
        switch (treatment) {
        case Treatment::Split150:
            Write(written, reply.substr(0, 8));
            written += 150;
            Write(written, reply.substr(8));
            break;
        case Treatment::Twice:
            Write(written, reply);
            written += 150;
            Write(written, reply);
            break;
        case Treatment::TwiceInOneWrite:
            Write(written, reply + reply);
            break;
        case Treatment::AfterNoise:
            Write(written, "\x7f\x13noise" + reply);
            break;
        default:
            Write(written, reply);
        }
        MeterBusyUntil = written;
    }

    // Bytes written within the quiet time of the previous ones join their delivery.
    void Write(int at, const std::string& bytes) {
        auto open = std::ranges::find_if(
            Deliveries, [at](const Delivery& d) { return d.At - QuietMs <= at && at < d.At; });
        if (open != Deliveries.end() && open->Bytes.back() == '\r') {
            open->Bytes += bytes;
            open->At = at + QuietMs;
        } else {
            Deliveries.push_back({at + QuietMs, bytes});
        }
    }

    // Deliveries reach the program before a tick due at the same moment.
    void DeliverUntil(int now) {
        std::ranges::sort(Deliveries, {}, &Delivery::At);
        while (!Deliveries.empty() && Deliveries.front().At <= now) {
            const Delivery delivery = Deliveries.front();
            Deliveries.erase(Deliveries.begin());
            const auto outcome =
                ReceiveDelivery(Link, {reinterpret_cast<const std::uint8_t*>(delivery.Bytes.data()),
                                       delivery.Bytes.size()});
            if (const auto& m = outcome.Measurement) {
                const int carried = m->Front.Shown.back() - '0';
                Rows[m->Record] = carried;
                ASSERT_EQ(carried, int(m->Record))
                    << "at " << delivery.At << " ms row " << m->Record << " got record " << carried
                    << "'s reading";
            }
            if (outcome.PollOver)
                EndedAt = delivery.At;
        }
    }
};

// Bytes without a CR every 250 ms for 10 s, as from a line full of interference.
std::map<int, std::string> NoiseThroughout() {
    std::map<int, std::string> noise;
    for (int at = 125; at < 10000; at += 250)
        noise[at] = "\x13~noise";
    return noise;
}

struct TimingCase {
    const char* Name;
    MeterBehaviour Meter;
    std::map<int, std::uint8_t> Selections; // before the tick at that time, the user selects a row
    std::string Requested;   // the record digits asked for tick by tick, "-" for none
    int EndedAt;             // ms after OK, when the reply to record 9 came
    std::string Unread = ""; // rows the poll never reads
};

using T = Treatment;

// The poll moves on only from an answered record, so a late or lost reply costs a request again; a
// reply that may answer either of two records is written nowhere, and the poll asks nothing ("-")
// until the replies it waits for have come or are given up. Two replies in one delivery may be one
// reply and its repeat: the poll waits as long before it moves on.
const TimingCase TimingCases[] = {
    {"in time", {}, {}, "123456789", 2800},
    {"every reply 250 ms late", {.DelayMs = 250}, {}, "112-334-556-778-99", 5450},
    {"every reply 350 ms late", {.DelayMs = 350}, {}, "112-334-556-778-99", 5550},
    {"every reply 650 ms late", {.DelayMs = 650}, {}, "1112--3334--5556--7778--999", 8250},
    {"a meter that works 650 ms over each request",
     {.DelayMs = 650, .OneAtATime = true},
     {},
     "11122-------33344-------55566-------77788-------999",
     15450},
    {"the reply to record 4 350 ms late",
     {.Records = {{4, {T::Late350}}}},
     {},
     "12344---------56789",
     5800},
    {"record 5 ignored once", {.Records = {{5, {T::Ignore}}}}, {}, "1234556---------6789", 6100},
    {"record 5 ignored twice",
     {.Records = {{5, {T::Ignore, T::Ignore}}}},
     {},
     "12345556---------6789",
     6400},
    {"records 3 and 7 ignored once",
     {.Records = {{3, {T::Ignore}}, {7, {T::Ignore}}}},
     {},
     "12334---------456778---------89",
     9400},
    {"record 2 ignored ten times, as by a meter switched off a while",
     {.Records = {{2, std::vector<T>(10, T::Ignore)}}},
     {},
     "122222---------22222---------23456789",
     11200},
    {"record 5 ignored once, noise on the line throughout",
     {.Records = {{5, {T::Ignore}}}, .Unasked = NoiseThroughout()},
     {},
     "1234556---------6789",
     6100},
    {"reply 5 split by a 150 ms pause",
     {.Records = {{5, {T::Split150}}}},
     {},
     "1234556---------6789",
     6100},
    {"noise before reply 4", {.Records = {{4, {T::AfterNoise}}}}, {}, "123445---------56789", 6100},
    {"a line error before reply 6", {.Unasked = {{1790, "Framing error"}}}, {}, "123456789", 2800},
    {"reply 3 twice in one delivery",
     {.Records = {{3, {T::TwiceInOneWrite}}}},
     {},
     "123456789",
     2800},
    {"a second copy of reply 3 150 ms after it",
     {.Records = {{3, {T::Twice}}}},
     {},
     "123456789",
     2800},
    {"every reply twice in one delivery", {.RepeatsEveryReply = true}, {}, "123456789", 2800},
    {"every reply twice in one delivery, the reply to record 8 350 ms late",
     {.RepeatsEveryReply = true, .Records = {{8, {T::Late350}}}},
     {},
     "123456788---------9",
     5800},
    {"every reply 250 ms late and twice in one delivery",
     {.DelayMs = 250, .RepeatsEveryReply = true},
     {},
     "11-22-33-44-55-66-77-88-99",
     7850},
    {"row 7 selected after record 3", {}, {{1200, 7}}, "123789", 1900, "456"},
    {"every reply 1.8 s late, past the time a request is given up after",
     {.DelayMs = 1800},
     {},
     "11111---------------11111112------33333334------55555556------77777778------9999999",
     25000},
    {"every reply 3 s late",
     {.DelayMs = 3000},
     {},
     "11111-------------------1111111111-----------------------------111111111112----------"
     "333333333334----------555555555556----------777777777778----------99999999999",
     48700},
    {"row 1 selected while replies come 1.8 s late",
     {.DelayMs = 1800},
     {{9000, 1}},
     "11111---------------11111112------11111112------33333334------55555556------77777778------"
     "9999999",
     29200},
    {"row 2 selected while reply 4 is late",
     {.DelayMs = 250},
     {{2400, 2}},
     "112-334-223-445-667-889-",
     7250},
};

TEST(Poll, EveryReadingLandsInTheRowOfItsRecordWhateverTheTiming) {
    for (const TimingCase& c : TimingCases) {
        SCOPED_TRACE(c.Name);
        SimulatedPoll poll(c.Meter);
        poll.Selections = c.Selections;
        ASSERT_TRUE(poll.Run(60000)) << "the poll never ended; asked for " << poll.Requested;
        EXPECT_EQ(poll.Requested, c.Requested);
        EXPECT_EQ(poll.EndedAt, c.EndedAt);
        for (int r = 1; r <= 9; ++r) {
            const bool unread = c.Unread.find(char('0' + r)) != std::string::npos;
            EXPECT_EQ(poll.Rows[r], unread ? 0 : r) << "row " << r;
        }
    }
}

} // namespace
