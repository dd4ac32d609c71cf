#include <gtest/gtest.h>

#include "Numbers.h"
#include "SaleTexts.h"

using namespace vextora;

TEST(ReceiptOpening, OperatorPasswordAndTheFixedFields) {
    EXPECT_EQ(OpenReceiptData(1, "4826"), "1,4826,123,I");
    EXPECT_EQ(OpenReceiptData(7, ""), "7,,123,I");
}

TEST(SaleText, ThreeDecimalsAndTheMinusBeforeThePlu) {
    const struct {
        int plu;
        double quantity;
        const char* sent;
    } cases[] = {
        {15, -2, "-15*2.000"}, {15, 0.5, "15*0.500"}, {15, 3, "15*3.000"},
        {15, 0, "15*0.000"},   {1, 12345.6789, "1*12345.679"},
    };
    for (const auto& c : cases) EXPECT_EQ(SaleData(c.plu, qmr::ToSingle(c.quantity)), c.sent) << c.sent;
}

TEST(SaleText, HugeOrEndlessQuantitiesAreRefused) {
    EXPECT_EQ(SaleData(15, qmr::ReadLeadingNumber("1e300")), std::nullopt);
    EXPECT_EQ(SaleData(15, qmr::ToSingle(qmr::ReadLeadingNumber("1e39"))), std::nullopt);  // beyond single precision
    // The largest single-precision quantity still fits its buffer.
    EXPECT_TRUE(SaleData(15, qmr::ToSingle(3e38)).has_value());
}

TEST(PaymentText, TabModeLetterAndTwoDecimals) {
    EXPECT_EQ(PaymentData(3, ReadTenderedAmount(" 7.5 ")), "\tN7.50");
    EXPECT_EQ(PaymentData(0, ReadTenderedAmount("")), "\tP0.00");
    EXPECT_EQ(PaymentData(1, ReadTenderedAmount("\t12\r\n")), "\tD12.00");
    EXPECT_EQ(PaymentData(2, 1), "\tC1.00");
    EXPECT_EQ(PaymentData(-1, 1), std::nullopt);
    EXPECT_EQ(PaymentData(0, ReadTenderedAmount("1e200")), std::nullopt);
    EXPECT_EQ(PaymentData(0, ReadTenderedAmount("1e999")), std::nullopt);
}

TEST(LineAmount, QuantityTimesPriceBounded) {
    EXPECT_EQ(LineAmountText(qmr::ToSingle(3), qmr::ToSingle(2.5)), "7.50");
    EXPECT_EQ(LineAmountText(qmr::ToSingle(-2), qmr::ToSingle(1.25)), "-2.50");
    EXPECT_EQ(LineAmountText(qmr::ToSingle(3e38), qmr::ToSingle(3e38)), std::nullopt);
}

TEST(SaleTotal, NumberAfterTheSecondCommaInHundredths) {
    EXPECT_EQ(SaleTotalText("1,2,12345"), "123.45");
    EXPECT_EQ(SaleTotalText("1,2,5,7"), " 0.05");
    EXPECT_EQ(SaleTotalText("1,2,"), " 0.00");
    // Fewer than two commas: there is no total to read.
    EXPECT_EQ(SaleTotalText(""), std::nullopt);
    EXPECT_EQ(SaleTotalText("12345"), std::nullopt);
    EXPECT_EQ(SaleTotalText("1,12345"), std::nullopt);
    // Single precision holds no more than about seven digits.
    EXPECT_EQ(SaleTotalText("0,0,1234567891"), "12345679.00");
}

TEST(PaymentReplies, ChangeOrAmountDue) {
    const struct {
        const char* reply;
        std::optional<std::string> resto;
    } cases[] = {
        {"R150", "1.50"}, {"D0", "0.00"}, {"D250", std::nullopt}, {"", std::nullopt},
        {"X0", std::nullopt}, {"R", "0.00"}, {"D", "0.00"}, {"R-5", "-0.05"},
    };
    for (const auto& c : cases) EXPECT_EQ(PaymentChangeText(ParsePaymentReply(c.reply)), c.resto) << c.reply;
}

TEST(ReceiptTotals, ReadAtTheFixedOffsetAndNeverPastTheEnd) {
    const auto t = ParseReceiptTotals("P,1234,1000,1250");
    ASSERT_TRUE(t);
    EXPECT_EQ(t->due, 1000);
    EXPECT_EQ(t->paid, 1250);
    const auto i = ParseReceiptTotalsInt("P,1234,1250,1000");
    ASSERT_TRUE(i);
    EXPECT_EQ(i->due, 1250);
    EXPECT_EQ(i->paid, 1000);
    for (const char* shortReply : {"", "P,1", "P,1234", "P,1234,", "P,1234,10", "P,1234,10,", "P,1234,x,5"}) {
        EXPECT_EQ(ParseReceiptTotals(shortReply), std::nullopt) << shortReply;
        EXPECT_EQ(ParseReceiptTotalsInt(shortReply), std::nullopt) << shortReply;
    }
}

TEST(ReceiptTotals, DueAndPaidShownEitherWay) {
    EXPECT_EQ(AmountDueText({1000, 1250}), " 0.00");
    EXPECT_EQ(AmountDueText({1250, 1000}), " 2.50");
    EXPECT_EQ(AmountDueText({1e300, 0}), std::nullopt);
    const RefreshTexts overpaid = RefreshTextsOf({1000, 1250});
    EXPECT_EQ(overpaid.total, "0.00");
    EXPECT_EQ(overpaid.resto, "2.50");
    const RefreshTexts due = RefreshTextsOf({1250, 1000});
    EXPECT_EQ(due.total, "12.50");
    EXPECT_EQ(due.resto, "0.00");
    // Amounts far apart do not wrap around.
    const RefreshTexts far = RefreshTextsOf({2000000000, -2000000000});
    EXPECT_EQ(far.total, "20000000.00");
    EXPECT_EQ(far.resto, "0.00");
}
