// The link and the simulated printer talking over a real pty, with the real
// clock: what the programs will see when they are pointed at qmr770-sim.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include "Commands.h"
#include "Executor.h"
#include "LinkState.h"
#include "Simulator.h"
#include "TermiosLine.h"
#include "Transport.h"

namespace qmrsim {
namespace {

using Bytes = std::vector<std::uint8_t>;

class RecordingUi final : public qmr::UiHooks {
public:
    explicit RecordingUi(std::string device) : device_(std::move(device)) {}
    int ShowMessage(const std::string& text, const std::string& caption, int) override {
        messages.push_back(caption + ": " + text);
        return qmr::IdOk;
    }
    void ShowStatusDialog() override { ++statusDialogs; }
    qmr::PortChoice ReadPortChoice() override { return {0, device_, 3, "115200"}; }

    std::vector<std::string> messages;
    int statusDialogs = 0;

private:
    std::string device_;
};

class PtyLink : public ::testing::Test {
protected:
    void SetUp() override {
        qmr::InstallLink({&line, nullptr, &ui});
        ASSERT_TRUE(qmr::OpenPort());
    }
    void TearDown() override { qmr::ClosePort(); }

    // Counts the runs of the ReadStatus handler (the simulator's thread runs it).
    void CountReadStatusRuns() {
        sim.WithPrinter([this](Printer& p) {
            p.SetHandler(qmr::ReadStatus, [this](Printer&, const Request&) {
                ++handlerRuns_;
                return std::string();
            });
        });
    }
    int HandlerRuns() {
        return sim.WithPrinter([this](Printer&) { return handlerRuns_; });
    }

    Simulator sim;
    qmr::TermiosLine line;
    RecordingUi ui{sim.DevicePath()};

private:
    int handlerRuns_ = 0;
};

TEST_F(PtyLink, ReadStatusExchangeSucceedsAndIsRecorded) {
    EXPECT_EQ(qmr::ExecCommand(qmr::ReadStatus, ""), qmr::ResultOk);
    EXPECT_EQ(qmr::Link().StatusWord, 0u);
    EXPECT_EQ(qmr::Link().ReplyText(), "");
    EXPECT_EQ(qmr::Link().StatusBytes, (std::array<std::uint8_t, 6>{0x80, 0x80, 0x80, 0x80, 0x80, 0x80}));
    EXPECT_TRUE(ui.messages.empty());

    EXPECT_EQ(qmr::ExecCommand(qmr::ReadStatus, ""), qmr::ResultOk);
    const auto requests = sim.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].seq, 0x20);
    EXPECT_EQ(requests[0].cmd, qmr::ReadStatus);
    EXPECT_EQ(requests[0].data, "");
    EXPECT_EQ(requests[0].times, 1);
    EXPECT_EQ(requests[1].seq, 0x21);
    EXPECT_EQ(requests[1].times, 1);

    sim.ClearRequests();
    EXPECT_TRUE(sim.Requests().empty());
}

TEST_F(PtyLink, StatusBitsOfThePrinterReachTheStatusWord) {
    struct Case {
        StatusPos pos;
        std::uint32_t word;
    };
    const Case cases[] = {
        {st::ClockNotSet, qmr::swClockNotSet},
        {st::CommonError, qmr::swCommonError},
        {st::Overflow, qmr::swOverflow},
        {st::RamReset, qmr::swRamReset},
        {st::CoverOpen, qmr::swCoverOpen},
        {st::PaperOut, qmr::swPaperOut},
        {st::PaperNearEnd, qmr::swPaperNearEnd},
        {st::FiscalReceiptOpen, qmr::swFiscalReceiptOpen},
        {st::NonFiscalReceiptOpen, qmr::swNonFiscalReceiptOpen},
        {st::FmWriteError, qmr::swFmWriteError},
        {st::SerialSet, qmr::swSerialSet},
        {st::FmNearFull, qmr::swFmNearFull},
        {st::FmFull, qmr::swFmFull},
        {st::CommonFiscalError, qmr::swCommonFiscalError},
        {st::FmReadOnly, qmr::swFmReadOnly},
        {st::FmFormatted, qmr::swFmFormatted},
        {st::Fiscalized, qmr::swFiscalized},
        {st::TaxRatesSet, qmr::swTaxRatesSet},
        {st::FiscalNumberSet, 0u},  // shown by the dialog from the raw bytes only
    };
    for (const auto& c : cases) {
        sim.WithPrinter([&](Printer& p) { p.SetStatusBit(c.pos); });
        EXPECT_EQ(qmr::ExecCommand(qmr::ReadStatus, ""), qmr::ResultOk);
        EXPECT_EQ(qmr::Link().StatusWord, c.word) << c.pos.byte << "." << c.pos.bit;
        EXPECT_EQ(qmr::Link().StatusBytes[static_cast<std::size_t>(c.pos.byte)], 0x80 | (1 << c.pos.bit));
        sim.WithPrinter([&](Printer& p) { p.SetStatusBit(c.pos, false); });
    }
    // None of these is a command error: nothing was shown.
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(ui.statusDialogs, 0);
}

