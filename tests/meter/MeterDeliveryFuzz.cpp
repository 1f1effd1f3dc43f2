// Fuzz target for the decoding of deliveries. The first byte names the record the poll has asked
// for (none when it is not 1..9); the second says where the rest splits into two deliveries
// through one link, so the second one lands on what the first left in the receive buffer.

#include "meter/MeterLink.h"
#include "meter/Reading.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

void Require(bool condition) {
    if (!condition)
        std::abort();
}

void CheckReading(const ReadingReply& reading) {
    Require(reading.Shown.size() <= 5);
    Require(std::isfinite(reading.Value));
}

void CheckOutcome(const DeliveryOutcome& outcome, std::span<const std::uint8_t> delivery,
                  std::uint8_t asked) {
    const auto examined = delivery.first(std::min(delivery.size(), FrameBufferSize));
    if (std::ranges::find(examined, Cr) == examined.end()) {
        Require(!outcome.ResultText && !outcome.Identified && !outcome.Measurement);
        return;
    }
    if (outcome.ResultText)
        Require(outcome.ResultText->size() <= FrameBufferSize - 4);
    if (outcome.Identified)
        Require(delivery[1] == 'V' && outcome.ResultText->starts_with("KAVRA"));
    if (outcome.Measurement) {
        const MeasurementReply& reply = *outcome.Measurement;
        Require(delivery[1] == 'P' && reply.Record == asked);
        CheckReading(reply.Front);
        CheckReading(reply.Left);
        CheckReading(reply.Right);
        Require(*outcome.ResultText ==
                Verdict(reply.Front.Value, reply.Left.Value, reply.Right.Value));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    std::uint8_t asked = data[0];
    const std::span<const std::uint8_t> rest(data + 2, size - 2);
    const std::size_t split = std::min<std::size_t>(data[1] * 16u, rest.size());

    MeterLink link;
    if (asked >= 1 && asked <= 9) {
        link.Poll.Start();
        link.Poll.NextRecord(asked);
        link.Poll.Asked(asked);
    }
    for (const auto delivery : {rest.first(split), rest.subspan(split)})
        CheckOutcome(ReceiveDelivery(link, delivery), delivery, asked);
    Require(link.ReceivedCount == 2);
    return 0;
}
