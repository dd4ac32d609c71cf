// The simulated printer's reports beyond the daily one, handled without a line.
#include <gtest/gtest.h>

#include <algorithm>

#include "Commands.h"
#include "Printer.h"

namespace qmrsim {
namespace {

using Lines = std::vector<std::string>;

class SimReports : public ::testing::Test {
protected:
    SimReports() { SetUpServicedPrinter(printer); }

    Reply Send(int command, const std::string& data = "") {
        return printer.Handle({seq++, static_cast<std::uint8_t>(command), data});
    }
    static bool Raised(const Reply& r, StatusPos pos) {
        return (r.status[static_cast<std::size_t>(pos.byte)] >> pos.bit) & 1;
    }
    static bool Refused(const Reply& r) { return (r.status[0] & 0x03) != 0 || (r.status[1] & 0x03) != 0; }

    // A day's receipt of `quantity` of one article and its closure, dated by the clock.
    void Day(const char* clock, const char* sale) {
        SetClock(printer, *ParseClockText(clock));
        ASSERT_FALSE(Refused(Send(qmr::OpenFiscalReceipt, "1,4826,123,I")));
        ASSERT_FALSE(Refused(Send(qmr::SellArticle, sale)));
        Send(qmr::RegisterPayment);
        ASSERT_FALSE(Refused(Send(qmr::CloseFiscalReceipt)));
        ASSERT_FALSE(Refused(Send(qmr::PrintDailyReport, "4826,0")));
    }
    // Three closures: BREAD 2.40 (A) on 08-03-09, MILK 0.95 (B) on 09-03-09, CHEESE 4.50 (B) on 01-04-09.
    void ThreeDays() {
        Day("08-03-09 20:00", "1*2.000");
        Day("09-03-09 20:30", "2");
        Day("01-04-09 21:15", "3");
        printer.paper.clear();
    }
    // What was printed from the line `first` to the line `last`, both included.
    Lines Printout(const std::string& first, const std::string& last) const {
        const auto from = std::find(printer.paper.begin(), printer.paper.end(), first);
        const auto to = std::find(from, printer.paper.end(), last);
        return to == printer.paper.end() ? Lines{"<not printed>"} : Lines(from, to + 1);
    }