TEST_F(PtyLink, CommandErrorsOfThePrinterOpenTheStatusDialog) {
    sim.WithPrinter([](Printer& p) {
        p.SetHandler(qmr::SellArticle, [](Printer& printer, const Request&) {
            printer.Fail(st::NotPermitted);
            return std::string();
        });
    });
    EXPECT_EQ(qmr::ExecCommand(qmr::SellArticle, "1*1.000"), qmr::ResultOk);
    EXPECT_EQ(qmr::Link().StatusWord, qmr::swNotPermitted);
    EXPECT_EQ(ui.statusDialogs, 1);

    EXPECT_EQ(qmr::ExecCommand(36, ""), qmr::ResultOk);  // a number the printer does not know
    EXPECT_EQ(qmr::Link().StatusWord, qmr::swInvalidCommand);
    EXPECT_EQ(ui.statusDialogs, 2);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(PtyLink, PacedLineCarriesLongRepliesIntact) {
    std::string block;
    for (int i = 0; i < 64; ++i) block += "0123456789ABCDEF"[i % 16], block += "FEDCBA9876543210"[i % 16];
    sim.WithPrinter([&](Printer& p) { p.SetReplyData(qmr::ReadFiscalMemoryBlock, block); });
    sim.SetBaudRate(115200);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(qmr::ExecCommand(qmr::ReadFiscalMemoryBlock, "00040,64"), qmr::ResultOk);
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(qmr::Link().ReplyText(), block);
    // Both frames took their line time: ten bits a byte.
    const std::size_t lineBytes = qmr::BuildRequestFrame(0x20, qmr::ReadFiscalMemoryBlock, "00040,64").size() +
                                  qmr::BuildReplyFrame(0x20, qmr::ReadFiscalMemoryBlock, block, {}).size();
    EXPECT_GE(took, std::chrono::microseconds(lineBytes * 10 * 1'000'000 / 115200));
    ASSERT_EQ(sim.Requests().size(), 1u);
    EXPECT_EQ(sim.Requests()[0].data, "00040,64");
}

struct FaultCase {
    const char* name;
    Fault fault;
    int requestsSeen;  // 2 when the link had to send again
};

void PrintTo(const FaultCase& c, std::ostream* os) { *os << c.name; }

class PtyLinkFault : public PtyLink, public ::testing::WithParamInterface<FaultCase> {};

// Each fault spoils one reply; the link's retry (or its resync on the start
// byte) gets the command through, and the printer runs it only once.
TEST_P(PtyLinkFault, OneSpoiledReplyIsOvercome) {
    CountReadStatusRuns();
    sim.WithPrinter([](Printer& p) { p.SetStatusBit(st::PaperNearEnd); });
    sim.InjectFault(GetParam().fault);

    EXPECT_EQ(qmr::ExecCommand(qmr::ReadStatus, ""), qmr::ResultOk);
    EXPECT_EQ(qmr::Link().StatusWord, qmr::swPaperNearEnd);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(HandlerRuns(), 1);
    const auto requests = sim.Requests();
    ASSERT_EQ(static_cast<int>(requests.size()), GetParam().requestsSeen);
    for (std::size_t i = 0; i < requests.size(); ++i) {
        EXPECT_EQ(requests[i].seq, 0x20);
        EXPECT_EQ(requests[i].times, static_cast<int>(i) + 1);
    }
    // The fault was for one reply only.
    EXPECT_EQ(qmr::ExecCommand(qmr::ReadStatus, ""), qmr::ResultOk);
    EXPECT_EQ(static_cast<int>(sim.Requests().size()), GetParam().requestsSeen + 1);
}

INSTANTIATE_TEST_SUITE_P(Faults, PtyLinkFault,
                         ::testing::Values(FaultCase{"BadChecksum", Fault::BadChecksum, 2},
                                           FaultCase{"WrongSeq", Fault::WrongSeq, 2},
                                           FaultCase{"WrongCmd", Fault::WrongCmd, 2},
                                           // Costs the link's full idle time-out.
                                           FaultCase{"CutShort", Fault::CutShort, 2},
                                           FaultCase{"NoiseBeforeStart", Fault::NoiseBeforeStart, 1},
                                           FaultCase{"RestartInside", Fault::RestartInside, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PtyLink, TheDeviceOpensOnlyOnce) {
    qmr::TermiosLine second;
    EXPECT_EQ(second.Open(sim.DevicePath()), -1);
    qmr::ClosePort();
    EXPECT_GE(second.Open(sim.DevicePath()), 0);
}

// Reads until `frames` end bytes have come, or two seconds of nothing.
Bytes ReceiveFrames(qmr::TermiosLine& line, int frames) {
    Bytes got;
    auto last = std::chrono::steady_clock::now();
    while (frames > 0 && std::chrono::steady_clock::now() - last < std::chrono::seconds(2)) {
        std::uint8_t b = 0;
        if (line.BytesWaiting() > 0 && line.ReadByte(b)) {
            got.push_back(b);
            if (b == qmr::EndByte) --frames;
            last = std::chrono::steady_clock::now();
        } else {
            line.WaitForInput(100000);
        }
    }
    return got;
}

// The printer's side of the line, driven byte by byte without the link.
class PtyRaw : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_GE(line.Open(sim.DevicePath()), 0);
        line.Configure(115200, true);
    }
    void Send(const Bytes& bytes) {
        for (auto b : bytes) ASSERT_TRUE(line.WriteByte(b));
    }
    Bytes Receive(int frames) { return ReceiveFrames(line, frames); }
    static Bytes ReplyTo(std::uint8_t seq, std::uint8_t cmd, std::string_view data = "") {
        return qmr::BuildReplyFrame(seq, cmd, data, {0x80, 0x80, 0x80, 0x80, 0x80, 0x80});
    }
    static Bytes Join(std::initializer_list<Bytes> parts) {
        Bytes all;
        for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
        return all;
    }

    Simulator sim;
    qmr::TermiosLine line;
};

TEST_F(PtyRaw, GarbageAndBadFramesGetNoAnswer) {
    Bytes badChecksum = qmr::BuildRequestFrame(0x20, qmr::ReadStatus, "");
    badChecksum[8] ^= 0x01;
    const Bytes garbage{0x00, 0x03, 0xFF, 0x05, 0x7F};
    const Bytes good = qmr::BuildRequestFrame(0x21, qmr::ReadStatus, "");
    Send(Join({garbage, badChecksum, garbage, good}));
    // Only the good frame is answered: its reply is the first thing on the line.
    EXPECT_EQ(Receive(1), ReplyTo(0x21, qmr::ReadStatus));
    const auto requests = sim.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].seq, 0x21);
}

