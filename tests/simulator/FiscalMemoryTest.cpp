#include <gtest/gtest.h>

#include <algorithm>

#include "Commands.h"
#include "Printer.h"

namespace qmrsim {
namespace {

Reply Send(Printer& printer, int cmd, const std::string& data) {
    return printer.Handle({0x20, static_cast<std::uint8_t>(cmd), data});
}

// Syntax error, invalid command, overflow or not permitted: the bits a
// refused command carries, apart from the lasting state bits.
bool Refused(const Reply& reply) { return (reply.status[0] & 0x03) != 0 || (reply.status[1] & 0x03) != 0; }

TEST(SimClock, SetAndReadWithAndWithoutSeconds) {
    Printer printer;
    EXPECT_FALSE(Refused(Send(printer, qmr::SetDateTime, "03-03-25 09:05:07")));
    EXPECT_EQ(Send(printer, qmr::ReadDateTime, "").data.substr(0, 15), "03-03-25 09:05:");
    EXPECT_FALSE(Refused(Send(printer, qmr::SetDateTime, "31-12-00 23:59")));
    EXPECT_EQ(Send(printer, qmr::ReadDateTime, "").data.substr(0, 14), "31-12-00 23:59");
}

TEST(SimClock, MalformedOrImpossibleTimesAreRefused) {
    for (const char* text : {"", "3-3-25 09:05", "30-02-25 10:00", "01-01-25 24:00", "01-01-25 10:60", "01-01-25 10:00:",
                             "01-01-25T10:00", "aa-01-25 10:00"}) {
        Printer printer;
        EXPECT_EQ(Send(printer, qmr::SetDateTime, text).status[0], 0x80 | 0x01) << text;
    }
}

TEST(SimClock, AResetClockReportsNotSetUntilSet) {
    Printer printer;
    UnsetClock(printer);
    EXPECT_TRUE(printer.StatusBit(st::ClockNotSet));
    Send(printer, qmr::SetDateTime, "01-06-26 08:00");
    EXPECT_FALSE(printer.StatusBit(st::ClockNotSet));
}

TEST(SimFiscalMemory, RecordsRoundTripThroughTheirBytes) {
    FmRecord record;
    record.kind = 'Z';
    record.number = 513;
    record.day = 28, record.month = 2, record.year = 2031, record.hour = 23, record.minute = 7;
    record.totals = {1, 250000, 0, 99, 4294967295LL};
    record.receipts = 1234;
    record.stornoReceipts = 7;
    const auto bytes = EncodeRecord(record);
    EXPECT_EQ(bytes[0], 'Z');
    EXPECT_EQ(bytes[1], 0x02);
    EXPECT_EQ(bytes[2], 0x01);
    EXPECT_EQ(DecodeRecord(bytes.data()), record);
}

TEST(SimFiscalMemory, AZReportWritesAClosureOfTheDayAndRaisesTheLastNumber) {
    Printer printer;
    EXPECT_EQ(Send(printer, qmr::ReadLastRecordNumber, "").data, "0");
    Send(printer, qmr::OpenFiscalReceipt, "1,4826,123,I");
    Send(printer, qmr::SellArticle, "1*2.000");
    Send(printer, qmr::RegisterPayment, "");
    Send(printer, qmr::CloseFiscalReceipt, "");
    EXPECT_FALSE(Refused(Send(printer, qmr::PrintDailyReport, "4826,0")));
    EXPECT_EQ(Send(printer, qmr::ReadLastRecordNumber, "").data, "1");
    const auto records = printer.fiscalMemory.Records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].totals[0], 240);
    EXPECT_EQ(records[0].receipts, 1);
    // The X report writes nothing; the day starts anew after the closure.
    EXPECT_FALSE(Refused(Send(printer, qmr::PrintDailyReport, "4826,2")));
    EXPECT_EQ(printer.fiscalMemory.RecordCount(), 1);
    EXPECT_EQ(printer.fiscalMemory.day.receipts, 0);
    EXPECT_FALSE(Refused(Send(printer, qmr::PrintDailyReport, "4826,A")));
    EXPECT_EQ(Send(printer, qmr::ReadLastRecordNumber, "").data, "2");
    // A wrong password or an unknown type prints nothing.
    EXPECT_TRUE(Refused(Send(printer, qmr::PrintDailyReport, "1111,0")));
    EXPECT_TRUE(Refused(Send(printer, qmr::PrintDailyReport, "4826,7")));
    EXPECT_EQ(printer.fiscalMemory.RecordCount(), 2);
}

