// The self-test's arithmetic and log lines, and the fill series' texts.
#include <gtest/gtest.h>

#include <set>

#include "SelfTest.h"

namespace vextora {
namespace {

TEST(SelfTestAmounts, SalesRoundHalfUpToHundredths) {
    struct Case {
        long long thousandths, price, amount;
    };
    for (const Case c : {Case{1, 500, 1}, Case{1, 499, 0}, Case{3045, 250, 761}, Case{1000, 250, 250},
                         Case{9999, 99'999'999'999, 999'899'999'990}})
        EXPECT_EQ(SaleAmount(c.thousandths, c.price), c.amount) << c.thousandths << " x " << c.price;
}

TEST(SelfTestAmounts, VatHeldInAGrossAmountRoundsHalfUp) {
    struct Case {
        long long gross, rate, vat;
    };
    // Rates in hundredths of a percent: 20% is 2000.
    for (const Case c : {Case{100, 2000, 17}, Case{3, 2000, 1}, Case{120, 2000, 20}, Case{100, 0, 0},
                         Case{10750, 750, 750}, Case{1000, 750, 70}, Case{0, 2000, 0}})
        EXPECT_EQ(ContainedVat(c.gross, c.rate), c.vat) << c.gross << " at " << c.rate;
    // A whole run's largest group sum at an odd rate passes 64 bits in the product only.
    EXPECT_EQ(ContainedVat(400'000'000'000'000'000LL, 2000), 66'666'666'666'666'667LL);
}

TEST(SelfTestReplies, PricesAndRatesAreReadInHundredthsWhateverTheirDecimals) {
    struct Case {
        const char* text;
        long long hundredths;
    };
    for (const Case c : {Case{"2.50", 250}, Case{"2.5", 250}, Case{"2", 200}, Case{"0.05", 5}, Case{"7.505", 751},
                         Case{"7.504", 750}, Case{"", 0}, Case{"abc", 0}, Case{"-1.5", -150},
                         Case{"123456789012345", 99'999'999'900}})
        EXPECT_EQ(ReadHundredths(c.text), c.hundredths) << c.text;
    EXPECT_EQ(ParseGroupRates("20.00,9.00,0.00,0.00"), (GroupAmounts{2000, 900, 0, 0, 0}));
    EXPECT_EQ(ParseGroupRates("7.50,20"), (GroupAmounts{750, 2000, 0, 0, 0}));
    EXPECT_EQ(ParseGroupRates(""), (GroupAmounts{}));
}

TEST(SelfTestReplies, AnArticleRecordGivesPluTaxGroupAndPrice) {
    const auto milk = ParseSelfTestArticle("P,12,\xC1,1,2.5,0.000,0,0,0,MILK");
    ASSERT_TRUE(milk);
    EXPECT_EQ(milk->plu, 12);
    EXPECT_EQ(milk->taxGroup, 1);
    EXPECT_EQ(milk->price, 250);
    const auto foreign = ParseSelfTestArticle("P,7,A,1,1.00,0,0,0,0,X");
    ASSERT_TRUE(foreign);
    EXPECT_EQ(foreign->taxGroup, -1);
    EXPECT_EQ(foreign->taxLetter, 'A');
    for (const char* none : {"", "F", "E,1,\xC0"}) EXPECT_FALSE(ParseSelfTestArticle(none)) << none;
    // A record cut short is still an article, with what it holds.
    const auto cut = ParseSelfTestArticle("P");
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->plu, 0);
    EXPECT_EQ(cut->taxGroup, -1);
}

TEST(SelfTestSumsTest, ArticlesOfAForeignTaxLetterNeverReachTheGroups) {
    SelfTestSums sums;
    EXPECT_TRUE(sums.Gather({12, 0xC1, 1, 250}));
    EXPECT_TRUE(sums.Gather({13, 'A', -1, 100}));
    EXPECT_EQ(sums.count, 1);
    EXPECT_EQ(PluList[0], 12);
    EXPECT_EQ(sums.LeftOutLines(), "PLU 00013 left out: tax letter 0x41 is none of the five\r\n");
    for (int i = 1; i < MaxPlus; ++i) EXPECT_TRUE(sums.Gather({100 + i, 0xC0, 0, 100}));
    EXPECT_FALSE(sums.Gather({999, 0xC0, 0, 100}));
    EXPECT_EQ(sums.count, MaxPlus);
}

TEST(SelfTestSumsTest, FiscalAndStornoSalesAddWhereTheyBelong) {
    SelfTestSums sums;
    sums.GroupRates = {2000, 900, 0, 0, 0};
    sums.Gather({12, 0xC0, 0, 500});
    sums.Gather({7, 0xC4, 4, 199});
    EXPECT_EQ(sums.AddSale(0, 200, false, 3), 100);
    EXPECT_EQ(sums.AddSale(1, 3045, false, 3), 606);
    EXPECT_EQ(sums.CloseReceipt(false),
              "             1.00             0.00             0.00             0.00             6.06\r\n");
    EXPECT_EQ(sums.FiscalGroupVat, (GroupAmounts{17, 0, 0, 0, 0}));
    sums.ReceiptGroupSum.fill(0);
    sums.AddSale(0, 6, true, 5);  // 0.03 in a storno receipt
    sums.CloseReceipt(true);
    EXPECT_EQ(sums.StornoGroupTotal, (GroupAmounts{3, 0, 0, 0, 0}));
    EXPECT_EQ(sums.StornoGroupVat, (GroupAmounts{1, 0, 0, 0, 0}));
    EXPECT_EQ(sums.PluFiscalAmount[0], 100);  // the storno sale is not the article's
    EXPECT_EQ(sums.OperStornoAmount[5], 3);
    EXPECT_EQ(sums.OperFiscalSales[3], 2);
    sums.OperFiscalReceipts[3] = 1;
    sums.OperStornoReceipts[5] = 1;

    const std::string summary = sums.SummaryLines();
    const std::string expected =
        "Grand Totals:\r\n"
        "             1.00             0.00             0.00             0.00             6.06\r\n"
        "VAT:\r\n"
        "             0.17             0.00             0.00             0.00             0.00\r\n"
        "Grand Totals (Storno):\r\n"
        "             0.03             0.00             0.00             0.00             0.00\r\n"
        "VAT (Storno):\r\n"
        "             0.01             0.00             0.00             0.00             0.00\r\n"
        "\r\n"
        "Operator 01:      0     0              0.00     0              0.00     0              0.00\r\n"
        "Operator 02:      0     0              0.00     0              0.00     0              0.00\r\n"
        "Operator 03:      1     2              7.06     0              0.00     0              0.00\r\n"
        "Operator 04:      0     0              0.00     0              0.00     0              0.00\r\n"
        "Operator 05:      0     0              0.00     0              0.00     1              0.03\r\n";
    EXPECT_EQ(summary.substr(0, expected.size()), expected);
    EXPECT_NE(summary.find("Operator 13:"), std::string::npos);
    EXPECT_EQ(summary.find("Operator 14:"), std::string::npos);
    EXPECT_NE(summary.find("\r\n\r\nPLU 00012:              1.00           0.200\r\nPLU 00007:              6.06           3.045\r\n"),
              std::string::npos);
}

TEST(SelfTestTexts, SaleProgressAndFillTexts) {
    EXPECT_EQ(SelfTestSaleData(12, 3045), "12*3.045");
    EXPECT_EQ(SelfTestSaleData(5, 1), "5*0.001");
    EXPECT_EQ(ProgressText(1), "Receipt 1 from 2000");
    EXPECT_EQ(FillSaleData(12, 9999), "12*9.999");
    EXPECT_EQ(FillSaleData(3, 10), "3*0.010");
    std::tm t{};
    t.tm_mday = 5, t.tm_mon = 0, t.tm_year = 2031 - 1900, t.tm_hour = 7, t.tm_min = 9;
    EXPECT_EQ(ResetClockData(t), "05-01-31 07:09");
    EXPECT_EQ(ArticleRecordPlu("P,42,\xC0"), 42);
    EXPECT_EQ(ArticleRecordPlu("F"), std::nullopt);
}

TEST(SelfTestTexts, TheLogLivesInTheUsersDataFolder) {
    EXPECT_TRUE(SelfTestLogPath().endsWith("/Zandrel/QMR770/selftest.log")) << SelfTestLogPath().toStdString();
}

TEST(SelfTestRandom, OneSeedGivesOneSequenceWithinRange) {
    SeedRandom(7);
    std::vector<int> first;
    for (int i = 0; i < 50; ++i) first.push_back(RandomBelow(13));
    SeedRandom(7);
    std::set<int> seen;
    for (int i = 0; i < 50; ++i) {
        const int x = RandomBelow(13);
        EXPECT_EQ(x, first[static_cast<std::size_t>(i)]);
        seen.insert(x);
    }
    EXPECT_GE(*seen.begin(), 0);
    EXPECT_LT(*seen.rbegin(), 13);
    EXPECT_GT(seen.size(), 5u);
    // Nothing is drawn for 0: the sequence goes on where it was.
    SeedRandom(7);
    EXPECT_EQ(RandomBelow(0), 0);
    EXPECT_EQ(RandomBelow(13), first[0]);
}

}  // namespace
}  // namespace vextora