TEST_F(PtyRaw, ARepeatedRequestIsAnsweredAgainWithoutRunningItTwice) {
    int runs = 0;
    sim.WithPrinter([&](Printer& p) {
        p.SetHandler(qmr::PrintFiscalText, [&](Printer& printer, const Request& r) {
            ++runs;
            printer.paper.push_back(r.data);
            return std::to_string(runs);
        });
    });
    const Bytes first = qmr::BuildRequestFrame(0x20, qmr::PrintFiscalText, "Bread");
    // Unanswered first try, then the retry: the reply comes, from what was done.
    sim.InjectFault(Fault::Silence);
    Send(first);
    Send(first);
    // Same Seq and Cmd with other data, and the same data under another Seq:
    // both are new commands.
    Send(qmr::BuildRequestFrame(0x20, qmr::PrintFiscalText, "Milk"));
    Send(qmr::BuildRequestFrame(0x21, qmr::PrintFiscalText, "Milk"));
    EXPECT_EQ(Receive(3), Join({ReplyTo(0x20, qmr::PrintFiscalText, "1"), ReplyTo(0x20, qmr::PrintFiscalText, "2"),
                                ReplyTo(0x21, qmr::PrintFiscalText, "3")}));

    sim.WithPrinter([](Printer& p) { EXPECT_EQ(p.paper, (std::vector<std::string>{"Bread", "Milk", "Milk"})); });
    const auto requests = sim.Requests();
    ASSERT_EQ(requests.size(), 4u);
    EXPECT_EQ(requests[0].times, 1);
    EXPECT_EQ(requests[1].times, 2);
    EXPECT_EQ(requests[1].data, "Bread");
    EXPECT_EQ(requests[2].times, 1);
    EXPECT_EQ(requests[3].times, 1);
}

