#include "meter/MeterPoll.h"

#include <algorithm>

namespace {

constexpr std::uint8_t LastRecord = 9;

} // namespace

void MeterPoll::Start() {
    Waiting.clear();
    Ticks = 0;
    LastHeardTick = 0;
    IsRunning = true;
    Holding = false;
    Settling = false;
    SilentTicks = SilentTicksBeforeLost;
    Asking = 0;
    AskingAnswered = false;
}

void MeterPoll::Stop() {
    IsRunning = false;
    Waiting.clear();
}

std::optional<std::uint8_t> MeterPoll::NextRecord(std::uint8_t& currentRecord) {
    ++Ticks;
    ForgetRequestsLostInSilence();
    Holding = Holding && !Waiting.empty();
    if (Holding)
        return std::nullopt;
    if (Settling) {
        if (Ticks - std::max(SettlingSince, LastHeardTick) < SilentTicks)
            return std::nullopt;
        Settling = false;
    }
    if (currentRecord == Asking && AskingAnswered && currentRecord < LastRecord)
        ++currentRecord;
    if (currentRecord != Asking) {
        Asking = currentRecord;
        AskingAnswered = false;
    }
    return Asking;
}

void MeterPoll::Asked(std::uint8_t record) {
    Waiting.push_back({record, Ticks});
}

void MeterPoll::ForgetRequestsLostInSilence() {
    while (!Waiting.empty() &&
           Ticks - std::max(Waiting.front().Tick, LastHeardTick) >= SilentTicks) {
        Waiting.pop_front();
        // A new giving up may widen the time again.
        if (!Settling)
            WidenedWhileSettling = false;
        Settling = true;
        SettlingSince = Ticks;
    }
}

std::optional<std::uint8_t> MeterPoll::Replied() {
    LastHeardTick = Ticks;
    if (Settling) {
        // It may answer a request given up: the meter is slower than the poll thought. The time
        // grows once for each giving up, however many late replies follow it.
        if (!WidenedWhileSettling)
            SilentTicks = std::min(2 * SilentTicks, MostSilentTicksBeforeLost);
        WidenedWhileSettling = true;
        if (!Waiting.empty())
            Waiting.pop_front();
        return std::nullopt;
    }
    if (Waiting.empty())
        return std::nullopt; // answers nothing the poll asked for
    const std::uint8_t record = Waiting.front().Record;
    const bool certain = std::ranges::all_of(
        Waiting, [record](const Request& request) { return request.Record == record; });
    // Whichever request it answers, the oldest is waiting no more: answered now or ignored.
    Waiting.pop_front();
    if (!certain) {
        Holding = true;
        return std::nullopt;
    }
    return record;
}

void MeterPoll::RepliedAgain() {
    LastHeardTick = Ticks;
    Holding = Holding || !Waiting.empty();
}

bool MeterPoll::Carried(std::uint8_t record) {
    if (!IsRunning || record != Asking)
        return false;
    AskingAnswered = true;
    IsRunning = record != LastRecord;
    return !IsRunning;
}
