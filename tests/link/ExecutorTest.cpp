// One command: send, check the reply, retry, report, and the status left behind.
#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>

#include "Commands.h"
#include "Executor.h"
#include "Fakes.h"
#include "Transport.h"

namespace qmrtest {
namespace {

using qmr::Link;

constexpr std::uint32_t AllMasks[] = {qmr::StatusErrorMask, qmr::FatalStatusMask, qmr::LinkStatusMask};

void SetReplyData(const char* text) { std::strcpy(Link().ReplyData.data(), text); }

const std::vector<int> FourPauses = {1000, 1000, 1000, 1000};

class ExecTest : public LinkFixture {
protected:
    // Every request of the exchange was the same frame with the same Seq.
    void ExpectSameRequestEveryTry(std::size_t tries) {
        ASSERT_EQ(line.requests.size(), tries);
        for (const Bytes& r : line.requests) EXPECT_EQ(r, line.requests[0]);
        Bytes all;
        for (const Bytes& r : line.requests) all.insert(all.end(), r.begin(), r.end());
        EXPECT_EQ(line.written, all);
    }
};

TEST_F(ExecTest, SuccessLeavesTheReplyAndOnlyTheMappedStatus) {
    Link().StatusWord = 0xFFFFFFFF;
    AnswerOk("12,34", Sent({0x04, 0x20, 0x00, 0xFF, 0x00, 0x08}));

    EXPECT_EQ(qmr::ExecCommand(qmr::ReadDateTime, ""), qmr::ResultOk);

    EXPECT_EQ(Link().CommandResult, qmr::ResultOk);
    EXPECT_EQ(Link().StatusWord, qmr::swClockNotSet | qmr::swCoverOpen | qmr::swFiscalized);
    EXPECT_EQ(Link().StatusBytes, Sent({0x04, 0x20, 0x00, 0xFF, 0x00, 0x08}));
    EXPECT_EQ(Link().ReplyText(), "12,34");
    EXPECT_EQ(Link().LastCommand, qmr::ReadDateTime);
    EXPECT_EQ(Link().SeqNumber, 0x21);
    EXPECT_EQ(ui.connectCalls, (std::vector<bool>{false, true}));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(ui.statusDialogs, 0);
    EXPECT_TRUE(clock.sleeps.empty());
    ExpectSameRequestEveryTry(1);
}

TEST_F(ExecTest, LongestReplyDataIsKeptWhole) {
    const std::string data(212, '\xE0');
    AnswerOk(data);
    EXPECT_EQ(qmr::ExecCommand(qmr::ReadDeviceInfo, ""), qmr::ResultOk);
    EXPECT_EQ(Link().ReplyText(), data);
}

TEST_F(ExecTest, DataEndsAtItsFirstNul) {
    AnswerOk();
    qmr::ExecCommand(qmr::PrintFiscalText, std::string_view("AB\0CD", 5));
    ASSERT_EQ(line.requests.size(), 1u);
    EXPECT_EQ(line.requests[0], qmr::BuildRequestFrame(0x20, qmr::PrintFiscalText, "AB"));
}

TEST_F(ExecTest, ClosedPortSendsNothingAndAddsPortClosedToTheLastWord) {
    AnswerOk("first", Sent({0x00, 0x20, 0, 0, 0, 0}));
    qmr::ExecCommand(qmr::ReadStatus, "");
    ui.connectCalls.clear();
    line.written.clear();
    qmr::ClosePort();

    EXPECT_EQ(qmr::ExecCommand(qmr::PrintDailyReport, "0000,0"), qmr::ResultNoLink);

    EXPECT_EQ(Link().CommandResult, qmr::ResultNoLink);
    EXPECT_EQ(Link().StatusWord, qmr::swCoverOpen | qmr::swPortClosed);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Serial port not open");
    EXPECT_EQ(ui.messages[0].caption, "Error");
    EXPECT_EQ(ui.messages[0].buttons, qmr::MbOk);
    EXPECT_FALSE(ui.messages[0].connectEnabled);
    EXPECT_EQ(ui.connectCalls, (std::vector<bool>{false, true}));
    EXPECT_TRUE(line.written.empty());
    EXPECT_EQ(Link().SeqNumber, 0x21);
    EXPECT_EQ(Link().LastCommand, qmr::ReadStatus);
    EXPECT_EQ(Link().ReplyText(), "");  // the last command's reply is not this one's
    for (const auto mask : AllMasks) EXPECT_NE(Link().StatusWord & mask, 0u);
}

// One way in which a reply can fail the frame check, and what the failed
// check leaves behind.
struct BadReply {
    const char* name;
    void (*spoil)(Bytes& frame);  // the reply carries data "NEW" and the cover-open bit
    const char* replyAfter;       // empty where the data was not taken: never the earlier reply
    bool statusTaken;
};

// Positions in a reply with three data bytes.
constexpr std::size_t StatusSepAt = 4 + 3;
constexpr std::size_t BodyEndAt = 11 + 3;

const BadReply BadReplies[] = {
    {"BadStartByte", [](Bytes& f) { f.erase(f.begin()); }, "", false},
    {"LenBelowMinimum", [](Bytes& f) { f[1] = 0x2A, Resum(f); }, "", false},
    {"LenOneTooLarge", [](Bytes& f) { ++f[1], Resum(f); }, "NEW\x04", false},
    {"WrongSeq", [](Bytes& f) { ++f[2], Resum(f); }, "", false},
    {"WrongCmd", [](Bytes& f) { ++f[3], Resum(f); }, "", false},
    {"MissingStatusSep", [](Bytes& f) { f[StatusSepAt] = 0x06, Resum(f); }, "NEW", false},
    {"MissingBodyEnd", [](Bytes& f) { f[BodyEndAt] = 0x06, Resum(f); }, "NEW", true},
    {"BadChecksum", [](Bytes& f) { f[f.size() - 2] ^= 0x01; }, "NEW", true},
    {"ExtraByteBeforeTheEndByte", [](Bytes& f) { f.insert(f.end() - 1, 0x30); }, "NEW", true},
};

constexpr Status CoverOpen = Sent({0x00, 0x20, 0x00, 0x00, 0x00, 0x00});

const BadReply& Bad(std::string_view name) {
    for (const auto& bad : BadReplies)
        if (name == bad.name) return bad;
    throw std::invalid_argument(std::string(name));
}

Bytes Spoilt(const BadReply& bad, const Bytes& request) {
    Bytes frame = ReplyTo(request, "NEW", CoverOpen);
    bad.spoil(frame);
    return frame;
}

class FrameCheckTest : public ExecTest, public ::testing::WithParamInterface<BadReply> {};

TEST_P(FrameCheckTest, FailsFourTriesOnTheSameSeqAndReportsAProtocolError) {
    SetReplyData("old");
    AnswerEvery([](const Bytes& request, int) { return Spoilt(GetParam(), request); });

    EXPECT_EQ(qmr::ExecCommand(qmr::ReadReceiptTotals, "T"), qmr::ResultProtocol);

    ExpectSameRequestEveryTry(4);
    EXPECT_EQ(line.requests[0][2], 0x20);
    EXPECT_EQ(clock.sleeps, FourPauses);
    EXPECT_EQ(Link().CommandResult, qmr::ResultProtocol);
    EXPECT_EQ(Link().ReplyText(), GetParam().replyAfter);
    EXPECT_EQ(Link().StatusBytes, GetParam().statusTaken ? CoverOpen : Status{});
    EXPECT_EQ(Link().StatusWord, qmr::swProtocolError | (GetParam().statusTaken ? qmr::swCoverOpen : 0u));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Protocol error");
    EXPECT_EQ(ui.messages[0].caption, "Error");
    EXPECT_FALSE(ui.messages[0].connectEnabled);
    EXPECT_EQ(ui.statusDialogs, 0);
    EXPECT_EQ(Link().SeqNumber, 0x21);
    EXPECT_EQ(ui.connectCalls, (std::vector<bool>{false, true}));
}

TEST_P(FrameCheckTest, GoodReplyOnALaterTryIsTaken) {
    AnswerEvery([](const Bytes& request, int index) {
        return index < 2 ? Spoilt(GetParam(), request) : ReplyTo(request, "fine");
    });

    EXPECT_EQ(qmr::ExecCommand(qmr::ReadReceiptTotals, "T"), qmr::ResultOk);

    ExpectSameRequestEveryTry(3);
    EXPECT_EQ(clock.sleeps, (std::vector<int>{1000, 1000}));
    EXPECT_EQ(Link().StatusWord, 0u);
    EXPECT_EQ(Link().StatusBytes, Status{});
    EXPECT_EQ(Link().ReplyText(), "fine");
    EXPECT_TRUE(ui.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Checks, FrameCheckTest, ::testing::ValuesIn(BadReplies),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ExecTest, TimeOutOnTheLastTryLeavesOnlyNoResponse) {
    AnswerEvery([](const Bytes& request, int index) {
        return index < 3 ? Spoilt(Bad("MissingBodyEnd"), request) : Bytes{};
    });

    EXPECT_EQ(qmr::ExecCommand(qmr::ReadStatus, ""), qmr::ResultNoLink);

    EXPECT_EQ(Link().StatusWord, qmr::swNoResponse);
    EXPECT_EQ(Link().StatusBytes, Status{});
    EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>{"No printer response"});
    EXPECT_EQ(clock.sleeps, FourPauses);
}

TEST_F(ExecTest, ProtocolErrorOnTheLastTryLeavesOnlyProtocolError) {
    AnswerEvery([](const Bytes& request, int index) {
        return index < 3 ? Bytes{} : Spoilt(Bad("WrongSeq"), request);
    });

    EXPECT_EQ(qmr::ExecCommand(qmr::ReadStatus, ""), qmr::ResultProtocol);

    EXPECT_EQ(Link().StatusWord, qmr::swProtocolError);
    EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>{"Protocol error"});
}

TEST_F(ExecTest, FourSilentTriesAreNoPrinterResponse) {
    SetReplyData("old");
    const std::int64_t start = clock.now;

    EXPECT_EQ(qmr::ExecCommand(qmr::ReadStatus, ""), qmr::ResultNoLink);

    ExpectSameRequestEveryTry(4);
    EXPECT_EQ(clock.sleeps, FourPauses);
    const std::int64_t elapsed = clock.now - start;
    EXPECT_GT(elapsed, 4 * (qmr::ReplyIdleTimeoutUs + 1'000'000));
    EXPECT_LT(elapsed, 4 * (qmr::ReplyIdleTimeoutUs + 1'000'000) + 100'000);
    EXPECT_EQ(Link().CommandResult, qmr::ResultNoLink);
    EXPECT_EQ(Link().StatusWord, qmr::swNoResponse);
    EXPECT_EQ(Link().ReplyText(), "");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "No printer response");
    EXPECT_EQ(ui.messages[0].caption, "Error");
    EXPECT_EQ(ui.messages[0].buttons, qmr::MbOk);
    EXPECT_FALSE(ui.messages[0].connectEnabled);
    EXPECT_EQ(Link().SeqNumber, 0x21);
}

struct CommandError {
    const char* name;
    Status status;
    std::uint32_t word;
};

class CommandErrorTest : public ExecTest, public ::testing::WithParamInterface<std::tuple<CommandError, bool>> {};

TEST_P(CommandErrorTest, PrinterReportedErrorOpensTheStatusDialogUnlessSuppressed) {
    const auto& [error, suppressed] = GetParam();
    Link().SuppressStatusDlg = suppressed;
    AnswerOk("", error.status);

    EXPECT_EQ(qmr::ExecCommand(qmr::OpenFiscalReceipt, "1,0000,1"), qmr::ResultOk);

    EXPECT_EQ(Link().StatusWord, error.word);
    EXPECT_NE(Link().StatusWord & qmr::StatusErrorMask, 0u);
    EXPECT_EQ(ui.statusDialogs, suppressed ? 0 : 1);
    if (!suppressed) {
        EXPECT_FALSE(ui.connectEnabledAtDialog);
    }
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(line.requests.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Errors, CommandErrorTest,
    ::testing::Combine(::testing::Values(CommandError{"SyntaxError", Sent({0x01, 0, 0, 0, 0, 0}), qmr::swSyntaxError},
                                         CommandError{"InvalidCommand", Sent({0x02, 0, 0, 0, 0, 0}), qmr::swInvalidCommand},
                                         CommandError{"NotPermitted", Sent({0, 0x02, 0, 0, 0, 0}), qmr::swNotPermitted}),
                       ::testing::Bool()),
    [](const auto& info) {
        return std::string(std::get<0>(info.param).name) + (std::get<1>(info.param) ? "Suppressed" : "Shown");
    });

// The quiet call holds the dialog back for its own exchange only: the flag is
// as it was afterwards, even when a nested quiet call was refused meanwhile.
TEST_F(ExecTest, QuietCallHoldsTheDialogBackAndPutsTheFlagBack) {
    const Status syntaxError = Sent({0x01, 0, 0, 0, 0, 0});
    for (const bool before : {false, true}) {
        Link().SuppressStatusDlg = before;
        AnswerOk("", syntaxError);
        EXPECT_EQ(qmr::ExecCommandQuietly(qmr::ReadStatus, ""), qmr::ResultOk);
        EXPECT_EQ(Link().SuppressStatusDlg, before);
    }
    EXPECT_EQ(ui.statusDialogs, 0);

    Link().SuppressStatusDlg = false;
    ui.onPump = [](int pump) {
        if (pump == 1) qmr::ExecCommandQuietly(qmr::ReadDateTime, "");
    };
    AnswerOk("", syntaxError);
    qmr::ExecCommandQuietly(qmr::ReadStatus, "");
    EXPECT_EQ(ui.statusDialogs, 0);
    EXPECT_FALSE(Link().SuppressStatusDlg);

    ui.onPump = nullptr;
    AnswerOk("", syntaxError);
    qmr::ExecCommand(qmr::ReadStatus, "");
    EXPECT_EQ(ui.statusDialogs, 1);
}

TEST_F(ExecTest, SuppressionLeavesLinkFailuresReported) {
    Link().SuppressStatusDlg = true;
    EXPECT_EQ(qmr::ExecCommand(qmr::ReadStatus, ""), qmr::ResultNoLink);
    AnswerEvery([](const Bytes& request, int) { return Spoilt(Bad("BadChecksum"), request); });
    EXPECT_EQ(qmr::ExecCommand(qmr::ReadStatus, ""), qmr::ResultProtocol);
    EXPECT_EQ(ui.MessageTexts(), (std::vector<std::string>{"No printer response", "Protocol error"}));
    EXPECT_EQ(ui.statusDialogs, 0);
}

// Conditions that the callers test for themselves: nothing is shown.
struct QuietCondition {
    const char* name;
    Status status;
    std::uint32_t word;
};

class QuietConditionTest : public ExecTest, public ::testing::WithParamInterface<QuietCondition> {};

TEST_P(QuietConditionTest, IsLeftInTheWordWithoutMessageOrDialog) {
    AnswerOk("", GetParam().status);
    EXPECT_EQ(qmr::ExecCommand(qmr::ReadStatus, ""), qmr::ResultOk);
    EXPECT_EQ(Link().StatusWord, GetParam().word);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(ui.statusDialogs, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Conditions, QuietConditionTest,
    ::testing::Values(QuietCondition{"CoverOpen", Sent({0, 0x20, 0, 0, 0, 0}), qmr::swCoverOpen},
                      QuietCondition{"PaperOut", Sent({0, 0, 0x01, 0, 0, 0}), qmr::swPaperOut},
                      QuietCondition{"CommonError", Sent({0x20, 0, 0, 0, 0, 0}), qmr::swCommonError},
                      QuietCondition{"CommonFiscalError", Sent({0, 0, 0, 0, 0x20, 0}), qmr::swCommonFiscalError},
                      QuietCondition{"ReceiptOpenAndFiscalized", Sent({0, 0, 0x08, 0, 0, 0x08}),
                                     qmr::swFiscalReceiptOpen | qmr::swFiscalized}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ExecTest, DataTooLongIsRefusedWithoutSending) {
    AnswerOk("earlier", CoverOpen);
    qmr::ExecCommand(qmr::ReadStatus, "");
    line.written.clear();
    ui.connectCalls.clear();
    Link().StatusWord = qmr::swCoverOpen;

    EXPECT_EQ(qmr::ExecCommand(qmr::PrintFiscalText, std::string(220, 'X')), qmr::ResultProtocol);

    EXPECT_EQ(Link().CommandResult, qmr::ResultProtocol);
    EXPECT_TRUE(line.written.empty());
    EXPECT_EQ(Link().SeqNumber, 0x21);
    EXPECT_EQ(Link().LastCommand, qmr::PrintFiscalText);
    EXPECT_EQ(Link().StatusWord, qmr::swProtocolError);
    // Nothing of the earlier command is left to be shown as this one's.
    EXPECT_EQ(Link().StatusBytes, Status{});
    EXPECT_EQ(Link().ReplyText(), "");
    for (const auto mask : AllMasks) EXPECT_NE(Link().StatusWord & mask, 0u);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Data too long");
    EXPECT_EQ(ui.messages[0].caption, "Error");
    EXPECT_EQ(ui.connectCalls, (std::vector<bool>{false, true}));
}

// Windows that skip every pump the link may skip are still pumped once an
// exchange's reply has come whole, so a Cancel clicked meanwhile is seen
// before the caller goes on.
TEST_F(ExecTest, WindowsThatSkipDuePumpsArePumpedAtTheReplysEndByte) {
    ui.skipsDuePumps = true;
    AnswerOk("answer", CoverOpen);
    std::vector<std::size_t> unreadAtPumps;
    ui.onPump = [&](int) { unreadAtPumps.push_back(line.Unread()); };

    EXPECT_EQ(qmr::ExecCommand(qmr::ReadStatus, ""), qmr::ResultOk);

    EXPECT_GT(ui.duePumps, 0);
    EXPECT_EQ(unreadAtPumps, std::vector<std::size_t>{0});
    EXPECT_EQ(Link().ReplyText(), "answer");
}

// A handler run from the windows pumped during an exchange sends a command
// of its own; the pump number says at which point of the exchange.
class NestedExecTest : public ExecTest, public ::testing::WithParamInterface<int> {
protected:
    void SetUp() override {
        ExecTest::SetUp();
        // At 9600 baud a request goes out in pieces of a few bytes, each
        // pumped for.
        Link().BaudRate = 9600;
        line.OnRequest([this](const Bytes& request, int) { line.Arrive(ReplyTo(request, "outer", CoverOpen), 50'000); });
    }
    struct Nested {
        bool ran = false;
        int result = -1;
        std::uint32_t word = 0;
        std::size_t writtenBefore = 0, writtenAfter = 0;
    };
};

TEST_P(NestedExecTest, IsRefusedAndLeavesTheRunningExchangeAlone) {
    Nested n;
    ui.onPump = [this, &n](int p) {
        if (p != GetParam()) return;
        n.ran = true;
        n.writtenBefore = line.written.size();
        n.result = qmr::ExecCommand(qmr::ReadDateTime, "");
        n.word = Link().StatusWord;
        n.writtenAfter = line.written.size();
    };

    EXPECT_EQ(qmr::ExecCommand(qmr::ReadStatus, ""), qmr::ResultOk);

    ASSERT_TRUE(n.ran);
    EXPECT_EQ(n.result, qmr::ResultNoLink);
    for (const auto mask : AllMasks) EXPECT_NE(n.word & mask, 0u);
    EXPECT_EQ(n.writtenAfter, n.writtenBefore);
    ExpectSameRequestEveryTry(1);
    EXPECT_EQ(line.requests[0], qmr::BuildRequestFrame(0x20, qmr::ReadStatus, ""));
    EXPECT_EQ(Link().CommandResult, qmr::ResultOk);
    EXPECT_EQ(Link().StatusWord, qmr::swCoverOpen);
    EXPECT_EQ(Link().ReplyText(), "outer");
    EXPECT_EQ(Link().LastCommand, qmr::ReadStatus);
    EXPECT_EQ(Link().SeqNumber, 0x21);
    EXPECT_EQ(ui.connectCalls, (std::vector<bool>{false, true}));
    EXPECT_TRUE(ui.messages.empty());

    // Once the exchange is over, commands go through again.
    ui.onPump = nullptr;
    EXPECT_EQ(qmr::ExecCommand(qmr::ReadDateTime, ""), qmr::ResultOk);
    EXPECT_EQ(line.requests.back()[3], qmr::ReadDateTime);
}

// 1: before the first piece of the request; 2: amid it; 6: waiting for the
// reply; 20 and 30: amid the reply and at its end byte.
INSTANTIATE_TEST_SUITE_P(Pumps, NestedExecTest, ::testing::Values(1, 2, 6, 20, 30),
                         [](const auto& info) { return "Pump" + std::to_string(info.param); });

TEST_F(ExecTest, NestedExecFromTheMessageBoxIsRefusedToo) {
    int nestedResult = -1;
    std::uint32_t nestedWord = 0;
    ui.onMessage = [&] {
        nestedResult = qmr::ExecCommand(qmr::ReadDateTime, "");
        nestedWord = Link().StatusWord;
    };

    EXPECT_EQ(qmr::ExecCommand(qmr::ReadStatus, ""), qmr::ResultNoLink);

    EXPECT_EQ(nestedResult, qmr::ResultNoLink);
    for (const auto mask : AllMasks) EXPECT_NE(nestedWord & mask, 0u);
    EXPECT_EQ(line.requests.size(), 4u);
    EXPECT_EQ(Link().StatusWord, qmr::swNoResponse);
    EXPECT_EQ(Link().CommandResult, qmr::ResultNoLink);
    EXPECT_EQ(ui.messages.size(), 1u);
}

}  // namespace
}  // namespace qmrtest