TEST_F(PtyRaw, AFaultLastsForTheGivenNumberOfReplies) {
    sim.InjectFault(Fault::WrongSeq, 2);
    for (std::uint8_t seq : {0x20, 0x21, 0x22}) Send(qmr::BuildRequestFrame(seq, qmr::ReadStatus, ""));
    EXPECT_EQ(Receive(3),
              Join({ReplyTo(0x21, qmr::ReadStatus), ReplyTo(0x22, qmr::ReadStatus), ReplyTo(0x22, qmr::ReadStatus)}));
}

TEST_F(PtyRaw, WrongSeqWrapsWithinTheSequenceRange) {
    sim.InjectFault(Fault::WrongSeq);
    Send(qmr::BuildRequestFrame(0x7E, qmr::ReadStatus, ""));
    EXPECT_EQ(Receive(1), ReplyTo(0x20, qmr::ReadStatus));
}

// What each fault does to the bytes of one reply: the next reply, clean,
// marks where the spoiled one ended.
TEST_F(PtyRaw, EachFaultSpoilsTheReplyItsOwnWay) {
    auto contains = [](const Bytes& bytes, std::uint8_t b) {
        return std::find(bytes.begin(), bytes.end(), b) != bytes.end();
    };
    auto endsWith = [](const Bytes& bytes, const Bytes& tail) {
        return bytes.size() >= tail.size() &&
               std::equal(tail.begin(), tail.end(), bytes.end() - static_cast<std::ptrdiff_t>(tail.size()));
    };
    struct Case {
        const char* name;
        Fault fault;
        bool endByteSent;
        std::function<bool(const Bytes& spoiled, const Bytes& clean)> looksRight;
    };
    const Case cases[] = {
        {"silence", Fault::Silence, false, [](const Bytes& spoiled, const Bytes&) { return spoiled.empty(); }},
        {"cut short", Fault::CutShort, false,
         [&](const Bytes& spoiled, const Bytes& clean) {
             return !spoiled.empty() && spoiled.size() < clean.size() &&
                    std::equal(spoiled.begin(), spoiled.end(), clean.begin());
         }},
        {"noise", Fault::NoiseBeforeStart, true,
         [&](const Bytes& spoiled, const Bytes& clean) {
             const Bytes noise(spoiled.begin(), spoiled.end() - static_cast<std::ptrdiff_t>(clean.size()));
             return endsWith(spoiled, clean) && !noise.empty() && !contains(noise, qmr::StartByte) &&
                    !contains(noise, qmr::EndByte);
         }},
        {"restart", Fault::RestartInside, true,
         [&](const Bytes& spoiled, const Bytes& clean) {
             const Bytes prefix(spoiled.begin(), spoiled.end() - static_cast<std::ptrdiff_t>(clean.size()));
             return endsWith(spoiled, clean) && !prefix.empty() && prefix[0] == qmr::StartByte &&
                    !contains(prefix, qmr::EndByte);
         }},
        {"checksum", Fault::BadChecksum, true,
         [](const Bytes& spoiled, const Bytes& clean) {
             return spoiled.size() == clean.size() && std::equal(clean.begin(), clean.end() - 5, spoiled.begin()) &&
                    !std::equal(clean.begin(), clean.end(), spoiled.begin()) && spoiled.back() == qmr::EndByte;
         }},
    };
    std::uint8_t seq = 0x30;
    for (const auto& c : cases) {
        sim.InjectFault(c.fault);
        Send(qmr::BuildRequestFrame(seq, qmr::ReadStatus, ""));
        Send(qmr::BuildRequestFrame(static_cast<std::uint8_t>(seq + 1), qmr::ReadStatus, ""));
        const Bytes got = Receive(c.endByteSent ? 2 : 1);
        const Bytes next = ReplyTo(static_cast<std::uint8_t>(seq + 1), qmr::ReadStatus);
        ASSERT_TRUE(endsWith(got, next)) << c.name;
        const Bytes spoiled(got.begin(), got.end() - static_cast<std::ptrdiff_t>(next.size()));
        EXPECT_TRUE(c.looksRight(spoiled, ReplyTo(seq, qmr::ReadStatus))) << c.name;
        seq = static_cast<std::uint8_t>(seq + 2);
    }
}

