// The reset and the printer's test aids: what a fill series and a self-test
// meet on the other end of the line.
#include <gtest/gtest.h>

#include "Commands.h"
#include "Printer.h"

namespace qmrsim {
namespace {

Reply Send(Printer& printer, int cmd, const std::string& data) {
    return printer.Handle({0x20, static_cast<std::uint8_t>(cmd), data});
}

bool Has(const Reply& reply, StatusPos pos) { return (reply.status[static_cast<std::size_t>(pos.byte)] >> pos.bit) & 1; }

TEST(SimReset, WritesAResetRecordLosesTheOpenReceiptAndTheClock) {
    Printer printer;
    Send(printer, qmr::SetDateTime, "05-06-26 10:20");
    Send(printer, qmr::OpenFiscalReceipt, "1,4826,123,I");
    const Reply reply = Send(printer, qmr::PerformReset, "");
    EXPECT_FALSE(Has(reply, st::NotPermitted));
    EXPECT_TRUE(Has(reply, st::ClockNotSet));
    EXPECT_FALSE(Has(reply, st::FiscalReceiptOpen));
    const auto records = printer.fiscalMemory.Records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].kind, 'R');
    EXPECT_EQ(records[0].day, 5);
    EXPECT_EQ(records[0].hour, 10);
    EXPECT_EQ(records[0].minute, 20);
    // Every reply says so until the clock is set with minutes only.
    EXPECT_TRUE(Has(Send(printer, qmr::ReadStatus, ""), st::ClockNotSet));
    EXPECT_FALSE(Has(Send(printer, qmr::SetDateTime, "05-06-26 10:21"), st::ClockNotSet));
    EXPECT_TRUE(Has(Send(printer, qmr::PerformReset, "x"), st::SyntaxError));
}

TEST(SimReset, AFullMemoryRefusesTheResetWithItsBits) {
    Printer printer;
    FillFiscalMemory(printer, 1);
    const Reply last = Send(printer, qmr::PerformReset, "");
    EXPECT_FALSE(Has(last, st::NotPermitted));
    EXPECT_TRUE(Has(last, st::FmFull));
    EXPECT_TRUE(Has(last, st::FmNearFull));
    Send(printer, qmr::SetDateTime, "05-06-26 10:21");
    const Reply refused = Send(printer, qmr::PerformReset, "");
    EXPECT_TRUE(Has(refused, st::NotPermitted));
    EXPECT_TRUE(Has(refused, st::FmFull));
    EXPECT_FALSE(Has(refused, st::ClockNotSet));  // nothing was reset
    EXPECT_EQ(printer.fiscalMemory.RecordCount(), FiscalMemory::Capacity);
}

TEST(SimTestAids, TestSwitchProgressAndDigits) {
    Printer printer;
    Send(printer, qmr::SetTestSwitch, "1");
    EXPECT_TRUE(printer.testAids.testMode);
    Send(printer, qmr::SetTestSwitch, "0");
    EXPECT_FALSE(printer.testAids.testMode);
    EXPECT_TRUE(Has(Send(printer, qmr::SetTestSwitch, "2"), st::SyntaxError));
    Send(printer, qmr::SendProgressText, "Receipt 3 from 2000");
    EXPECT_EQ(printer.testAids.progressText, "Receipt 3 from 2000");
    EXPECT_FALSE(Has(Send(printer, qmr::SendDigitText, "0123"), st::SyntaxError));
    EXPECT_EQ(printer.paper.back(), "0123");
    for (const char* bad : {"", "12a"}) EXPECT_TRUE(Has(Send(printer, qmr::SendDigitText, bad), st::SyntaxError)) << bad;
}

TEST(SimTestAids, TheCutterCutsASettableNumberOfTimes) {
    Printer printer;
    for (int i = 0; i < 3; ++i) EXPECT_EQ(Send(printer, qmr::CutPaper, "").data, "P");
    printer.testAids.cutsLeft = 2;
    EXPECT_EQ(Send(printer, qmr::CutPaper, "").data, "P");
    EXPECT_EQ(Send(printer, qmr::CutPaper, "").data, "P");
    EXPECT_EQ(Send(printer, qmr::CutPaper, "").data, "E");
    EXPECT_EQ(Send(printer, qmr::CutPaper, "").data, "E");
    EXPECT_EQ(printer.testAids.cuts, 5);
}

}  // namespace
}  // namespace qmrsim
