#include "meter/MeterLink.h"

#include "meter/Reading.h"

#include <algorithm>
#include <utility>

namespace {

using Bytes = std::span<const std::uint8_t>;

std::string Text(Bytes bytes) {
    return std::string(bytes.begin(), bytes.end());
}

// A reply's data begins at position 3; positions 0 and 2 are not examined.
Bytes DataOf(Bytes frame) {
    return frame.subspan(std::min<std::size_t>(3, frame.size()));
}

// The data up to its CR, or nothing when the frame has none from position 3 on.
std::optional<Bytes> DataUpToCr(Bytes frame) {
    const Bytes data = DataOf(frame);
    const auto cr = std::ranges::find(data, Cr);
    if (cr == data.end())
        return std::nullopt;
    return data.first(static_cast<std::size_t>(cr - data.begin()));
}

DeliveryOutcome DecodeIdentification(MeterLink& link, Bytes frame) {
    const auto text = DataUpToCr(frame);
    if (!text)
        return {};
    link.ReplyText = Text(*text);
    DeliveryOutcome outcome;
    outcome.ResultText = link.ReplyText;
    outcome.Identified = link.ReplyText.starts_with("KAVRA");
    return outcome;
}

ReadingReply DecodeReading(MeterLink& link, Bytes reading) {
    link.ReplyText = Text(reading);
    return {DisplayReading(link.ReplyText), MeterReadingValue(link.ReplyText)};
}

DeliveryOutcome DecodeMeasurement(MeterLink& link, Bytes frame) {
    const auto record = link.Poll.Replied();
    if (!record)
        return {};
    const auto data = DataUpToCr(frame);
    if (!data)
        return {};
    const auto firstColon = std::ranges::find(*data, ':');
    if (firstColon == data->end())
        return {};
    const auto secondColon = std::find(firstColon + 1, data->end(), ':');
    if (secondColon == data->end())
        return {};

    MeasurementReply reply{*record, {}, {}, {}};
    reply.Front = DecodeReading(link, Bytes(data->begin(), firstColon));
    reply.Left = DecodeReading(link, Bytes(firstColon + 1, secondColon));
    reply.Right = DecodeReading(link, Bytes(secondColon + 1, data->end()));
    DeliveryOutcome outcome;
    outcome.ResultText = Verdict(reply.Front.Value, reply.Left.Value, reply.Right.Value);
    outcome.PollOver = link.Poll.Carried(reply.Record);
    outcome.Measurement = std::move(reply);
    return outcome;
}

// Four characters at positions 3 to 6, fewer when the CR or the delivery comes first.
DeliveryOutcome DecodeShortReply(Bytes frame) {
    const Bytes data = DataOf(frame);
    const Bytes shown = data.first(std::min<std::size_t>(4, data.size()));
    DeliveryOutcome outcome;
    outcome.ResultText = Text(Bytes(shown.begin(), std::ranges::find(shown, Cr)));
    return outcome;
}

DeliveryOutcome DecodeFrame(MeterLink& link, Bytes frame) {
    if (frame.size() < 2)
        return {};
    switch (frame[1]) {
    case 'V':
        return DecodeIdentification(link, frame);
    case 'P':
        return DecodeMeasurement(link, frame);
    case 'C':
    case 'E':
    case 'O':
    case 'T':
    case 'Z':
        return DecodeShortReply(frame);
    default:
        return {};
    }
}

// The frames after the first in a delivery are not decoded, but each complete measurement reply
// among them may have answered a request all the same; one behind another may repeat it.
void CountFurtherMeasurementReplies(MeterLink& link, Bytes frames) {
    bool afterReply = frames.size() > 1 && frames[1] == 'P';
    for (auto cr = std::ranges::find(frames, Cr); cr != frames.end();
         cr = std::ranges::find(frames, Cr)) {
        frames = Bytes(cr + 1, frames.end());
        const auto end = std::ranges::find(frames, Cr);
        if (end == frames.end() || end - frames.begin() < 2 || frames[1] != 'P')
            continue;
        if (afterReply)
            link.Poll.RepliedAgain();
        else
            link.Poll.Replied();
        afterReply = true;
    }
}

} // namespace

DeliveryOutcome ReceiveDelivery(MeterLink& link, std::span<const std::uint8_t> delivery) {
    ++link.ReceivedCount;
    const std::size_t length = std::min(delivery.size(), link.ReceiveBuffer.size());
    std::copy_n(delivery.begin(), length, link.ReceiveBuffer.begin());
    // Only the bytes of this delivery count; what an earlier one left behind them does not.
    const Bytes frame(link.ReceiveBuffer.data(), length);
    if (std::ranges::find(frame, Cr) == frame.end())
        return {};
    DeliveryOutcome outcome = DecodeFrame(link, frame);
    CountFurtherMeasurementReplies(link, frame);
    return outcome;
}

std::string SentPanelText(std::int32_t sentCount) {
    return "Sent: " + std::to_string(sentCount);
}

std::string ReceivedPanelText(std::int32_t receivedCount) {
    return "Received: " + std::to_string(receivedCount);
}

std::string PortPanelText(std::string_view port) {
    return "Port: " + std::string(port);
}
