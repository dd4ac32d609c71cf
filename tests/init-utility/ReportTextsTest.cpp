#include <gtest/gtest.h>

#include "ReportTexts.h"

namespace prendix {
namespace {

TEST(ReportTexts, TodayIsWrittenWithTwoDigitsAndTheYearModulo100) {
    EXPECT_EQ(DateText(8, 3, 2009), "08-03-09");
    EXPECT_EQ(DateText(31, 12, 2000), "31-12-00");
    EXPECT_EQ(DateText(1, 1, 2104), "01-01-04");
}

TEST(ReportTexts, ADatePairTakesCharacters124578OfExactlyEightCharacterDates) {
    EXPECT_EQ(DatePair("01-01-04", "08-03-09"), "010104,080309");
    EXPECT_EQ(DatePair("01/01/04", "15.03.09"), "010104,150309");
    EXPECT_EQ(DatePair("ab#cd#ef", "12345678"), "abcdef,124578");
    for (const auto& [start, end] : {std::pair{"1-1-04", "08-03-09"}, std::pair{"01-01-04", "8-3-2009x"},
                                     std::pair{"", ""}, std::pair{"01-01-2004", "08-03-09"}})
        EXPECT_EQ(DatePair(start, end), std::nullopt) << start << " " << end;
}

TEST(ReportTexts, PasswordsLeadEveryReportsData) {
    EXPECT_EQ(DailyReportData("4826", '0'), "4826,0");
    EXPECT_EQ(DailyReportData("", '2'), ",2");
    EXPECT_EQ(NumberRangeData("4826", 1, 245), "4826,1,245");
    EXPECT_EQ(NumberRangeData("", 0, -3), ",0,-3");
    EXPECT_EQ(DateRangeData("pw", "010104,080309"), "pw,010104,080309");
}

TEST(ReportTexts, ArticleRangesArePutInOrderAndAZeroBoundDropsThem) {
    struct Case {
        ArticleKind kind;
        std::uint32_t from, to;
        const char* data;
    };
    const Case cases[] = {
        {ArticleKind::Programmed, 1, 999999999, "4826,P1,999999999"},
        {ArticleKind::Programmed, 500, 20, "4826,P20,500"},
        {ArticleKind::Programmed, 0, 20, "4826,P"},
        {ArticleKind::Sold, 20, 0, "4826,S"},
        {ArticleKind::Sold, 7, 7, "4826,S7,7"},
        // Compared as unsigned: "-5" is the largest bound.
        {ArticleKind::SoldStorno, 4294967291u, 10, "4826,S#10,4294967291"},
        {ArticleKind::ByGroup, 500, 20, "4826,G"},
        {ArticleKind::ByGroupStorno, 1, 2, "4826,G#"},
    };
    for (const Case& c : cases) EXPECT_EQ(ArticlesReportData("4826", c.kind, c.from, c.to), c.data) << c.data;
}

TEST(ReportTexts, ArticleNumbersAreReadAsUnsignedLeadingIntegers) {
    EXPECT_EQ(ReadArticleNumber(" 500abc"), 500u);
    EXPECT_EQ(ReadArticleNumber("x1"), 0u);
    EXPECT_EQ(ReadArticleNumber("-5"), 4294967291u);
}

}  // namespace
}  // namespace prendix
