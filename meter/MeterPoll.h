#pragma once
// The poll of the meter's nine records: which record each tick asks for, and which request each
// measurement reply answers. Plain data, touched on the main thread only.
//
// A reply does not say which record it carries, so it is tied to its request by order: the meter
// answers the requests in the order they came, each at most once, but it may answer late, ignore
// a request or send a reply in pieces that cannot be read. A reply therefore answers the oldest
// request still waiting or, if that one was ignored, a later one; it is known to carry record r
// only when every request that may still be waiting asked for r. Otherwise nothing is written,
// and the poll asks nothing more until every request it may still answer has been answered or
// has waited too long, so that the next reply is certain again; then it asks again.
//
// A request given up may still be answered by a meter slower than the poll thought. So once
// requests have been given up, the poll asks nothing until the line has been quiet as long again,
// and a reply that comes meanwhile is written nowhere: it proves the meter slow, and the time a
// request is given up after doubles (once for each giving up, up to 12 s).
//
// A line may also repeat a reply right behind itself, in the same delivery. A further reply in a
// delivery therefore may answer the oldest request still waiting or nothing at all: that request
// stays waiting, and the poll asks nothing until it is answered or given up. A repeat that comes
// in a delivery of its own cannot be told from a reply by order, and is not allowed for.

#include <cstdint>
#include <deque>
#include <optional>

class MeterPoll {
  public:
    // OK: the poll starts at currentRecord with no request waiting.
    void Start();
    // Disconnect, Connect or TEST: no tick follows until the next Start, and no reply that comes
    // meanwhile is written.
    void Stop();
    bool Running() const { return IsRunning; }

    // A tick: moves currentRecord past the record the poll asks for once that record has been
    // answered, and returns the record to ask for now, or nothing while the poll waits for
    // replies it cannot yet tell apart. A record the user has selected since the last tick is
    // asked for as it stands.
    std::optional<std::uint8_t> NextRecord(std::uint8_t& currentRecord);
    // A request for the record went out.
    void Asked(std::uint8_t record);

    // One complete measurement reply, readable or not: the record it carries, when that is
    // certain. A reply shows the meter still at work; noise or a line error does not.
    std::optional<std::uint8_t> Replied();
    // A further complete measurement reply in the same delivery as one before it: it may answer
    // a request or repeat that reply, and is written nowhere.
    void RepliedAgain();
    // The reply carrying the record has been read and written: true when that ends the poll
    // (record 9, the last it asks for).
    bool Carried(std::uint8_t record);

    // A request is taken as lost once no measurement reply has come for this many ticks (1.5 s)
    // since it went out: a meter still at work on requests asked long ago keeps replying, so a
    // reply that comes after such a silence still would be taken for a later request's.
    static constexpr unsigned SilentTicksBeforeLost = 5;
    static constexpr unsigned MostSilentTicksBeforeLost = 40;

  private:
    struct Request {
        std::uint8_t Record;
        unsigned Tick; // the tick it went out in
    };
    // The requests the meter may still answer, oldest first.
    std::deque<Request> Waiting;
    unsigned Ticks = 0;
    unsigned LastHeardTick = 0;
    bool IsRunning = false;
    // A reply could not be tied to its request: ask nothing until no request is waiting.
    bool Holding = false;
    // Requests were given up at SettlingSince: ask nothing until the line has been quiet for
    // SilentTicks since then and since the last reply.
    bool Settling = false;
    unsigned SettlingSince = 0;
    unsigned SilentTicks = SilentTicksBeforeLost;
    bool WidenedWhileSettling = false;
    // The record the poll asks for, 0 before the first tick, and whether a reply has carried it
    // since it was first asked for.
    std::uint8_t Asking = 0;
    bool AskingAnswered = false;

    void ForgetRequestsLostInSilence();
};