TEST_F(PtyRaw, ObserverSeesEveryRequestWithItsReplyAndWhatWasPrinted) {
    // Seq, times, reply data and lines on the paper.
    using Seen = std::tuple<int, int, std::string, std::size_t>;
    std::vector<Seen> seen;  // the printer thread writes it under the printer's lock
    sim.WithPrinter([](Printer& p) {
        p.SetHandler(qmr::PrintFiscalText, [](Printer& printer, const Request& r) {
            printer.paper.push_back(r.data);
            return std::string("ok");
        });
    });
    sim.SetObserver([&seen](const ReceivedRequest& request, const Reply& reply, const Printer& printer) {
        seen.push_back({request.seq, request.times, reply.data, printer.paper.size()});
    });
    const Bytes tea = qmr::BuildRequestFrame(0x20, qmr::PrintFiscalText, "Tea");
    sim.InjectFault(Fault::Silence);
    Send(tea);
    Send(tea);
    Send(qmr::BuildRequestFrame(0x21, qmr::ReadStatus, ""));
    EXPECT_EQ(Receive(2), Join({ReplyTo(0x20, qmr::PrintFiscalText, "ok"), ReplyTo(0x21, qmr::ReadStatus)}));

    // An unanswered request is observed too, and a repeat with the reply it was given.
    sim.WithPrinter([&](Printer&) {
        EXPECT_EQ(seen, (std::vector<Seen>{{0x20, 1, "ok", 1}, {0x20, 2, "ok", 1}, {0x21, 1, "", 1}}));
    });
}

// Replies that nobody reads fill the pty until the printer cannot write;
// stopping must still end its thread rather than leave it in write().
TEST_F(PtyRaw, StopsWhileTheLineIsFull) {
    sim.WithPrinter([](Printer& p) { p.SetReplyData(qmr::ReadFiscalMemoryBlock, std::string(MaxReplyData, 'A')); });
    for (int i = 0; i < 600; ++i) {
        char data[16];
        std::snprintf(data, sizeof data, "%05X,64", i * 64);
        Send(qmr::BuildRequestFrame(0x20, qmr::ReadFiscalMemoryBlock, data));
    }
    sim.Stop();
    sim.Stop();                              // a second stop is harmless
    EXPECT_LT(sim.Requests().size(), 600u);  // the printer was held up by the full line
}

// A printer given to the simulator keeps what it did after the simulator is gone.
TEST(SimulatorOwnership, PlaysAPrinterItIsGiven) {
    Printer printer;
    printer.SetHandler(qmr::PrintFiscalText, [](Printer& p, const Request& r) {
        p.paper.push_back(r.data);
        return std::string("ok");
    });
    {
        Simulator sim(printer);
        qmr::TermiosLine line;
        ASSERT_GE(line.Open(sim.DevicePath()), 0);
        line.Configure(115200, true);
        for (auto b : qmr::BuildRequestFrame(0x20, qmr::PrintFiscalText, "Tea")) ASSERT_TRUE(line.WriteByte(b));
        EXPECT_EQ(ReceiveFrames(line, 1),
                  qmr::BuildReplyFrame(0x20, qmr::PrintFiscalText, "ok", {0x80, 0x80, 0x80, 0x80, 0x80, 0x80}));
    }
    EXPECT_EQ(printer.paper, std::vector<std::string>{"Tea"});
}

}  // namespace
}  // namespace qmrsim
