#pragma once
// The state of the link with the meter and the decoding of what it sends. Plain data: the main
// window holds one MeterLink, applies each outcome to its controls and the store, and does the
// sending, the timers, the cursor and the date and time stamps itself.

#include "meter/MeterFrame.h"
#include "meter/MeterPoll.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

struct MeterLink {
    FrameBuffer RequestBuffer{};
    // Each delivery is copied over the start of the previous one; it is never cleared.
    FrameBuffer ReceiveBuffer{};
    // The text of the last identification reply, or the last reading of a measurement reply.
    std::string ReplyText;
    std::int32_t SentCount = 0;
    std::int32_t ReceivedCount = 0;
    MeterPoll Poll;
};

struct ReadingReply {
    std::string Shown; // the table's cell text
    float Value;       // the store's value
};

struct MeasurementReply {
    unsigned Record; // 1..9: the record whose request the reply answers
    ReadingReply Front;
    ReadingReply Left;
    ReadingReply Right;
};

struct DeliveryOutcome {
    // The new text of the result box, when the delivery gives one (the verdict for a
    // measurement reply).
    std::optional<std::string> ResultText;
    // The meter named itself: stop the identification timer, enable OK and show the port.
    bool Identified = false;
    // Stamp the row with the date and time, show the texts and store the values.
    std::optional<MeasurementReply> Measurement;
    // Record 9 has been answered: stop the poll's timer and the hourglass.
    bool PollOver = false;
};

// One delivery from the serial port. Counts it and decodes the frame at its start when the
// delivery holds a CR. A measurement reply is decoded only when the poll knows for certain which
// record it carries (MeterPoll); every complete measurement reply in the delivery counts as one
// answered request, though only the first is decoded.
DeliveryOutcome ReceiveDelivery(MeterLink& link, std::span<const std::uint8_t> delivery);

// The status bar's texts.
std::string SentPanelText(std::int32_t sentCount);
std::string ReceivedPanelText(std::int32_t receivedCount);
std::string PortPanelText(std::string_view port);