    Printer printer;
    std::uint8_t seq = 0x20;
};

TEST_F(SimReports, TheShortReportByNumberSumsTheClosuresInItsRange) {
    ThreeDays();
    EXPECT_FALSE(Refused(Send(qmr::PrintShortReportByNumber, "4826,2,3")));
    EXPECT_EQ(Printout("FISCAL MEMORY REPORT", "FISCAL MEMORY REPORT END"),
              (Lines{"FISCAL MEMORY REPORT", "SHORT", "BY NUMBER 0002 - 0003", "SERIAL ZK000417  FM 50001234",
                     "CLOSURES 0002 - 0003  COUNT 2", "TAX A  0.00", "TAX B  5.45", "TAX C  0.00", "TAX D  0.00",
                     "TAX E  0.00", "TOTAL  5.45", "RECEIPTS 2  STORNO 0", "FISCAL MEMORY REPORT END"}));
}

TEST_F(SimReports, TheDetailedReportsListEachClosureOfTheirNumbersOrDays) {
    ThreeDays();
    // A range past the last closure prints what there is.
    EXPECT_FALSE(Refused(Send(qmr::PrintDetailedReportByNumber, "4826,1,99")));
    const Lines byNumber = Printout("FISCAL MEMORY REPORT", "FISCAL MEMORY REPORT END");
    EXPECT_EQ(std::count(byNumber.begin(), byNumber.end(), "TAX A  2.40"), 2);  // the first day, and the sum
    for (const char* line : {"DETAILED", "CLOSURE 0001  08-03-09 20:00", "CLOSURE 0003  01-04-09 21:15",
                             "CLOSURES 0001 - 0003  COUNT 3", "TOTAL  7.85", "RECEIPTS 3  STORNO 0"})
        EXPECT_NE(std::find(byNumber.begin(), byNumber.end(), line), byNumber.end()) << line;

    printer.paper.clear();
    EXPECT_FALSE(Refused(Send(qmr::PrintDetailedReportByDate, "4826,090309,310309")));
    const Lines byDate = Printout("FISCAL MEMORY REPORT", "FISCAL MEMORY REPORT END");
    EXPECT_EQ(byDate[2], "FROM 09-03-09 TO 31-03-09");
    EXPECT_NE(std::find(byDate.begin(), byDate.end(), "CLOSURE 0002  09-03-09 20:30"), byDate.end());
    EXPECT_NE(std::find(byDate.begin(), byDate.end(), "CLOSURES 0002 - 0002  COUNT 1"), byDate.end());

    printer.paper.clear();
    EXPECT_FALSE(Refused(Send(qmr::PrintShortReportByDate, "4826,080309,010409")));
    const Lines shortByDate = Printout("FISCAL MEMORY REPORT", "FISCAL MEMORY REPORT END");
    EXPECT_EQ(std::find(shortByDate.begin(), shortByDate.end(), "CLOSURE 0001  08-03-09 20:00"), shortByDate.end());
    EXPECT_NE(std::find(shortByDate.begin(), shortByDate.end(), "CLOSURES 0001 - 0003  COUNT 3"), shortByDate.end());
}

TEST_F(SimReports, TheTaxRateHistoryListsTheChangesOfItsPeriodAndTheRatesInForce) {
    SetClock(printer, *ParseClockText("15-06-08 12:30"));
    FmRecord change;
    change.kind = 'T';
    change.totals = {1800, 500, 0, 0, 2};
    ASSERT_TRUE(AppendRecord(printer, change));
    EXPECT_FALSE(Refused(Send(qmr::PrintTaxRateHistory, "4826,010104,080309")));
    EXPECT_EQ(Printout("TAX RATES HISTORY", "TAX RATES HISTORY END"),
              (Lines{"TAX RATES HISTORY", "FROM 01-01-04 TO 08-03-09", "15-06-08 12:30  DECIMALS 2",
                     "A 18.00%  B 5.00%  C 0.00%  D 0.00%", "RATES IN FORCE", "A 20.00%  B 7.00%  C 0.00%  D 0.00%",
                     "TAX RATES HISTORY END"}));
    printer.paper.clear();
    EXPECT_FALSE(Refused(Send(qmr::PrintTaxRateHistory, "4826,010109,080309")));
    EXPECT_EQ(Printout("FROM 01-01-09 TO 08-03-09", "RATES IN FORCE"),
              (Lines{"FROM 01-01-09 TO 08-03-09", "NO CHANGES IN PERIOD", "RATES IN FORCE"}));
}

TEST_F(SimReports, ArticlesReportsListProgrammedSoldAndStornoArticlesAndGroups) {
    Day("08-03-09 20:00", "1*2.000");  // BREAD, group 1
    Day("08-03-09 20:10", "5");        // COFFEE, group 4
    Send(qmr::OpenStornoReceipt, "1,4826,123,I");
    Send(qmr::SellArticle, "4*0.500");  // APPLES 1KG, group 3
    Send(qmr::RegisterPayment);
    Send(qmr::CloseFiscalReceipt);
    struct Case {
        const char* data;
        Lines printed;  // from the kind's title to the total
    };
    const Case cases[] = {
        {"4826,P2,3",
         {"PROGRAMMED ARTICLES", "PLU 2 - 3", "PLU 000002  MILK 1L", "  TAX \xC1  GROUP 1  0.95", "PLU 000003  CHEESE",
          "  TAX \xC1  GROUP 2  4.50", "ARTICLES 2"}},
        {"4826,S",
         {"SOLD ARTICLES", "PLU 1 - 999999999", "PLU 000001  BREAD", "  2.000  2.40", "PLU 000005  COFFEE",
          "  1.000  6.80", "TOTAL  9.20"}},
        {"4826,S2,4", {"SOLD ARTICLES", "PLU 2 - 4", "NO ARTICLES", "TOTAL  0.00"}},
        {"4826,S#",
         {"SOLD ARTICLES STORNO", "PLU 1 - 999999999", "PLU 000004  APPLES 1KG", "  0.500  1.15", "TOTAL  1.15"}},
        {"4826,G", {"SALES BY GROUP", "GROUP 01  2.40", "GROUP 04  6.80", "TOTAL  9.20"}},
        {"4826,G#", {"STORNO BY GROUP", "GROUP 03  1.15", "TOTAL  1.15"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.data);
        printer.paper.clear();
        EXPECT_FALSE(Refused(Send(qmr::PrintArticlesReport, c.data)));
        EXPECT_EQ(Printout(c.printed.front(), c.printed.back()), c.printed);
        EXPECT_EQ(printer.paper.back(), "ARTICLES REPORT END");
    }
    printer.paper.clear();
    Send(qmr::PrintArticlesReport, "4826,P");  // every article: a title, the range, two lines each, the count
    EXPECT_EQ(Printout("PROGRAMMED ARTICLES", "ARTICLES 5").size(), 13u);
}

TEST_F(SimReports, BadDataIsRefusedWithTheBitsAPrinterRaisesAndPrintsNothing) {
    ThreeDays();
    struct Case {
        int command;
        const char* data;
        StatusPos bit;
    };
    const Case cases[] = {
        {qmr::PrintShortReportByNumber, "4826,1", st::SyntaxError},
        {qmr::PrintShortReportByNumber, "4826,a,2", st::SyntaxError},
        {qmr::PrintShortReportByNumber, "4826,0,2", st::SyntaxError},
        {qmr::PrintDetailedReportByNumber, "4826,3,1", st::SyntaxError},
        {qmr::PrintDetailedReportByNumber, "4826,1,123456", st::SyntaxError},
        {qmr::PrintShortReportByNumber, "1111,1,3", st::NotPermitted},
        {qmr::PrintShortReportByNumber, "4826,4,20", st::NotPermitted},  // no closure there
        {qmr::PrintShortReportByDate, "4826,320109,080309", st::SyntaxError},
        {qmr::PrintShortReportByDate, "4826,290209,080309", st::SyntaxError},
        {qmr::PrintDetailedReportByDate, "4826,080309,010104", st::SyntaxError},
        {qmr::PrintDetailedReportByDate, "4826,0101,080309", st::SyntaxError},
        {qmr::PrintShortReportByDate, "4826,abcdef,080309", st::SyntaxError},
        {qmr::PrintShortReportByDate, ",010104,080309", st::NotPermitted},
        {qmr::PrintShortReportByDate, "4826,010104,311204", st::NotPermitted},
        {qmr::PrintTaxRateHistory, "4826,010104", st::SyntaxError},
        {qmr::PrintTaxRateHistory, "", st::SyntaxError},
        {qmr::PrintTaxRateHistory, "1,010104,080309", st::NotPermitted},
        {qmr::PrintArticlesReport, "4826", st::SyntaxError},
        {qmr::PrintArticlesReport, "4826,X", st::SyntaxError},
        {qmr::PrintArticlesReport, "4826,G1,5", st::SyntaxError},
        {qmr::PrintArticlesReport, "4826,P5", st::SyntaxError},
        {qmr::PrintArticlesReport, "4826,P5,1", st::SyntaxError},
        {qmr::PrintArticlesReport, "4826,S0,5", st::SyntaxError},
        {qmr::PrintArticlesReport, "4826,S#1,1234567890", st::SyntaxError},
        {qmr::PrintArticlesReport, ",P", st::NotPermitted},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.data);
        const Reply r = Send(c.command, c.data);
        EXPECT_TRUE(Raised(r, c.bit));
        EXPECT_TRUE(printer.paper.empty());
    }
    // No report while a receipt is open.
    Send(qmr::OpenFiscalReceipt, "1,4826,123,I");
    printer.paper.clear();
    for (const auto& [command, data] :
         {std::pair{qmr::PrintShortReportByNumber, "4826,1,3"},
          std::pair{qmr::PrintTaxRateHistory, "4826,010104,080309"}, std::pair{qmr::PrintArticlesReport, "4826,P"}})
        EXPECT_TRUE(Raised(Send(command, data), st::NotPermitted)) << data;
    EXPECT_TRUE(printer.paper.empty());
}

}  // namespace
}  // namespace qmrsim
