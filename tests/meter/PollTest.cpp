#include "meter/MeterLink.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The main window's side of the poll: each tick sends the request for CurrentRecord, then does
// the bookkeeping; replies are decoded against CurrentRecord as it stands when they arrive.
struct Poll {
    MeterLink link;
    std::uint8_t currentRecord = 1;
    std::string requestedRecords;
    std::vector<unsigned> filledRows;
    bool over = false;

    Poll() { link.ReplySeen = 1; } // left so by the identification reply

    void Tick() {
        const std::uint16_t length = BuildMeasurementRequest(link.RequestBuffer, currentRecord);
        ++link.SentCount;
        requestedRecords += char(link.RequestBuffer[length - 2]);
        over = AdvancePoll(link, currentRecord);
    }

    void Deliver(const std::string& delivery) {
        const auto outcome = ReceiveDelivery(
            link, {reinterpret_cast<const std::uint8_t*>(delivery.data()), delivery.size()},
            currentRecord);
        if (outcome.Measurement)
            filledRows.push_back(outcome.Measurement->Record);
    }

    void MeterAnswers() { Deliver("\x02P?0753:0700:0700\r"); }
};

TEST(Poll, ReadsTheNineRecordsInOrderThenStops) {
    Poll poll;
    while (!poll.over) {
        ASSERT_LT(poll.link.SentCount, 20);
        poll.Tick();
        poll.MeterAnswers();
    }
    EXPECT_EQ(poll.requestedRecords, "123456789");
    EXPECT_EQ(poll.filledRows, (std::vector<unsigned>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(poll.currentRecord, 10);
    EXPECT_EQ(SentPanelText(poll.link.SentCount), "Sent: 9");
}

TEST(Poll, SilentMeterIsAskedForTheSameRecord) {
    Poll poll;
    for (int i = 0; i < 5; ++i)
        poll.Tick();
    EXPECT_EQ(poll.requestedRecords, "12222");
    EXPECT_EQ(poll.currentRecord, 2);
    EXPECT_FALSE(poll.over);
    EXPECT_EQ(poll.link.ReplySeen, 0);
}

TEST(Poll, UndecodedDeliveryMovesThePollOn) {
    Poll poll;
    poll.Tick();
    poll.Deliver("\x02P?0753:07"); // no CR
    poll.Tick();
    poll.MeterAnswers();
    poll.Tick();
    EXPECT_EQ(poll.requestedRecords, "123");
    EXPECT_EQ(poll.filledRows, (std::vector<unsigned>{2}));
}

TEST(Poll, SelectedRowIsAskedForNext) {
    Poll poll;
    poll.Tick();
    poll.MeterAnswers();
    poll.currentRecord = 7; // the user selects row 7
    poll.Tick();
    poll.MeterAnswers();
    poll.Tick();
    poll.MeterAnswers();
    poll.Tick();
    EXPECT_EQ(poll.requestedRecords, "1789");
    EXPECT_EQ(poll.filledRows, (std::vector<unsigned>{1, 7, 8}));
    EXPECT_TRUE(poll.over);
}

} // namespace
