// The frames on the line, byte for byte.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>

#include "Commands.h"
#include "Executor.h"
#include "Fakes.h"
#include "Transport.h"

namespace qmrtest {
namespace {

// The frame's own sum of Len through BodyEnd, and the value its four
// checksum characters carry.
std::uint32_t SumOfBody(const Bytes& frame) {
    std::uint32_t sum = 0;
    for (std::size_t k = 1; k + 5 < frame.size(); ++k) sum += frame[k];
    return sum;
}
std::uint32_t ChecksumCarried(const Bytes& frame) {
    std::uint32_t value = 0;
    for (std::size_t k = frame.size() - 5; k + 1 < frame.size(); ++k) value = value * 16 + (frame[k] - 0x30);
    return value;
}

class FrameTest : public LinkFixture {};

TEST_F(FrameTest, AStatusRequestAndItsEmptyReplyAreFramedByteForByte) {
    line.OnRequest([&](const Bytes&, int) {
        line.Arrive({0x01, 0x2B, 0x20, 0x4A, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x05, 0x30, 0x30, 0x39, 0x3E, 0x03});
    });
    qmr::Link().ReplyData[0] = 'x';

    EXPECT_EQ(qmr::ExecCommand(qmr::ReadStatus, ""), qmr::ResultOk);

    EXPECT_EQ(line.written, (Bytes{0x01, 0x24, 0x20, 0x4A, 0x05, 0x30, 0x30, 0x39, 0x33, 0x03}));
    EXPECT_EQ(qmr::Link().SendChecksum, 0x93u);
    EXPECT_EQ(qmr::Link().ReplyText(), "");
    EXPECT_EQ(qmr::Link().StatusWord, 0u);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(FrameTest, ARequestWithDataIsFramedByteForByte) {
    qmr::Link().SeqNumber = 0x21;
    qmr::ExecCommand(qmr::ConfigureReceiptLayout, "L1");
    ASSERT_FALSE(line.requests.empty());
    EXPECT_EQ(line.requests[0], (Bytes{0x01, 0x26, 0x21, 0x2B, 0x4C, 0x31, 0x05, 0x30, 0x30, 0x3F, 0x34, 0x03}));
    EXPECT_EQ(qmr::Link().SendChecksum, 0xF4u);
}

TEST_F(FrameTest, TheReplyBuilderFramesAnEmptyReplyByteForByte) {
    EXPECT_EQ(qmr::BuildReplyFrame(0x20, 0x4A, "", {}),
              (Bytes{0x01, 0x2B, 0x20, 0x4A, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x05, 0x30, 0x30, 0x39, 0x3E, 0x03}));
}

struct LenCase {
    std::size_t dataBytes;
    std::uint8_t len;
};

class RequestLenTest : public LinkFixture, public ::testing::WithParamInterface<LenCase> {};

TEST_P(RequestLenTest, LenCountsTheDataAndTheChecksumCoversIt) {
    const std::string data(GetParam().dataBytes, '\xC0');
    AnswerOk();
    EXPECT_EQ(qmr::ExecCommand(qmr::PrintFiscalText, data), qmr::ResultOk);
    ASSERT_EQ(line.requests.size(), 1u);
    const Bytes& frame = line.requests[0];
    ASSERT_EQ(frame.size(), GetParam().dataBytes + 10);
    EXPECT_EQ(frame[1], GetParam().len);
    EXPECT_EQ(Bytes(frame.begin() + 4, frame.end() - 6), ToBytes(data));
    EXPECT_EQ(frame[frame.size() - 6], 0x05);
    EXPECT_EQ(frame.back(), 0x03);
    EXPECT_EQ(ChecksumCarried(frame), SumOfBody(frame));
}

INSTANTIATE_TEST_SUITE_P(Limits, RequestLenTest,
                         ::testing::Values(LenCase{0, 0x24}, LenCase{1, 0x25}, LenCase{219, 0xFF}),
                         [](const auto& info) { return "Data" + std::to_string(info.param.dataBytes) + "Bytes"; });

// A request goes out in pieces of about 5 ms of line time, each in one write,
// with the windows pumped before each piece; at an unknown speed, byte by byte.
struct PieceCase {
    const char* name;
    int baudRate;
    std::size_t dataBytes;
    std::vector<int> pieces;
};

class SendPiecesTest : public FrameTest, public ::testing::WithParamInterface<PieceCase> {};

TEST_P(SendPiecesTest, AFrameGoesOutWholeInPiecesOfTheLinesPace) {
    const PieceCase& c = GetParam();
    qmr::Link().BaudRate = c.baudRate;
    const std::string data(c.dataBytes, 'T');
    std::vector<std::size_t> writtenAtPumps;
    ui.onPump = [&](int) { writtenAtPumps.push_back(line.written.size()); };

    EXPECT_TRUE(qmr::SendFrame(qmr::PrintFiscalText, data));

    const Bytes frame = qmr::BuildRequestFrame(0x20, qmr::PrintFiscalText, data);
    EXPECT_EQ(line.written, frame);
    EXPECT_EQ(qmr::Link().SendChecksum, SumOfBody(frame));
    EXPECT_EQ(line.pieces, c.pieces);
    std::vector<std::size_t> pieceStarts;
    std::size_t at = 0;
    for (const int piece : c.pieces) {
        pieceStarts.push_back(at);
        at += static_cast<std::size_t>(piece);
    }
    EXPECT_EQ(writtenAtPumps, pieceStarts);
}

INSTANTIATE_TEST_SUITE_P(
    Speeds, SendPiecesTest,
    ::testing::Values(PieceCase{"ShortAt115200", 115200, 10, {20}},
                      PieceCase{"LongestAt115200", 115200, 219, {57, 57, 57, 57, 1}},
                      PieceCase{"ShortAt57600", 57600, 10, {20}},
                      PieceCase{"ShortAt9600", 9600, 10, {4, 4, 4, 4, 4}},
                      PieceCase{"SpeedUnknown", 0, 0, std::vector<int>(10, 1)}),
    [](const auto& info) { return std::string(info.param.name); });

// A piece the driver could not get out is lost on its own: the rest of the
// frame still goes, and the send reports what its last piece did.
TEST_F(FrameTest, ADroppedPieceLeavesTheRestOfTheFrameToGo) {
    qmr::Link().BaudRate = 9600;
    const Bytes frame = qmr::BuildRequestFrame(0x20, qmr::PrintFiscalText, std::string(10, 'T'));
    line.droppedPieces = {1};
    EXPECT_TRUE(qmr::SendFrame(qmr::PrintFiscalText, std::string(10, 'T')));
    Bytes withoutSecond = frame;
    withoutSecond.erase(withoutSecond.begin() + 4, withoutSecond.begin() + 8);
    EXPECT_EQ(line.written, withoutSecond);

    line.written.clear();
    line.pieces.clear();
    line.droppedPieces = {4};
    EXPECT_FALSE(qmr::SendFrame(qmr::PrintFiscalText, std::string(10, 'T')));
    EXPECT_EQ(line.written, Bytes(frame.begin(), frame.begin() + 16));
}

// A Len of 0x24 + 220 would wrap to 0x00: the printer would see another frame.
TEST_F(FrameTest, SendFrameSendsNothingForDataThatCannotBeFramed) {
    EXPECT_FALSE(qmr::SendFrame(qmr::PrintFiscalText, std::string(220, 'X')));
    EXPECT_TRUE(line.written.empty());
    EXPECT_TRUE(qmr::SendFrame(qmr::PrintFiscalText, std::string(219, 'X') + '\0' + "beyond the text"));
    EXPECT_EQ(line.written.size(), 229u);
    EXPECT_EQ(line.written[1], 0xFF);
}

TEST_F(FrameTest, SequenceRunsThroughNinetyFiveValuesThenWraps) {
    AnswerOk();
    std::set<int> seen;
    for (int k = 0; k < 95; ++k) {
        ASSERT_EQ(qmr::ExecCommand(qmr::ReadStatus, ""), qmr::ResultOk);
        seen.insert(line.requests.back()[2]);
    }
    EXPECT_EQ(seen.size(), 95u);
    EXPECT_EQ(*seen.begin(), 0x20);
    EXPECT_EQ(*seen.rbegin(), 0x7E);
    EXPECT_EQ(line.requests[94][2], 0x7E);
    qmr::ExecCommand(qmr::ReadStatus, "");
    EXPECT_EQ(line.requests[95][2], 0x20);
}

TEST_F(FrameTest, FailedCommandsAdvanceTheSequenceToo) {
    qmr::Link().SeqNumber = 0x7E;
    qmr::ExecCommand(qmr::ReadStatus, "");  // no answer
    EXPECT_EQ(qmr::Link().SeqNumber, 0x20);
}

struct ChecksumCase {
    std::uint32_t sum;
    const char* chars;
};

class ChecksumTest : public ::testing::TestWithParam<ChecksumCase> {};

TEST_P(ChecksumTest, FourCharactersMostSignificantFirst) {
    const auto chars = qmr::EncodeChecksum(GetParam().sum);
    EXPECT_EQ(std::string(chars.begin(), chars.end()), GetParam().chars);
    EXPECT_EQ(qmr::DecodeChecksum(chars.data()), GetParam().sum);
}

INSTANTIATE_TEST_SUITE_P(Values, ChecksumTest,
                         ::testing::Values(ChecksumCase{0x0000, "0000"}, ChecksumCase{0x0093, "0093"},
                                           ChecksumCase{0x00F4, "00?4"}, ChecksumCase{0xABCD, ":;<="},
                                           ChecksumCase{0xFFFF, "????"}, ChecksumCase{0x1E2F, "1>2?"}),
                         [](const auto& info) {
                             char name[16];
                             std::snprintf(name, sizeof name, "Sum%04X", static_cast<unsigned>(info.param.sum));
                             return std::string(name);
                         });

TEST(ChecksumDecodeTest, CharactersBelowZeroWrapAroundAndMatchNoSum) {
    const std::uint8_t chars[4] = {'/', '0', '0', '0'};
    EXPECT_EQ(qmr::DecodeChecksum(chars), 0xFFu << 12);
    const std::uint8_t high[4] = {'0', '0', '0', 0x7F};
    EXPECT_EQ(qmr::DecodeChecksum(high), 0x4Fu);
}

}  // namespace
}  // namespace qmrtest
