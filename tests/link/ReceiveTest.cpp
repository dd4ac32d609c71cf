// Collecting one reply from the line: start byte, end byte, limit and idle time.
#include <gtest/gtest.h>

#include <algorithm>

#include "Commands.h"
#include "Executor.h"
#include "Fakes.h"
#include "Transport.h"

namespace qmrtest {
namespace {

using qmr::Link;

const Bytes& StatusReply() {
    static const Bytes reply = qmr::BuildReplyFrame(0x20, qmr::ReadStatus, "1,2", {0, 0x20, 0, 0, 0, 0});
    return reply;
}

// The reply as ReceiveFrame leaves it: the end byte stored as 0.
Bytes AsStored(Bytes frame) {
    if (!frame.empty()) frame.back() = 0;
    return frame;
}

Bytes Buffer(std::size_t from, std::size_t to) {
    return Bytes(Link().ReceiveBuffer.begin() + static_cast<std::ptrdiff_t>(from),
                 Link().ReceiveBuffer.begin() + static_cast<std::ptrdiff_t>(to));
}

bool AllZeroFrom(std::size_t from) {
    return std::all_of(Link().ReceiveBuffer.begin() + static_cast<std::ptrdiff_t>(from), Link().ReceiveBuffer.end(),
                       [](std::uint8_t b) { return b == 0; });
}

class ReceiveTest : public LinkFixture {};

TEST_F(ReceiveTest, NoiseBeforeTheStartByteIsDiscarded) {
    Bytes bytes = {0x00, 0xFF, 0x7F, 0x05, 0x04};
    bytes.insert(bytes.end(), StatusReply().begin(), StatusReply().end());
    line.Arrive(bytes, 1000, 100);

    EXPECT_EQ(qmr::ReceiveFrame(qmr::ReceiveLimit), static_cast<int>(StatusReply().size()) - 1);
    EXPECT_FALSE(Link().LinkError);
    EXPECT_EQ(Buffer(0, StatusReply().size()), AsStored(StatusReply()));
    EXPECT_TRUE(AllZeroFrom(StatusReply().size()));
}

TEST_F(ReceiveTest, SecondStartByteRestartsTheFrame) {
    Bytes bytes = {0x01, 0x2B, 0x20, 0x4A, '9', '9'};
    bytes.insert(bytes.end(), StatusReply().begin(), StatusReply().end());
    line.Arrive(bytes);

    EXPECT_EQ(qmr::ReceiveFrame(qmr::ReceiveLimit), static_cast<int>(StatusReply().size()) - 1);
    EXPECT_EQ(Buffer(0, StatusReply().size()), AsStored(StatusReply()));
}

TEST_F(ReceiveTest, NoiseAndRestartsBeforeAReplyStillGiveTheCommandItsAnswer) {
    AnswerEvery([](const Bytes& request, int) {
        Bytes bytes = {0xFF, 0x01, 0x2B, 0x20, 0x01, 0x30};
        const Bytes reply = ReplyTo(request, "ok");
        bytes.insert(bytes.end(), reply.begin(), reply.end());
        return bytes;
    });
    EXPECT_EQ(qmr::ExecCommand(qmr::ReadStatus, ""), qmr::ResultOk);
    EXPECT_EQ(Link().ReplyText(), "ok");
    EXPECT_EQ(line.requests.size(), 1u);
}

TEST_F(ReceiveTest, LimitEndsTheReceptionWithoutLinkErrorAndReadsNoFurther) {
    line.Arrive(Bytes(9000, 'A'));

    EXPECT_EQ(qmr::ReceiveFrame(qmr::ReceiveLimit), qmr::ReceiveLimit);
    EXPECT_FALSE(Link().LinkError);
    EXPECT_EQ(Buffer(0, qmr::ReceiveLimit), Bytes(qmr::ReceiveLimit, 'A'));
    EXPECT_TRUE(AllZeroFrom(qmr::ReceiveLimit));
    EXPECT_EQ(line.Unread(), 1000u);
}

TEST_F(ReceiveTest, LimitBeyondTheBufferStopsAtItsEnd) {
    line.Arrive(Bytes(9000, 'A'));

    EXPECT_EQ(qmr::ReceiveFrame(20000), qmr::ReceiveBufferSize);

    EXPECT_FALSE(Link().LinkError);
    EXPECT_EQ(line.Unread(), 9000u - qmr::ReceiveBufferSize);
}

TEST_F(ReceiveTest, ReplyOverTheLimitIsAProtocolError) {
    AnswerEvery([](const Bytes& request, int) {
        Bytes bytes = ReplyTo(request);
        bytes.insert(bytes.begin() + 4, qmr::ReceiveLimit, 'A');
        return bytes;
    });
    EXPECT_EQ(qmr::ExecCommand(qmr::ReadStatus, ""), qmr::ResultProtocol);
    EXPECT_EQ(Link().StatusWord, qmr::swProtocolError);
    EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>{"Protocol error"});
}

struct SilenceCase {
    const char* name;
    std::size_t bytesBefore;  // bytes of the reply that come at once, before the gap
    std::int64_t gapUs;
    bool timesOut;
};

class SilenceTest : public LinkFixture, public ::testing::WithParamInterface<SilenceCase> {};

TEST_P(SilenceTest, OnlyAGapLongerThanTheIdleTimeEndsTheReception) {
    const SilenceCase& c = GetParam();
    const Bytes& reply = StatusReply();
    line.Arrive(Bytes(reply.begin(), reply.begin() + static_cast<std::ptrdiff_t>(c.bytesBefore)));
    line.Arrive(Bytes(reply.begin() + static_cast<std::ptrdiff_t>(c.bytesBefore), reply.end()), c.gapUs);
    const std::int64_t start = clock.now;

    const int stored = qmr::ReceiveFrame(qmr::ReceiveLimit);

    EXPECT_EQ(Link().LinkError, c.timesOut);
    if (c.timesOut) {
        EXPECT_EQ(stored, static_cast<int>(c.bytesBefore));
        EXPECT_EQ(Buffer(0, c.bytesBefore), Bytes(reply.begin(), reply.begin() + static_cast<std::ptrdiff_t>(c.bytesBefore)));
        EXPECT_GT(clock.now - start, qmr::ReplyIdleTimeoutUs);
        EXPECT_LT(clock.now - start, c.gapUs + 1);
    } else {
        EXPECT_EQ(stored, static_cast<int>(reply.size()) - 1);
        EXPECT_EQ(Buffer(0, reply.size()), AsStored(reply));
    }
}

// A byte that comes in the very microsecond the wait ends is read, as a real
// poll hands it over; a gap two microseconds over the idle time is silence.
INSTANTIATE_TEST_SUITE_P(
    Gaps, SilenceTest,
    ::testing::Values(SilenceCase{"BeforeTheReplyExactlyTheIdleTime", 0, 2'999'808, false},
                      SilenceCase{"BeforeTheReplyJustOver", 0, 2'999'810, true},
                      SilenceCase{"InsideTheReplyExactlyTheIdleTime", 7, 2'999'808, false},
                      SilenceCase{"InsideTheReplyJustOver", 7, 2'999'810, true},
                      SilenceCase{"InsideTheReplyLong", 7, 60'000'000, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ReceiveTest, EveryByteOfAnyValueRestartsTheIdleTime) {
    // Noise bytes of every kind, then the reply, each 2.9 s after the one before.
    Bytes bytes = {0x00, 0xFF, 0x04, 0x05, 0x20};
    bytes.insert(bytes.end(), StatusReply().begin(), StatusReply().end());
    line.Arrive(bytes, 2'900'000, 2'900'000);

    EXPECT_EQ(qmr::ReceiveFrame(qmr::ReceiveLimit), static_cast<int>(StatusReply().size()) - 1);
    EXPECT_FALSE(Link().LinkError);
    EXPECT_EQ(Buffer(0, StatusReply().size()), AsStored(StatusReply()));
}

TEST_F(ReceiveTest, SlowReplyIsAcceptedOnTheFirstTry) {
    line.OnRequest([&](const Bytes& request, int) { line.Arrive(ReplyTo(request, "slow"), 2'000'000, 2'000'000); });
    EXPECT_EQ(qmr::ExecCommand(qmr::ReadStatus, ""), qmr::ResultOk);
    EXPECT_EQ(Link().ReplyText(), "slow");
    EXPECT_EQ(line.requests.size(), 1u);
    EXPECT_TRUE(clock.sleeps.empty());
}

// Which is why the printer keeps bit 7 set on every status byte.
TEST_F(ReceiveTest, StatusByteThatLooksLikeAStartByteRestartsTheFrame) {
    AnswerEvery([](const Bytes& request, int) { return ReplyTo(request, "", {0x01, 0, 0, 0, 0, 0}); });
    EXPECT_EQ(qmr::ExecCommand(qmr::ReadStatus, ""), qmr::ResultProtocol);
    EXPECT_EQ(Link().ReceiveBuffer[0], 0x01);
    EXPECT_EQ(Link().ReceiveBuffer[1], 0x00);
}

TEST_F(ReceiveTest, FailingStatusQueryStoresNothingAndEndsInTheIdleTimeOut) {
    line.failBytesWaiting = true;
    const std::int64_t start = clock.now;

    EXPECT_EQ(qmr::ReceiveFrame(16), 0);

    EXPECT_TRUE(Link().LinkError);
    EXPECT_TRUE(AllZeroFrom(0));
    EXPECT_GT(clock.now - start, qmr::ReplyIdleTimeoutUs);
    EXPECT_LT(clock.now - start, qmr::ReplyIdleTimeoutUs + 20'000);
}

TEST_F(ReceiveTest, FailingStatusQueryStillReadsWhatCameButNotPastTheLimit) {
    line.failBytesWaiting = true;
    line.Arrive(Bytes(100, 'B'));

    EXPECT_EQ(qmr::ReceiveFrame(16), 16);

    EXPECT_FALSE(Link().LinkError);
    EXPECT_EQ(Buffer(0, 16), Bytes(16, 'B'));
    EXPECT_TRUE(AllZeroFrom(16));
    EXPECT_EQ(line.Unread(), 84u);
}

TEST_F(ReceiveTest, FailingStatusQueryOnEveryTryIsNoResponse) {
    line.failBytesWaiting = true;
    EXPECT_EQ(qmr::ExecCommand(qmr::ReadStatus, ""), qmr::ResultNoLink);
    EXPECT_EQ(Link().StatusWord, qmr::swNoResponse);
    EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>{"No printer response"});
}

// A line that never stops sending, with a start byte now and then, must not
// hold the program in one reception for ever.
TEST_F(ReceiveTest, EndlessTalkWithStartBytesEndsAtTheLimit) {
    long sent = 0;
    line.babble = [&] {
        ++sent;
        if (sent > 1'000'000) return std::uint8_t{0x03};  // keeps a faulty link from hanging the test
        return std::uint8_t(sent % 100 == 0 ? 0x01 : 'C');
    };

    const int stored = qmr::ReceiveFrame(qmr::ReceiveLimit);

    EXPECT_LE(sent, qmr::ReceiveLimit);
    EXPECT_LT(stored, 100);
    EXPECT_FALSE(Link().LinkError);
}

TEST_F(ReceiveTest, EndlessTalkIsAProtocolErrorAfterFourTries) {
    line.babble = [] { return std::uint8_t{0x01}; };
    EXPECT_EQ(qmr::ExecCommand(qmr::ReadStatus, ""), qmr::ResultProtocol);
    EXPECT_EQ(line.reads, 4L * qmr::ReceiveLimit);
    EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>{"Protocol error"});
}

}  // namespace
}  // namespace qmrtest
