#include "meter/MeterLink.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

std::span<const std::uint8_t> BytesOf(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

std::string Frame(char letter, const std::string& data) {
    return std::string("\x02") + letter + "?" + data + "\r";
}

struct ExpectedReading {
    std::string shown;
    float value;
};

struct ExpectedMeasurement {
    unsigned record;
    ExpectedReading front, left, right;
};

struct DeliveryCase {
    const char* name;
    std::string delivery;
    std::uint8_t asked; // the record whose request waits for its reply; 0 for none
    std::optional<std::string> resultText;
    bool identified;
    std::optional<ExpectedMeasurement> measurement;
};

void ExpectReading(const ReadingReply& actual, const ExpectedReading& expected) {
    EXPECT_EQ(actual.Shown, expected.shown);
    EXPECT_EQ(actual.Value, expected.value);
}

std::string Tail(std::size_t length, char fill) {
    return std::string(length, fill);
}

const std::vector<DeliveryCase> DeliveryCases = {
    {"right below its limit", Frame('P', "0753:0700:0699"), 1, "negative", false,
     ExpectedMeasurement{1, {"075,3", 753.0f}, {"070,0", 700.0f}, {"069,9", 699.0f}}},
    {"empty front meets its limit", Frame('P', "9999:0700:0700"), 1, "positive", false,
     ExpectedMeasurement{1, {"-----", 9999.0f}, {"070,0", 700.0f}, {"070,0", 700.0f}}},
    {"limits met when equal", Frame('P', "0750:0700:0700"), 4, "positive", false,
     ExpectedMeasurement{4, {"075,0", 750.0f}, {"070,0", 700.0f}, {"070,0", 700.0f}}},
    {"front below its limit", Frame('P', "0749:0999:0999"), 9, "negative", false,
     ExpectedMeasurement{9, {"074,9", 749.0f}, {"099,9", 999.0f}, {"099,9", 999.0f}}},
    {"left below its limit", Frame('P', "0999:0699:0999"), 2, "negative", false,
     ExpectedMeasurement{2, {"099,9", 999.0f}, {"069,9", 699.0f}, {"099,9", 999.0f}}},
    {"short, long, blank-led and non-numeric readings", Frame('P', " 753:07531:7a"), 1, "negative",
     false, ExpectedMeasurement{1, {" 75,3", 753.0f}, {"075,3", 7531.0f}, {"7a", 0.0f}}},
    {"three-character readings shown as they are", Frame('P', "800:700:700"), 1, "positive", false,
     ExpectedMeasurement{1, {"800", 800.0f}, {"700", 700.0f}, {"700", 700.0f}}},
    {"empty readings", Frame('P', "::"), 1, "negative", false,
     ExpectedMeasurement{1, {"", 0.0f}, {"", 0.0f}, {"", 0.0f}}},
    {"third colon belongs to the right reading", Frame('P', "0800:0800:08:0"), 1, "negative", false,
     ExpectedMeasurement{1, {"080,0", 800.0f}, {"080,0", 800.0f}, {"08:,0", 0.0f}}},
    {"measurement no request asked for", Frame('P', "0753:0700:0700"), 0, {}, false, {}},
    {"measurement without CR", "\x02P?0753:0700:0700", 1, {}, false, {}},
    {"measurement with one colon", Frame('P', "0753:07000700"), 1, {}, false, {}},
    {"measurement with no colon", Frame('P', "075307000700"), 1, {}, false, {}},
    {"measurement whose colons follow its CR", "\x02P?0753\r:0700:0700", 1, {}, false, {}},
    {"meter names itself", Frame('V', "KAVRA TINTRA 2.1"), 0, "KAVRA TINTRA 2.1", true, {}},
    {"name of exactly five letters", Frame('V', "KAVRA"), 0, "KAVRA", true, {}},
    {"name in lower case", Frame('V', "kavra tintra"), 0, "kavra tintra", false, {}},
    {"name of four letters", Frame('V', "KAVR"), 0, "KAVR", false, {}},
    {"name after a blank", Frame('V', " KAVRA"), 0, " KAVRA", false, {}},
    {"empty identification", Frame('V', ""), 0, "", false, {}},
    {"identification without CR", "\x02V?KAVRA", 0, {}, false, {}},
    {"identification whose only CR precedes its data", "\x02V\rKAVRA", 0, {}, false, {}},
    {"two frames, first decoded",
     Frame('E', "0012") + Frame('P', "0753:0700:0700"),
     1,
     "0012",
     false,
     {}},
    {"two frames, second ignored", Frame('P', "0753:0700:0700") + Frame('V', "KAVRA"), 1,
     "positive", false,
     ExpectedMeasurement{1, {"075,3", 753.0f}, {"070,0", 700.0f}, {"070,0", 700.0f}}},
    {"short reply", Frame('E', "0012"), 0, "0012", false, {}},
    {"short reply shows four characters", Frame('T', "123456"), 0, "1234", false, {}},
    {"short reply with an early CR", Frame('Z', "12"), 0, "12", false, {}},
    {"short reply without data", "\x02O\r", 0, "", false, {}},
    {"short reply with its CR before the letter", "\rC?0012", 0, "0012", false, {}},
    {"short reply without CR", "\x02O?0012", 0, {}, false, {}},
    {"unknown letter", Frame('X', "0012"), 1, {}, false, {}},
    {"lone CR", "\r", 1, {}, false, {}},
    {"long identification within the buffer",
     Frame('V', "KAVRA" + Tail(391, 'x')),
     0,
     "KAVRA" + Tail(391, 'x'),
     true,
     {}},
    {"CR only past the first 400 bytes", Frame('V', "KAVRA" + Tail(392, 'x')), 0, {}, false, {}},
    {"frame followed by a long tail", Frame('E', "0012") + Tail(2040, '\r'), 0, "0012", false, {}},
};

// A link whose poll has asked for the record and waits for its reply.
void Ask(MeterLink& link, std::uint8_t record) {
    link.Poll.Start();
    link.Poll.NextRecord(record);
    link.Poll.Asked(record);
}

TEST(MeterDelivery, DecodesOneDelivery) {
    for (const auto& c : DeliveryCases) {
        SCOPED_TRACE(c.name);
        MeterLink link;
        if (c.asked)
            Ask(link, c.asked);
        const DeliveryOutcome outcome = ReceiveDelivery(link, BytesOf(c.delivery));

        EXPECT_EQ(link.ReceivedCount, 1);
        EXPECT_EQ(outcome.ResultText, c.resultText);
        EXPECT_EQ(outcome.Identified, c.identified);
        ASSERT_EQ(outcome.Measurement.has_value(), c.measurement.has_value());
        if (c.measurement) {
            EXPECT_EQ(outcome.Measurement->Record, c.measurement->record);
            ExpectReading(outcome.Measurement->Front, c.measurement->front);
            ExpectReading(outcome.Measurement->Left, c.measurement->left);
            ExpectReading(outcome.Measurement->Right, c.measurement->right);
        }
    }
}

TEST(MeterDelivery, ReplyTextKeepsTheLastDecodedText) {
    MeterLink link;
    ReceiveDelivery(link, BytesOf(Frame('V', "KAVRA 1")));
    EXPECT_EQ(link.ReplyText, "KAVRA 1");
    Ask(link, 1);
    ReceiveDelivery(link, BytesOf(Frame('P', "0753:0700:0699")));
    EXPECT_EQ(link.ReplyText, "0699");
    // Neither an undecoded frame, a reply to nothing asked nor a short reply touches it.
    ReceiveDelivery(link, BytesOf("\x02V?KAVRA 2"));
    ReceiveDelivery(link, BytesOf(Frame('P', "0753:0700:0700")));
    ReceiveDelivery(link, BytesOf(Frame('E', "0012")));
    EXPECT_EQ(link.ReplyText, "0699");
    EXPECT_EQ(link.ReceivedCount, 5);
    EXPECT_EQ(ReceivedPanelText(link.ReceivedCount), "Received: 5");
}

TEST(MeterDelivery, EarlierDeliveriesLeaveNothingToDecode) {
    MeterLink link;
    ReceiveDelivery(link, BytesOf(Frame('V', "KAVRA 1")));
    // The buffer still holds the CR of the first reply behind these bytes.
    EXPECT_FALSE(ReceiveDelivery(link, BytesOf("\x02V?KAV")).ResultText);

    // A frame split over two deliveries is lost: the second part has no letter at position 1.
    Ask(link, 1);
    EXPECT_FALSE(ReceiveDelivery(link, BytesOf("\x02P?0753:07")).ResultText);
    EXPECT_FALSE(ReceiveDelivery(link, BytesOf("00:0700\r")).ResultText);

    // A delivery shorter than a whole reply sees none of the old reply's data.
    EXPECT_EQ(ReceiveDelivery(link, BytesOf("\x02T\r")).ResultText, "");
    EXPECT_EQ(link.ReceivedCount, 5);
}

} // namespace