TEST(SimFiscalMemory, ANearlyFullMemoryGoesNearFullThenFullAndRefuses) {
    Printer printer;
    FillFiscalMemory(printer, FiscalMemory::NearFullRecords);
    EXPECT_FALSE(printer.StatusBit(st::FmNearFull));
    Send(printer, qmr::PrintDailyReport, "4826");
    EXPECT_TRUE(printer.StatusBit(st::FmNearFull));
    FillFiscalMemory(printer, 1);
    EXPECT_FALSE(printer.StatusBit(st::FmFull));
    EXPECT_FALSE(Refused(Send(printer, qmr::PrintDailyReport, "4826")));
    EXPECT_TRUE(printer.StatusBit(st::FmFull));
    EXPECT_TRUE(Refused(Send(printer, qmr::PrintDailyReport, "4826")));
    EXPECT_EQ(printer.fiscalMemory.FreeRecords(), 0);
}

TEST(SimFiscalMemory, BlocksOfBothMemoriesAreReadByAddress) {
    Printer printer;
    Send(printer, qmr::PrintDailyReport, "4826");
    const std::string first = Send(printer, qmr::ReadFiscalMemoryBlock, "00100,64").data;
    ASSERT_EQ(first.size(), 128u);
    EXPECT_EQ(first.substr(0, 6), "5A0001");
    EXPECT_EQ(Send(printer, qmr::ReadFiscalMemoryBlock, "4FFC0,64").data, std::string(128, 'F'));
    EXPECT_EQ(Send(printer, qmr::ReadFirmwareBlock, "1ffc0,64").data.substr(0, 28), "514D5220434F4445203146464330");
    for (const char* bad : {"50000,64", "00010,64", "0010,64", "00100,32", "0010G,64", ""}) {
        const Reply reply = Send(printer, qmr::ReadFiscalMemoryBlock, bad);
        EXPECT_EQ(reply.data, "") << bad;
        EXPECT_EQ(reply.status[0], 0x80 | 0x01) << bad;
    }
    EXPECT_TRUE(Refused(Send(printer, qmr::ReadFirmwareBlock, "20000,64")));
}

TEST(SimState, FiscalMemoryAndClockSurviveASaveAndALoad) {
    Printer printer;
    Send(printer, qmr::SetDateTime, "01-02-27 10:00");
    Send(printer, qmr::PrintDailyReport, "4826");
    printer.fiscalMemory.readOnly = true;
    printer.fiscalMemory.day.receipts = 3;
    const std::string saved = printer.SaveState();

    Printer restored;
    std::string error;
    ASSERT_TRUE(restored.LoadState(saved, error)) << error;
    EXPECT_EQ(restored.fiscalMemory.image, printer.fiscalMemory.image);
    EXPECT_EQ(restored.fiscalMemory.day.receipts, 3);
    EXPECT_TRUE(restored.StatusBit(st::FmReadOnly));
    EXPECT_EQ(ClockText(restored.clock.Now()).substr(0, 11), "01-02-27 10");
}

TEST(SimState, DamagedStatesAreRefusedWithAReason) {
    Printer printer;
    const std::string good = printer.SaveState();
    for (const std::string& text : {std::string(), std::string("hello\n"), good.substr(0, good.size() - 1),
                                    good + "[fiscal-memory]\nreadonly 2\n", good + "[clock]\n99-99-99 10:00\n"}) {
        Printer target;
        std::string error;
        EXPECT_FALSE(target.LoadState(text, error));
        EXPECT_FALSE(error.empty());
    }
}

TEST(SimState, FreeTextsEscapeEveryByte) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    const std::string line = EscapeStateText(all);
    EXPECT_EQ(line.find('\n'), std::string::npos);
    EXPECT_EQ(UnescapeStateText(line), all);
    EXPECT_FALSE(UnescapeStateText("50%4").has_value());
    EXPECT_FALSE(UnescapeStateText("%G0").has_value());
}

// Amounts and counts in a state file that no printer could have come to are
// damage, named by their section; the most a printer can come to loads.
struct StateValueCase {
    const char* name;
    const char* section;
    const char* line;
    bool loads;
};

class SimStateValues : public ::testing::TestWithParam<StateValueCase> {};

