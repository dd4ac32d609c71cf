// The simulated printer's receipts, handled without a line.
#include <gtest/gtest.h>

#include "Commands.h"
#include "Printer.h"
#include "SimPrinter.h"

namespace qmrsim {
namespace {

class SimReceipt : public SimPrinter {};

TEST_F(SimReceipt, SaleTotalsPaymentAndCloseOfAFiscalReceipt) {
    printer.receipts.articles[15] = Article{15, '\xC1', 2, 250, "MILK"};
    Reply r = Send(qmr::OpenFiscalReceipt, "1,4826,123,I");
    EXPECT_EQ(Bits(r), (std::array<int, 6>{0, 0, 0x08, 0, 0, 0}));
    EXPECT_EQ(r.data, "1,1");
    EXPECT_EQ(Bits(Send(qmr::SellArticleWithDisplay, "15*3.000")), (std::array<int, 6>{0, 0, 0x08, 0, 0, 0}));
    EXPECT_EQ(printer.receipts.display, "MILK 7.50");
    Send(qmr::SellArticle, "1*0.500");  // demo BREAD at 1.20
    EXPECT_EQ(Send(qmr::ReadReceiptTotals, "T").data, "1,0002,810,0");
    EXPECT_EQ(Send(qmr::ReadReceiptTotals).data, "1,0002,810,60,750,0,0,0");

    EXPECT_EQ(Send(qmr::RegisterPayment, "\tD1.00").data, "D710");
    EXPECT_EQ(Send(qmr::ReadReceiptTotals, "T").data, "1,0002,810,100");
    // No more sales once the payment has begun.
    EXPECT_TRUE(Refused(Send(qmr::SellArticle, "15"), st::NotPermitted));
    EXPECT_EQ(Send(qmr::RegisterPayment, "\tP10.00").data, "R290");
    r = Send(qmr::CloseFiscalReceipt);
    EXPECT_EQ(Bits(r), (std::array<int, 6>{}));
    EXPECT_EQ(r.data, "1,1");
    EXPECT_EQ(Send(qmr::ReadReceiptTotals, "T").data, "0,0000,0,0");

    const std::vector<std::string> paper = {"FISCAL RECEIPT", "OPERATOR 01",    "3.000 x 2.50", "MILK  7.50 \xC1",
                                            "0.500 x 1.20",   "BREAD  0.60 \xC0", "CARD  1.00",  "CASH  10.00",
                                            "CHANGE  2.90",   "TOTAL  8.10",    "RECEIPT 1 CLOSED"};
    EXPECT_EQ(printer.paper, paper);
    EXPECT_EQ(printer.receipts.articles[15].soldQuantity, 3000);
}

TEST_F(SimReceipt, PaymentsLeaveWhatIsDueOrPayTheRest) {
    Send(qmr::OpenFiscalReceipt, "1,4826,123,I");
    Send(qmr::SellArticle, "3*2.000");  // CHEESE 4.50
    EXPECT_EQ(Send(qmr::RegisterPayment, "\tN7.5").data, "D150");
    EXPECT_EQ(Send(qmr::RegisterPayment, "\tC").data, "D0");  // the rest, exactly
    EXPECT_EQ(Bits(Send(qmr::CloseFiscalReceipt))[2], 0);

    Send(qmr::OpenFiscalReceipt, "1,4826,123,I");
    Send(qmr::SellArticle, "1");
    EXPECT_EQ(Send(qmr::RegisterPayment).data, "D0");
    EXPECT_EQ(Bits(Send(qmr::CloseFiscalReceipt))[2], 0);
    EXPECT_EQ(printer.receipts.fiscalReceiptCount, 2);
}

TEST_F(SimReceipt, StornoReceiptAndVoidedLines) {
    Reply r = Send(qmr::OpenStornoReceipt, "1,4826,123,I");
    EXPECT_EQ(r.data, "1,0");
    EXPECT_TRUE(printer.receipts.receipt.storno);
    Send(qmr::SellArticleWithDisplay, "5*2.000");
    Send(qmr::SellArticleWithDisplay, "-5*1.000");
    EXPECT_EQ(Send(qmr::ReadReceiptTotals, "T").data, "1,0002,680,0");
    // A void of more than was sold would make the total negative.
    EXPECT_TRUE(Refused(Send(qmr::SellArticleWithDisplay, "-5*2.000"), st::NotPermitted));
    Send(qmr::RegisterPayment, "\tP6.80");
    Send(qmr::CloseFiscalReceipt);
    EXPECT_EQ(printer.paper.front(), "STORNO RECEIPT");
    EXPECT_EQ(printer.receipts.receiptCount, 1);
    EXPECT_EQ(printer.receipts.fiscalReceiptCount, 0);
}

TEST_F(SimReceipt, RefusalsCarryTheirStatusBits) {
    EXPECT_TRUE(Refused(Send(qmr::SellArticleWithDisplay, "1*1.000"), st::NotPermitted));   // no receipt
    EXPECT_TRUE(Refused(Send(qmr::RegisterPayment, "\tP1.00"), st::NotPermitted));         // no receipt
    EXPECT_TRUE(Refused(Send(qmr::CloseFiscalReceipt), st::NotPermitted));                 // no receipt
    EXPECT_TRUE(Refused(Send(qmr::OpenFiscalReceipt, "1,1111,123,I"), st::NotPermitted));  // wrong password
    EXPECT_TRUE(Refused(Send(qmr::OpenFiscalReceipt, "7,,123,I"), st::NotPermitted));
    EXPECT_FALSE(printer.StatusBit(st::FiscalReceiptOpen));
    for (const char* bad : {"", "0,4826,123,I", "16,4826,123,I", "x,4826", "1"})
        EXPECT_TRUE(Refused(Send(qmr::OpenFiscalReceipt, bad), st::SyntaxError)) << bad;

    ASSERT_EQ(Bits(Send(qmr::OpenFiscalReceipt, "1,4826,123,I"))[2], 0x08);
    EXPECT_TRUE(Refused(Send(qmr::OpenFiscalReceipt, "1,4826,123,I"), st::NotPermitted));  // already open
    EXPECT_TRUE(Refused(Send(qmr::SellArticleWithDisplay, "999*1.000"), st::NotPermitted));  // unknown PLU
    for (const char* bad : {"", "x", "1*", "1*1.2345", "1*-1", "1*1e3", "*1.000", "1*1,000"})
        EXPECT_TRUE(Refused(Send(qmr::SellArticleWithDisplay, bad), st::SyntaxError)) << bad;
    EXPECT_TRUE(Refused(Send(qmr::SellArticle, "5*999999999.999"), st::Overflow));
    EXPECT_TRUE(Refused(Send(qmr::ReadReceiptTotals, "X"), st::SyntaxError));
    Send(qmr::SellArticle, "1");
    for (const char* bad : {"P1.00", "\tX1.00", "\t-0.50", "\tP1.234", "\tP1e2"})
        EXPECT_TRUE(Refused(Send(qmr::RegisterPayment, bad), st::SyntaxError)) << bad;
    EXPECT_TRUE(Refused(Send(qmr::CloseFiscalReceipt), st::NotPermitted));  // not paid
    EXPECT_EQ(Send(qmr::ReadReceiptTotals, "T").data, "1,0001,120,0");
}

TEST_F(SimReceipt, TotalsKeepTheirFixedPlaceWithManyLines) {
    Send(qmr::OpenFiscalReceipt, "2,4826,123,I");
    for (int i = 0; i < 12; ++i) Send(qmr::SellArticle, "2");
    const std::string totals = Send(qmr::ReadReceiptTotals, "T").data;
    EXPECT_EQ(totals.substr(0, 7), "1,0012,");
    EXPECT_EQ(totals.substr(7), "1140,0");
}

}  // namespace
}  // namespace qmrsim
