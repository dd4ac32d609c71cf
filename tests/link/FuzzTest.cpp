// Whatever comes down the line, the link stays inside its buffers and leaves
// a consistent outcome. Run under the sanitizers, this is the proof that no
// reply, however broken, reads or writes past them.
#include <gtest/gtest.h>

#include <random>

#include "Commands.h"
#include "Executor.h"
#include "Fakes.h"
#include "Transport.h"

namespace qmrtest {
namespace {

using qmr::Link;

class Garbler {
public:
    explicit Garbler(std::uint32_t seed) : rng_(seed) {}

    Bytes ReplyFor(const Bytes& request) {
        switch (Pick(12)) {
            case 0:
            case 1: return ReplyTo(request, RandomText(Pick(213)), RandomStatus());
            case 2:
            case 3:
            case 4: return Mutated(ReplyTo(request, RandomText(Pick(213)), RandomStatus()));
            case 5:
            case 6: return WithLen(ReplyTo(request, RandomText(Pick(213)), RandomStatus()));
            case 7:
            case 8: return Noise(Pick(300), true);
            case 9: return Noise(Pick(9000), Pick(2) == 0);
            default: return Bytes{};
        }
    }

private:
    std::size_t Pick(std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng_); }
    std::uint8_t AnyByte() { return static_cast<std::uint8_t>(Pick(256)); }

    // Printer texts seldom hold the frame's control bytes, but they may.
    std::string RandomText(std::size_t n) {
        std::string text;
        for (std::size_t k = 0; k < n; ++k)
            text.push_back(static_cast<char>(Pick(50) == 0 ? AnyByte() : 0x20 + Pick(0xE0)));
        return text;
    }
    Status RandomStatus() {
        Status s{};
        for (auto& b : s) b = Pick(3) == 0 ? AnyByte() : 0;
        return s;
    }
    Bytes Mutated(Bytes frame) {
        const std::size_t edits = 1 + Pick(4);
        for (std::size_t e = 0; e < edits && !frame.empty(); ++e) {
            const std::size_t at = Pick(frame.size());
            switch (Pick(4)) {
                case 0: frame[at] = AnyByte(); break;
                case 1: frame.insert(frame.begin() + static_cast<std::ptrdiff_t>(at), AnyByte()); break;
                case 2: frame.erase(frame.begin() + static_cast<std::ptrdiff_t>(at)); break;
                default: frame.resize(at); break;
            }
        }
        return frame;
    }
    // A well-formed frame whose Len says something else than its length.
    Bytes WithLen(Bytes frame) {
        frame[1] = AnyByte();
        Resum(frame);
        return frame;
    }
    Bytes Noise(std::size_t n, bool ended) {
        Bytes bytes;
        for (std::size_t k = 0; k < n; ++k) bytes.push_back(Pick(40) == 0 ? 0x01 : AnyByte() | 0x04);
        if (ended) bytes.push_back(0x03);
        return bytes;
    }

    std::mt19937 rng_;
};

class FuzzTest : public LinkFixture {};

TEST_F(FuzzTest, AnyReplyBytesLeaveAConsistentOutcome) {
    Garbler garbler(770);
    AnswerEvery([&](const Bytes& request, int) { return garbler.ReplyFor(request); });
    Link().SuppressStatusDlg = true;

    int outcomes[3] = {};
    for (int round = 0; round < 3000; ++round) {
        SCOPED_TRACE(round);
        const std::uint8_t seq = Link().SeqNumber;
        line.requests.clear();
        ui.messages.clear();

        const int result = qmr::ExecCommand(qmr::ReadDeviceInfo, "");

        ASSERT_EQ(result, Link().CommandResult);
        ASSERT_EQ(Link().SeqNumber, seq == 0x7E ? 0x20 : seq + 1);
        ASSERT_GE(line.requests.size(), 1u);
        ASSERT_LE(line.requests.size(), 4u);
        for (const Bytes& r : line.requests) ASSERT_EQ(r, line.requests[0]);
        const std::uint32_t link = Link().StatusWord & qmr::LinkStatusMask;
        switch (result) {
            case qmr::ResultOk: {
                ASSERT_EQ(link, 0u);
                ASSERT_TRUE(ui.messages.empty());
                // What was accepted is exactly a well-formed reply, and the
                // reply data is its data field.
                const auto& b = Link().ReceiveBuffer;
                const std::size_t m = b[1] - 0x2Bu;
                const std::string data(reinterpret_cast<const char*>(&b[4]), m);
                Bytes frame = qmr::BuildReplyFrame(seq, qmr::ReadDeviceInfo, data, Link().StatusBytes);
                frame.back() = 0;
                ASSERT_EQ(Bytes(b.begin(), b.begin() + static_cast<std::ptrdiff_t>(frame.size())), frame);
                ASSERT_EQ(std::string(Link().ReplyData.data(), m), data);
                ASSERT_EQ(Link().ReplyData[m], '\0');
                break;
            }
            case qmr::ResultNoLink:
                ASSERT_EQ(link, qmr::swNoResponse);
                ASSERT_EQ(ui.MessageTexts(), std::vector<std::string>{"No printer response"});
                ASSERT_EQ(line.requests.size(), 4u);
                break;
            case qmr::ResultProtocol:
                ASSERT_EQ(link, qmr::swProtocolError);
                ASSERT_EQ(ui.MessageTexts(), std::vector<std::string>{"Protocol error"});
                ASSERT_EQ(line.requests.size(), 4u);
                break;
            default:
                FAIL() << "result " << result;
        }
        ASSERT_LE(Link().ReplyText().size(), 212u);
        ++outcomes[result];
    }
    // The garbage reached every outcome, so each of the checks above ran.
    for (const int n : outcomes) EXPECT_GT(n, 100);
}

}  // namespace
}  // namespace qmrtest
