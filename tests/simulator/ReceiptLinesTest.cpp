// The simulated printer's free-text receipts, their cancellation and the
// non-fiscal receipt, handled without a line.
#include <gtest/gtest.h>

#include "Commands.h"
#include "Printer.h"
#include "SimPrinter.h"

namespace qmrsim {
namespace {

class SimReceiptLines : public SimPrinter {};

TEST_F(SimReceiptLines, SalesAndVoidsOfBothGroupsCloseAtZero) {
    ASSERT_TRUE(Done(Send(qmr::OpenFiscalReceipt, "1,4826,1")));
    for (const char* line : {"TEST 1\tA0.01", "TEST 2\tB0.01", "TEST 3\tA0.01", "VOID GR. A\tA-0.02", "VOID GR B\tB-0.01"})
        EXPECT_TRUE(Done(Send(qmr::RegisterSale, line))) << line;
    EXPECT_EQ(Send(qmr::ReadReceiptTotals, "T").data, "1,0005,0,0");
    EXPECT_EQ(Send(qmr::ReadReceiptInfo).data.substr(0, 1), "1");
    EXPECT_EQ(Send(qmr::RegisterPayment, "\t0.00").data, "D0");
    // A payment of nothing is a payment all the same: the receipt can no longer be voided.
    EXPECT_EQ(Send(qmr::ReadReceiptInfo).data.substr(0, 1), "0");
    EXPECT_TRUE(Refused(Send(qmr::CancelFiscalReceipt), st::NotPermitted));
    EXPECT_TRUE(Refused(Send(qmr::RegisterSale, "LATE\tA0.01"), st::NotPermitted));
    EXPECT_TRUE(Done(Send(qmr::CloseFiscalReceipt)));
    EXPECT_FALSE(printer.StatusBit(st::FiscalReceiptOpen));
    EXPECT_EQ(printer.receipts.fiscalReceiptCount, 1);
    EXPECT_EQ(printer.fiscalMemory.day.byTax, (std::array<long long, 5>{}));
    const std::vector<std::string> paper = {"FISCAL RECEIPT", "OPERATOR 01",       "TEST 1  0.01 A",
                                            "TEST 2  0.01 B", "TEST 3  0.01 A",    "VOID GR. A  -0.02 A",
                                            "VOID GR B  -0.01 B", "CASH  0.00",    "TOTAL  0.00",
                                            "RECEIPT 1 CLOSED"};
    EXPECT_EQ(printer.paper, paper);
}

TEST_F(SimReceiptLines, AFixedTextAndARestPaidInFull) {
    Send(qmr::OpenFiscalReceipt, "1,4826,0001");
    EXPECT_TRUE(Done(Send(qmr::PrintFiscalText, "TEST AFTER FISCALIZATION")));
    Send(qmr::RegisterSale, "TEST\tB0.10");
    EXPECT_EQ(Send(qmr::RegisterPayment, "\t0.10").data, "D0");
    EXPECT_TRUE(Done(Send(qmr::CloseFiscalReceipt)));
    EXPECT_EQ(printer.paper[2], "TEST AFTER FISCALIZATION");
    EXPECT_EQ(printer.fiscalMemory.day.byTax[1], 10);
}

TEST_F(SimReceiptLines, ACancelledReceiptCountsNowhere) {
    Send(qmr::OpenFiscalReceipt, "1,4826,1");
    Send(qmr::SellArticle, "1*2.000");
    Send(qmr::RegisterSale, "TEST 1\tA0.50");
    EXPECT_EQ(Send(qmr::ReadReceiptInfo).data, "1,2,290");
    EXPECT_TRUE(Done(Send(qmr::CancelFiscalReceipt)));
    EXPECT_FALSE(printer.StatusBit(st::FiscalReceiptOpen));
    EXPECT_EQ(printer.paper.back(), "RECEIPT CANCELLED");
    EXPECT_EQ(printer.receipts.articles[1].soldQuantity, 0);
    EXPECT_EQ(printer.receipts.articles[1].soldAmount, 0);
    EXPECT_EQ(printer.receipts.receiptCount, 0);
    EXPECT_EQ(printer.fiscalMemory.day.receipts, 0);
    EXPECT_EQ(Send(qmr::ReadReceiptInfo).data, "0,0,0");
    EXPECT_TRUE(Refused(Send(qmr::CancelFiscalReceipt), st::NotPermitted));

    // The next receipt starts from nothing.
    Send(qmr::OpenFiscalReceipt, "1,4826,1");
    EXPECT_TRUE(Refused(Send(qmr::RegisterSale, "VOID GR. A\tA-0.01"), st::NotPermitted));
}

TEST_F(SimReceiptLines, MalformedOrUntimelyLinesAreRefused) {
    EXPECT_TRUE(Refused(Send(qmr::RegisterSale, "TEST 1\tA0.01"), st::NotPermitted));  // no receipt
    EXPECT_TRUE(Refused(Send(qmr::PrintFiscalText, "TEXT"), st::NotPermitted));
    Send(qmr::OpenFiscalReceipt, "1,4826,1");
    for (const char* bad : {"TEST 1", "TEST 1\tC0.01", "TEST 1\t\xC0" "0.01", "TEST 1\ta0.01", "TEST 1\tA",
                            "TEST 1\tA0.001", "TEST 1\tA--0.01", "TEST 1\tA+0.01", "TEST 1\tA 0.01",
                            "1234567890123456789012345678901234567\tA0.01"})
        EXPECT_TRUE(Refused(Send(qmr::RegisterSale, bad), st::SyntaxError)) << bad;
    EXPECT_TRUE(Refused(Send(qmr::PrintFiscalText, std::string(37, 'X')), st::SyntaxError));
    Send(qmr::RegisterSale, "TEST 1\tA0.01");
    // A void takes back no more than its own group sold.
    EXPECT_TRUE(Refused(Send(qmr::RegisterSale, "VOID GR B\tB-0.01"), st::NotPermitted));
    EXPECT_TRUE(Refused(Send(qmr::RegisterSale, "VOID GR. A\tA-0.02"), st::NotPermitted));
    EXPECT_TRUE(Refused(Send(qmr::RegisterSale, "BIG\tA999999999.99"), st::Overflow));
    EXPECT_EQ(Send(qmr::ReadReceiptTotals, "T").data, "1,0001,1,0");
}

TEST_F(SimReceiptLines, ANonFiscalReceiptBlocksFiscalOnesUntilClosed) {
    EXPECT_TRUE(Refused(Send(qmr::CloseNonFiscalReceipt), st::NotPermitted));
    OpenNonFiscalReceipt(printer);
    EXPECT_EQ(Bits(Send(qmr::ReadStatus))[2], 0x20);
    EXPECT_TRUE(Refused(Send(qmr::OpenFiscalReceipt, "1,4826,1"), st::NotPermitted));
    EXPECT_TRUE(Done(Send(qmr::CloseNonFiscalReceipt)));
    EXPECT_EQ(Bits(Send(qmr::ReadStatus))[2], 0);
    EXPECT_EQ(printer.paper, (std::vector<std::string>{"NON-FISCAL RECEIPT", "NON-FISCAL RECEIPT CLOSED"}));
    EXPECT_TRUE(Done(Send(qmr::OpenFiscalReceipt, "1,4826,1")));
}

}  // namespace
}  // namespace qmrsim
