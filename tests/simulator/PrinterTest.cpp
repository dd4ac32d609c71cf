#include <gtest/gtest.h>

#include "Commands.h"
#include "Printer.h"

namespace qmrsim {
namespace {

constexpr std::array<std::uint8_t, 6> Quiet{0x80, 0x80, 0x80, 0x80, 0x80, 0x80};

TEST(Printer, ReadStatusAnswersEmptyWithMarkedStatusBytes) {
    Printer printer;
    const Reply reply = printer.Handle({0x20, qmr::ReadStatus, ""});
    EXPECT_EQ(reply.data, "");
    EXPECT_EQ(reply.status, Quiet);
}

TEST(Printer, UnknownCommandIsInvalidCommandAndEmpty) {
    Printer printer;
    const Reply reply = printer.Handle({0x20, 36, "x"});
    EXPECT_EQ(reply.data, "");
    EXPECT_EQ(reply.status[0], 0x82);
    // Only that command: the next one starts clean.
    EXPECT_EQ(printer.Handle({0x21, qmr::ReadStatus, ""}).status, Quiet);
}

TEST(Printer, FailLastsOneCommandWhileStatusBitsLast) {
    Printer printer;
    printer.SetStatusBit(st::FiscalReceiptOpen);
    printer.SetHandler(qmr::SellArticle, [](Printer& p, const Request&) {
        p.Fail(st::NotPermitted);
        return std::string("F");
    });
    Reply reply = printer.Handle({0x20, qmr::SellArticle, "1*1.000"});
    EXPECT_EQ(reply.data, "F");
    EXPECT_EQ(reply.status[1], 0x80 | 0x02);
    EXPECT_EQ(reply.status[2], 0x80 | 0x08);

    reply = printer.Handle({0x21, qmr::ReadStatus, ""});
    EXPECT_EQ(reply.status[1], 0x80);
    EXPECT_EQ(reply.status[2], 0x80 | 0x08);

    printer.SetStatusBit(st::FiscalReceiptOpen, false);
    EXPECT_FALSE(printer.StatusBit(st::FiscalReceiptOpen));
    EXPECT_EQ(printer.Handle({0x22, qmr::ReadStatus, ""}).status, Quiet);
}

TEST(Printer, BitsSixAndSevenAndOtherBytesCannotBeSet) {
    // Bit 7 is the marker and bit 6 stays clear whatever a test asks for.
    Printer printer;
    printer.SetStatusBit(0, 6);
    printer.SetStatusBit(0, 7);
    printer.SetStatusBit(6, 0);
    printer.SetStatusBit(-1, 0);
    printer.Fail(0, 6);
    EXPECT_FALSE(printer.StatusBit(0, 6));
    EXPECT_EQ(printer.Handle({0x20, qmr::ReadStatus, ""}).status, Quiet);
}

TEST(Printer, ScriptedRepliesReplaceHandlersAndAreCutToWhatAFrameHolds) {
    Printer printer;
    printer.SetReplyData(qmr::ReadStatus, "abc");
    EXPECT_EQ(printer.Handle({0x20, qmr::ReadStatus, ""}).data, "abc");

    printer.SetReplyData(qmr::ReadFiscalMemoryBlock, std::string(300, '7'));
    EXPECT_EQ(printer.Handle({0x21, qmr::ReadFiscalMemoryBlock, "00000,64"}).data, std::string(MaxReplyData, '7'));
}

TEST(Printer, HandlerSeesTheRequestAndCanPrint) {
    Printer printer;
    printer.SetHandler(qmr::PrintFiscalText, [](Printer& p, const Request& r) {
        p.paper.push_back(r.data);
        return std::string();
    });
    printer.Handle({0x20, qmr::PrintFiscalText, "Hello"});
    ASSERT_EQ(printer.paper.size(), 1u);
    EXPECT_EQ(printer.paper[0], "Hello");
}

}  // namespace
}  // namespace qmrsim
