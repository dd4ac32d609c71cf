// A reply taken in a few reads and waits rather than byte by byte, under the
// same idle time and frame rules.
#include <gtest/gtest.h>

#include <string>

#include "Commands.h"
#include "Executor.h"
#include "Fakes.h"
#include "Transport.h"

namespace qmrtest {
namespace {

using qmr::Link;

// One byte's time at the fixture's 115200 baud, as the link reckons it.
std::int64_t LineUs(std::int64_t bytes) { return bytes * 10 * 1000000 / 115200; }

Bytes Reply(std::size_t dataBytes) {
    return qmr::BuildReplyFrame(0x20, qmr::ReadFiscalMemoryBlock, std::string(dataBytes, '7'), Sent({}));
}

Bytes Stored(std::size_t n) { return Bytes(Link().ReceiveBuffer.begin(), Link().ReceiveBuffer.begin() + static_cast<std::ptrdiff_t>(n)); }

Bytes AsStored(Bytes frame) {
    frame.back() = 0;
    return frame;
}

class BatchReceiveTest : public LinkFixture {
protected:
    void SetUp() override {
        LinkFixture::SetUp();
        line.sleepsThrough = true;
    }
};

// A reply paced at line speed, byte after byte: a handful of reads and waits
// take all of it, not one each per byte.
TEST_F(BatchReceiveTest, PacedReplyIsTakenInAFewReads) {
    const Bytes reply = Reply(128);
    line.Arrive(reply, 3000, LineUs(1));

    EXPECT_EQ(qmr::ReceiveFrame(qmr::ReceiveLimit), static_cast<int>(reply.size()) - 1);

    EXPECT_FALSE(Link().LinkError);
    EXPECT_EQ(Stored(reply.size()), AsStored(reply));
    EXPECT_LE(line.readCalls, 8);
    EXPECT_LE(line.waits, 8);
}

struct RestCase {
    const char* name;
    std::size_t dataBytes;
    std::int64_t sleepUs;  // the one sleep after the start and length bytes
};

class RestOfFrameTest : public BatchReceiveTest, public ::testing::WithParamInterface<RestCase> {};

// Once the length byte has come, the link sleeps for the rest of the frame's
// line time in one go (no longer than a slice, so the windows keep being
// pumped) but for its last two bytes, which it wakes for as they come.
TEST_P(RestOfFrameTest, SleepsForTheRestOnceTheLengthHasCome) {
    const RestCase& c = GetParam();
    const Bytes reply = Reply(c.dataBytes);
    line.Arrive(Bytes(reply.begin(), reply.begin() + 2));
    line.Arrive(Bytes(reply.begin() + 2, reply.end()), c.sleepUs - 1);

    EXPECT_EQ(qmr::ReceiveFrame(qmr::ReceiveLimit), static_cast<int>(reply.size()) - 1);

    EXPECT_FALSE(Link().LinkError);
    EXPECT_EQ(Stored(reply.size()), AsStored(reply));
    EXPECT_EQ(line.sleptThrough, std::vector<std::int64_t>{c.sleepUs});
    EXPECT_EQ(line.readCalls, 2);
}

INSTANTIATE_TEST_SUITE_P(Lengths, RestOfFrameTest,
                         ::testing::Values(RestCase{"EmptyData", 0, LineUs(13)},
                                           RestCase{"FortyBytes", 40, LineUs(53)},
                                           RestCase{"LongerThanASlice", 200, 10000}),
                         [](const auto& info) { return std::string(info.param.name); });

struct GapCase {
    const char* name;
    std::int64_t gapUs;  // from the length byte to the rest
    bool timesOut;
};

class GapAfterLengthTest : public BatchReceiveTest, public ::testing::WithParamInterface<GapCase> {};

// A sleep through the rest of the frame does not move the idle time: silence
// still counts from the length byte, and ends the reception just past the
// limit, not a sleep later.
TEST_P(GapAfterLengthTest, IdleTimeCountsFromTheLastByteTaken) {
    const GapCase& c = GetParam();
    const Bytes reply = Reply(64);
    line.Arrive(Bytes(reply.begin(), reply.begin() + 2));
    line.Arrive(Bytes(reply.begin() + 2, reply.end()), c.gapUs);
    const std::int64_t start = clock.now;

    const int stored = qmr::ReceiveFrame(qmr::ReceiveLimit);

    EXPECT_EQ(Link().LinkError, c.timesOut);
    ASSERT_FALSE(line.sleptThrough.empty());
    EXPECT_EQ(line.sleptThrough[0], LineUs(static_cast<std::int64_t>(reply.size()) - 4));
    if (c.timesOut) {
        EXPECT_EQ(stored, 2);
        EXPECT_EQ(clock.now - start, qmr::ReplyIdleTimeoutUs + 1);
    } else {
        EXPECT_EQ(stored, static_cast<int>(reply.size()) - 1);
        EXPECT_EQ(Stored(reply.size()), AsStored(reply));
    }
}

INSTANTIATE_TEST_SUITE_P(Gaps, GapAfterLengthTest,
                         ::testing::Values(GapCase{"ExactlyTheIdleTime", 2'999'808, false},
                                           GapCase{"JustOver", 2'999'810, true},
                                           GapCase{"NothingMore", 60'000'000, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// A read can take the start of what follows a reply along with it; that is
// the next reception's, as if it had stayed in the driver's queue.
TEST_F(BatchReceiveTest, BytesAfterTheEndByteWaitForTheNextReception) {
    const Bytes first = Reply(3);
    const Bytes second = qmr::BuildReplyFrame(0x21, qmr::ReadStatus, "next", Sent({}));
    Bytes both = first;
    both.insert(both.end(), second.begin(), second.end());
    line.Arrive(both);

    EXPECT_EQ(qmr::ReceiveFrame(qmr::ReceiveLimit), static_cast<int>(first.size()) - 1);
    EXPECT_EQ(Stored(first.size()), AsStored(first));
    EXPECT_EQ(qmr::BytesWaiting(), static_cast<int>(second.size()));
    EXPECT_EQ(qmr::ReceiveFrame(qmr::ReceiveLimit), static_cast<int>(second.size()) - 1);
    EXPECT_EQ(Stored(second.size()), AsStored(second));
    EXPECT_EQ(qmr::BytesWaiting(), 0);
}

// A late reply to an earlier try, and the one to the retry behind it: the
// command takes the first, the next command finds the second ahead of its
// own reply and tries again, as byte by byte reading did.
TEST_F(BatchReceiveTest, ALeftOverReplyMakesTheNextCommandTryAgain) {
    line.OnRequest([this](const Bytes& request, int index) {
        if (index == 0) return;  // its reply comes with the retry's
        if (index == 1) {
            Bytes two = ReplyTo(request, "late");
            const Bytes again = ReplyTo(request, "again");
            two.insert(two.end(), again.begin(), again.end());
            line.Arrive(two);
            return;
        }
        line.Arrive(ReplyTo(request, "own"));
    });
    EXPECT_EQ(qmr::ExecCommand(qmr::ReadStatus, ""), qmr::ResultOk);
    EXPECT_EQ(Link().ReplyText(), "late");

    EXPECT_EQ(qmr::ExecCommand(qmr::ReadStatus, ""), qmr::ResultOk);
    EXPECT_EQ(Link().ReplyText(), "own");
    EXPECT_EQ(line.requests.size(), 4u);
    EXPECT_EQ(line.requests[2], line.requests[3]);
}

TEST_F(BatchReceiveTest, ClosingThePortDropsWhatWasReadAhead) {
    Bytes both = Reply(0);
    const Bytes stray = {0x01, 0x2B, 0x20};
    both.insert(both.end(), stray.begin(), stray.end());
    line.Arrive(both);
    qmr::ReceiveFrame(qmr::ReceiveLimit);
    ASSERT_EQ(qmr::BytesWaiting(), 3);

    qmr::ClosePort();
    OpenFakePort();

    EXPECT_EQ(qmr::BytesWaiting(), 0);
}

}  // namespace
}  // namespace qmrtest
