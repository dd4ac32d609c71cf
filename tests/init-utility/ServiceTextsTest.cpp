// The texts of the recovery, the operators, the clock and the test receipts.
#include <gtest/gtest.h>

#include "ReportTexts.h"
#include "ServiceTexts.h"

namespace prendix {
namespace {

TEST(ReceiptAmounts, AreReadAfterTheSecondCommaAndPaidAsTheRest) {
    struct Case {
        const char* reply;
        long long due, paid;
        const char* payment;
    };
    const Case cases[] = {
        {"1,0002,1050,1000", 1050, 1000, "\t0.50"},
        {"1,0002,1000,1050", 1000, 1050, "\t-0.50"},  // more paid than due
        {"1,0002,810,0", 810, 0, "\t8.10"},
        {"1,0002", 0, 0, "\t0.00"},                   // fewer than two commas
        {"", 0, 0, "\t0.00"},
        {"1,2,x,5", 0, 0, "\t0.00"},                  // no due amount: the paid one is not read
        {"1,2,700", 700, 0, "\t7.00"},
        {"1,2,700;5", 700, 0, "\t7.00"},
        {"1,2, 700, 50", 700, 50, "\t6.50"},          // leading blanks before a number are skipped
        {"1,2,-20,0", -20, 0, "\t-0.20"},
        {"1,2,99999999999,0", 2147483647, 0, "\t21474836.47"},  // held at the 32-bit end
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reply);
        const ReceiptAmounts amounts = ParseReceiptAmounts(c.reply);
        EXPECT_EQ(amounts.due, c.due);
        EXPECT_EQ(amounts.paid, c.paid);
        EXPECT_EQ(RestPaymentText(amounts), c.payment);
    }
}

TEST(OperatorText, JoinsNumberAndFieldsWithCommasAsTyped) {
    EXPECT_EQ(OperatorText(15, "4826", "ANNA"), "15,4826,ANNA");
    EXPECT_EQ(OperatorText(1, "", ""), "1,,");
    EXPECT_EQ(OperatorText(3, "", "BOB"), "3,,BOB");
    EXPECT_EQ(OperatorText(2, "1,2", "A,B"), "2,1,2,A,B");
}

TEST(ClockTexts, ShowTwoDigitsEachAndTheYearModulo100) {
    EXPECT_EQ(DateText(3, 3, 2025), "03-03-25");
    EXPECT_EQ(TimeText({3, 3, 2025, 9, 5, 7}), "09:05:07");
    EXPECT_EQ(DateText(31, 12, 2000), "31-12-00");
    EXPECT_EQ(TimeText({31, 12, 2000, 23, 59, 59}), "23:59:59");
    EXPECT_EQ(DateText(1, 1, 2109), "01-01-09");
}

TEST(ClockReply, IsSplitAtItsFirstBlank) {
    struct Case {
        const char* reply;
        const char* date;
        const char* time;
    };
    const Case cases[] = {
        {"03-03-25 09:05:07", "03-03-25", "09:05:07"},
        {"03-03-25", "03-03-25", ""},
        {"03-03-25 09:05 extra", "03-03-25", "09:05 extra"},
        {" 09:05", "", "09:05"},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        const ClockFields fields = SplitClockReply(c.reply);
        EXPECT_EQ(fields.date, c.date) << c.reply;
        EXPECT_EQ(fields.time, c.time) << c.reply;
    }
}

TEST(TestReceiptTexts, AlternateTheGroupsAndVoidEachGroupsSales) {
    EXPECT_EQ(TestSaleText(1), "TEST 1\tA0.01");
    EXPECT_EQ(TestSaleText(2), "TEST 2\tB0.01");
    EXPECT_EQ(TestSaleText(100), "TEST 100\tB0.01");
    EXPECT_EQ(VoidGroupAText(3), "VOID GR. A\tA-0.03");
    EXPECT_EQ(VoidGroupBText(1), "VOID GR B\tB-0.01");
    EXPECT_EQ(VoidGroupAText(50), "VOID GR. A\tA-0.50");
}

}  // namespace
}  // namespace prendix
