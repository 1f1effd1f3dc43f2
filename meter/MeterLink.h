#pragma once
// The state of the link with the meter and the decoding of what it sends. Plain data: the main
// window holds one MeterLink, applies each outcome to its controls and the store, and does the
// sending, the timers, the cursor and the date and time stamps itself.

#include "meter/MeterFrame.h"

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
    // Set by every delivery, cleared by each poll tick.
    std::uint8_t ReplySeen = 0;
};

struct ReadingReply {
    std::string Shown; // the table's cell text
    float Value;       // the store's value
};

struct MeasurementReply {
    unsigned Record; // 1..9: the table row and the store slot to fill
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
};

// One delivery from the serial port. Counts it, decodes the frame at its start when the delivery
// holds a CR, and sets ReplySeen. A measurement reply fills record currentRecord - 1, because the
// poll has already moved on; it is ignored when that is not 1..9.
DeliveryOutcome ReceiveDelivery(MeterLink& link, std::span<const std::uint8_t> delivery,
                                std::uint8_t currentRecord);

// The bookkeeping of one poll tick, after its request has been sent: moves currentRecord on when
// a reply has come since the last tick. Returns true when the poll is over (past record 9).
bool AdvancePoll(MeterLink& link, std::uint8_t& currentRecord);

// The status bar's texts.
std::string SentPanelText(std::int32_t sentCount);
std::string ReceivedPanelText(std::int32_t receivedCount);
std::string PortPanelText(std::string_view port);