TEST_P(SimStateValues, OnlyWhatAPrinterCouldHoldLoads) {
    const StateValueCase& c = GetParam();
    Printer printer;
    std::string error;
    const bool loaded =
        printer.LoadState(std::string("qmr770-state 1\n[") + c.section + "]\n" + c.line + "\n", error);
    EXPECT_EQ(loaded, c.loads) << error;
    if (!c.loads) {
        EXPECT_EQ(error, std::string("section [") + c.section + "] cannot be read");
    }
}

// A running sum's bound: 65535 receipts of 999999999.99 each.
INSTANTIATE_TEST_SUITE_P(
    Bounds, SimStateValues,
    ::testing::Values(
        StateValueCase{"DayAtItsBounds", "fiscal-memory",
                       "day 6553499999934465 0 0 0 0 0 0 0 0 -6553499999934465 2147483647 2147483647", true},
        StateValueCase{"DayAtTheSmallest64BitValue", "fiscal-memory",
                       "day -9223372036854775808 0 0 0 0 0 0 0 0 0 0 0", false},
        StateValueCase{"DayTotalPastARunningSum", "fiscal-memory", "day 0 0 0 0 6553499999934466 0 0 0 0 0 0 0",
                       false},
        StateValueCase{"StornoTotalBelowARunningSum", "fiscal-memory",
                       "day 0 0 0 0 0 0 -6553499999934466 0 0 0 0 0", false},
        StateValueCase{"NegativeReceipts", "fiscal-memory", "day 0 0 0 0 0 0 0 0 0 0 -1 0", false},
        StateValueCase{"StornoReceiptsPastAnInt", "fiscal-memory", "day 0 0 0 0 0 0 0 0 0 0 0 2147483648", false},
        StateValueCase{"ArticleAtItsBounds", "articles",
                       "article 99999 C4 99 99999999999 -6553499999934465 6553499999934465 A", true},
        StateValueCase{"QuantityAtTheSmallest64BitValue", "articles", "article 1 C0 1 100 -9223372036854775808 0 A",
                       false},
        StateValueCase{"AmountAtTheSmallest64BitValue", "articles", "article 1 C0 1 100 0 -9223372036854775808 A",
                       false},
        StateValueCase{"AmountPastARunningSum", "articles", "article 1 C0 1 100 0 6553499999934466 A", false},
        StateValueCase{"NegativePrice", "articles", "article 1 C0 1 -1 0 0 A", false},
        StateValueCase{"PricePastWhatProgrammingTakes", "articles", "article 1 C0 1 100000000000 0 0 A", false},
        StateValueCase{"GroupZero", "articles", "article 1 C0 0 100 0 0 A", false},
        StateValueCase{"GroupPastTheLast", "articles", "article 1 C0 100 100 0 0 A", false},
        StateValueCase{"PluThatAnIntWrapsToOne", "articles", "article 4294967297 C0 1 100 0 0 A", false}),
    [](const auto& info) { return std::string(info.param.name); });

// The bounds leave room for the reports' sums: a full article table and a
// day, every sum at its most negative, print without overflow.
TEST(SimState, ReportsOfTheMostAStateHoldsAddUp) {
    Printer printer;
    std::string state = "qmr770-state 1\n[articles]\n";
    for (int plu = 1; plu <= Articles::MaxArticles; ++plu)
        state += "article " + std::to_string(plu) + " C0 1 1 -6553499999934465 -6553499999934465 A\n";
    state += "[fiscal-memory]\nday -6553499999934465 -6553499999934465 -6553499999934465 -6553499999934465 "
             "-6553499999934465 0 0 0 0 0 0 0\n";
    std::string error;
    ASSERT_TRUE(printer.LoadState(state, error)) << error;
    const auto prints = [&](int command, const std::string& data, const std::string& line) {
        printer.paper.clear();
        return !Refused(Send(printer, command, data)) &&
               std::find(printer.paper.begin(), printer.paper.end(), line) != printer.paper.end();
    };
    EXPECT_TRUE(prints(qmr::PrintArticlesReport, "4826,S", "TOTAL  -65534999999344650.00"));
    EXPECT_TRUE(prints(qmr::PrintArticlesReport, "4826,G", "TOTAL  -65534999999344650.00"));
    EXPECT_TRUE(prints(qmr::PrintDailyReport, "4826,2", "TOTAL  -327674999996723.25"));
}

}  // namespace
}  // namespace qmrsim
