// The self-test, the cutter test and the digit-text receipt, reached by their
// keys on the main window, against the simulated printer.
#include <QDir>
#include <QFileInfo>
#include <QMetaObject>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <map>
#include <set>

#include "FillTexts.h"
#include "SelfTest.h"
#include "TFillFM.h"
#include "TMemForm.h"
#include "VextoraFixture.h"

namespace vextora {
namespace {

using qmr::CloseFiscalReceipt;
using qmr::CutPaper;
using qmr::OpenFiscalReceipt;
using qmr::OpenStornoReceipt;
using qmr::PrintArticlesReport;
using qmr::PrintDailyReport;
using qmr::PrintOperatorsReport;
using qmr::ProgramArticles;
using qmr::ReadStatus;
using qmr::ReadTaxRates;
using qmr::RegisterPayment;
using qmr::SellArticle;
using qmr::SendProgressText;
using qmr::SetTestSwitch;

class SelfTestRun : public VextoraWindow {
protected:
    void SetUp() override {
        VextoraWindow::SetUp();
        FixedRandomSeed = 4711;
        WithPrinter([](qmrsim::Printer& p) {
            p.identification.taxRates = {2000, 900, 0, 0};
            p.receipts.articles[7] = qmrsim::Article{7, '\xC4', 3, 1999, "SOAP"};
            // Whichever helper answers the reports, these tests judge only that they are asked for.
            p.SetReplyData(PrintOperatorsReport, "");
            p.SetReplyData(PrintArticlesReport, "");
        });
        SelfTestLogPathForTests = files.filePath("data/QMR770/selftest.log");
        Connect();
        sim.ClearRequests();
    }
    void TearDown() override {
        sim.SetObserver(nullptr);
        FixedRandomSeed.reset();
        SelfTestLogPathForTests.clear();
        VextoraWindow::TearDown();
    }
    // Clicks Cancel on the window thread once the printer has shown the
    // progress of the n-th receipt.
    void CancelAfterReceipt(int n) {
        const std::string progress = ProgressText(n);
        sim.SetObserver([progress](const qmrsim::ReceivedRequest& r, const qmrsim::Reply&, const qmrsim::Printer&) {
            if (r.cmd == SendProgressText && r.data == progress)
                QMetaObject::invokeMethod(Form1->CancelBt, "click", Qt::QueuedConnection);
        });
    }
    void RunSelfTest() { emit Form1->TestSKey->activated(); }
    std::string Log() { return ReadFile(SelfTestLogPath()).toStdString(); }
    std::map<int, qmrsim::Article> Articles() {
        return sim.WithPrinter([](qmrsim::Printer& p) { return p.receipts.articles; });
    }
};

std::string Money(long long v) {
    char text[40];
    std::snprintf(text, sizeof text, " %13lld.%02lld", v / 100, v % 100);
    return text;
}

// The log as the requests the printer received make it, worked out here with
// the whole-number rates 20 and 9 and the figures of the sales sent.
std::string ExpectedLog(const std::vector<Sent>& sent, const std::map<int, qmrsim::Article>& articles) {
    const long long rates[5] = {20, 9, 0, 0, 0};
    long long fiscal[5] = {}, fiscalVat[5] = {}, storno[5] = {}, stornoVat[5] = {};
    std::map<int, std::array<long long, 6>> ops;  // receipts, sales, amount, storno receipts, storno amount
    std::map<int, std::pair<long long, long long>> plus;  // amount, quantity
    std::string log;
    for (std::size_t i = 0; i < sent.size(); ++i) {
        const bool isStorno = sent[i].first == OpenStornoReceipt;
        if (!isStorno && sent[i].first != OpenFiscalReceipt) continue;
        const int op = std::stoi(sent[i].second);
        ++ops[op][isStorno ? 3 : 0];
        long long group[5] = {};
        for (++i; i < sent.size() && sent[i].first == SellArticle; ++i) {
            int plu = 0;
            long long units = 0, thousandths = 0;
            std::sscanf(sent[i].second.c_str(), "%d*%lld.%lld", &plu, &units, &thousandths);
            const long long q = units * 1000 + thousandths;
            const qmrsim::Article& a = articles.at(plu);
            const long long amount = (q * a.price + 500) / 1000;
            group[static_cast<unsigned char>(a.taxLetter) - 0xC0] += amount;
            if (isStorno) {
                ops[op][4] += amount;
            } else {
                ++ops[op][1];
                ops[op][2] += amount;
                plus[plu].first += amount;
                plus[plu].second += q;
            }
        }
        --i;
        for (int g = 0; g < 5; ++g) {
            const long long p = group[g] * rates[g], d = 100 + rates[g];
            const long long vat = p / d + (2 * (p % d) >= d ? 1 : 0);
            (isStorno ? storno : fiscal)[g] += group[g];
            (isStorno ? stornoVat : fiscalVat)[g] += vat;
            log += Money(group[g]);
        }
        log += "\r\n";
    }
    const auto five = [](const long long* v) {
        std::string line;
        for (int g = 0; g < 5; ++g) line += Money(v[g]);
        return line + "\r\n";
    };
    log += "Grand Totals:\r\n" + five(fiscal) + "VAT:\r\n" + five(fiscalVat) + "Grand Totals (Storno):\r\n" +
           five(storno) + "VAT (Storno):\r\n" + five(stornoVat) + "\r\n";
    for (int op = 1; op <= 13; ++op) {
        const auto o = ops[op];
        char line[200];
        std::snprintf(line, sizeof line, "Operator %02d:  %5lld %5lld  %13lld.%02lld %5d  %13d.%02d %5lld  %13lld.%02lld\r\n",
                      op, o[0], o[1], o[2] / 100, o[2] % 100, 0, 0, 0, o[3], o[4] / 100, o[4] % 100);
        log += line;
    }
    log += "\r\n";
    for (const auto& [plu, a] : articles) {
        const auto [amount, quantity] = plus[plu];
        char line[120];
        std::snprintf(line, sizeof line, "PLU %05d:  %13lld.%02lld%12lld.%03lld\r\n", plu, amount / 100, amount % 100,
                      quantity / 1000, quantity % 1000);
        log += line;
    }
    return log;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    for (std::size_t from = 0; from < text.size();) {
        const std::size_t end = text.find("\r\n", from);
        lines.push_back(text.substr(from, end == std::string::npos ? std::string::npos : end - from));
        if (end == std::string::npos) break;
        from = end + 2;
    }
    return lines;
}

TEST_F(SelfTestRun, ACancelledRunLogsEveryReceiptMadeAndStillAsksForTheReports) {
    // Its first receipts hold a storno receipt, operator 13 and a quantity of 0.001.
    FixedRandomSeed = 6985;
    CancelAfterReceipt(3);
    RunSelfTest();
    const auto sent = TakeRequests();
    // Status, rates, the seven articles, the switch on.
    std::vector<Sent> head{{ReadStatus, ""}, {ReadTaxRates, ""}, {ProgramArticles, "F"}};
    for (int i = 0; i < 7; ++i) head.push_back({ProgramArticles, "N"});
    head.push_back({SetTestSwitch, "1"});
    ASSERT_GT(sent.size(), head.size());
    EXPECT_TRUE(std::equal(head.begin(), head.end(), sent.begin()));
    // The receipt under way when Cancel came is finished and closed, then the reports.
    const std::vector<Sent> tail{{SetTestSwitch, "0"},
                                 {PrintOperatorsReport, "4826"},
                                 {PrintArticlesReport, "4826,S"},
                                 {PrintDailyReport, "4826"}};
    EXPECT_TRUE(std::equal(tail.begin(), tail.end(), sent.end() - 4));
    const auto closes = std::count(sent.begin(), sent.end(), Sent{CloseFiscalReceipt, ""});
    EXPECT_TRUE(closes == 3 || closes == 4) << closes;
    EXPECT_EQ(std::count(sent.begin(), sent.end(), Sent{RegisterPayment, "\tC"}), closes);
    std::set<int> operators;
    std::set<long long> quantities;
    for (const auto& [cmd, data] : sent)
        if (cmd == OpenFiscalReceipt || cmd == OpenStornoReceipt) {
            EXPECT_EQ(data.substr(data.find(',')), ",4826,123,I");
            operators.insert(std::stoi(data));
        } else if (long long units = 0, thousandths = 0;
                   cmd == SellArticle && std::sscanf(data.c_str(), "%*d*%lld.%lld", &units, &thousandths) == 2) {
            quantities.insert(units * 1000 + thousandths);
        }
    EXPECT_EQ(std::count_if(sent.begin(), sent.end(), [](const Sent& s) { return s.first == OpenStornoReceipt; }), 1);
    ASSERT_FALSE(operators.empty());
    EXPECT_GE(*operators.begin(), 1);
    EXPECT_EQ(*operators.rbegin(), 13);
    ASSERT_FALSE(quantities.empty());
    EXPECT_EQ(*quantities.begin(), 1);
    EXPECT_LE(*quantities.rbegin(), 9999);

    const auto expected = Lines(ExpectedLog(sent, Articles()));
    const auto log = Lines(Log());
    ASSERT_EQ(log.size(), expected.size());
    for (std::size_t i = 0; i < log.size(); ++i) EXPECT_EQ(log[i], expected[i]) << "line " << i + 1;
    EXPECT_EQ(Log().substr(Log().size() - 2), "\r\n");
    EXPECT_FALSE(Form1->CancelBt->isEnabled());
    EXPECT_FALSE(sim.WithPrinter([](qmrsim::Printer& p) { return p.testAids.testMode; }));
}

// What follows the first request of a command, once the printer refused it,
// Cancel was clicked while it was answered, or the stop flag of an earlier
// flow was still set as the run started.
struct StopCase {
    const char* name;
    int command;
    enum { Refused, Cancelled, LeftSet } stop;
    std::vector<int> next;  // OpenAny for either kind of receipt
};
constexpr int OpenAny = -2;

class SelfTestStops : public SelfTestRun, public ::testing::WithParamInterface<StopCase> {};

TEST_P(SelfTestStops, EndTheSalesOrTheReceiptsOrNothing) {
    const StopCase& c = GetParam();
    if (c.stop == StopCase::LeftSet) StopFlag = true;  // as a cancelled article read leaves it
    if (c.stop == StopCase::Refused) {
        WithPrinter([&c](qmrsim::Printer& p) {
            p.SetHandler(c.command, [inner = p.HandlerOf(c.command), done = false](
                                        qmrsim::Printer& q, const qmrsim::Request& r) mutable {
                if (std::exchange(done, true)) return inner(q, r);
                if (r.cmd == RegisterPayment) {
                    // No receipt stays open, so the reports that end the run are taken.
                    q.receipts.receipt = qmrsim::Receipt{};
                    q.SetStatusBit(qmrsim::st::FiscalReceiptOpen, false);
                }
                q.Fail(qmrsim::st::NotPermitted);
                return std::string();
            });
        });
        script.OnNextModal([](QDialog& form) { EXPECT_EQ(form.objectName(), "StatusDlg"); });
    }
    // Cancel also after the second receipt, whatever the case, to keep the run short.
    sim.SetObserver([&c, last = ProgressText(2), seen = false](const qmrsim::ReceivedRequest& r, const qmrsim::Reply&,
                                                               const qmrsim::Printer&) mutable {
        if ((c.stop == StopCase::Cancelled && r.cmd == c.command && !std::exchange(seen, true)) ||
            (r.cmd == SendProgressText && r.data == last))
            QMetaObject::invokeMethod(Form1->CancelBt, "click", Qt::QueuedConnection);
    });
    RunSelfTest();
    const auto sent = TakeRequests();
    const auto at = std::find_if(sent.begin(), sent.end(), [&c](const Sent& s) { return s.first == c.command; });
    ASSERT_NE(at, sent.end());
    std::vector<int> next;
    for (auto it = at + 1; it != sent.end() && next.size() < c.next.size(); ++it)
        next.push_back(it->first == OpenFiscalReceipt || it->first == OpenStornoReceipt ? OpenAny : it->first);
    EXPECT_EQ(next, c.next);
}

INSTANTIATE_TEST_SUITE_P(
    Receipts, SelfTestStops,
    ::testing::Values(
        StopCase{"ARefusedSaleEndsOnlyItsReceiptsSales", SellArticle, StopCase::Refused,
                 {RegisterPayment, CloseFiscalReceipt, SendProgressText, OpenAny}},
        StopCase{"ARefusedPaymentEndsTheReceipts", RegisterPayment, StopCase::Refused,
                 {SetTestSwitch, PrintOperatorsReport, PrintArticlesReport, PrintDailyReport}},
        StopCase{"CancelDuringASaleEndsTheSalesAndThenTheReceipts", SellArticle, StopCase::Cancelled,
                 {RegisterPayment, CloseFiscalReceipt, SendProgressText, SetTestSwitch}},
        StopCase{"AStopLeftFromAnEarlierFlowIsForgottenAsTheRunStarts", SetTestSwitch, StopCase::LeftSet, {OpenAny}}),
    [](const ::testing::TestParamInfo<StopCase>& info) { return std::string(info.param.name); });

TEST_F(SelfTestRun, ASecondStartDuringARunStartsNothingAndCancelStillStopsTheRun) {
    Form1->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form1));
    bool cancelAfterKey = false;
    // Ctrl+Shift+S once the first receipt is done, between two exchanges as
    // a user's key comes; Cancel after the second receipt.
    const auto press = [&cancelAfterKey] {
        qmr::AfterExchange([&cancelAfterKey] {
            QTest::keyClick(Form1, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
            cancelAfterKey = Form1->CancelBt->isEnabled();
        });
    };
    sim.SetObserver([press, first = ProgressText(1), second = ProgressText(2), pressed = false](
                        const qmrsim::ReceivedRequest& r, const qmrsim::Reply&, const qmrsim::Printer&) mutable {
        if (r.cmd == SendProgressText && r.data == first && !std::exchange(pressed, true))
            QMetaObject::invokeMethod(qApp, press, Qt::QueuedConnection);
        if (r.cmd == SendProgressText && r.data == second)
            QMetaObject::invokeMethod(Form1->CancelBt, "click", Qt::QueuedConnection);
    });
    RunSelfTest();
    EXPECT_TRUE(cancelAfterKey);
    const auto sent = TakeRequests();
    const auto count = [&sent](const Sent& s) { return std::count(sent.begin(), sent.end(), s); };
    EXPECT_EQ(count({ReadStatus, ""}), 1);
    EXPECT_EQ(count({SetTestSwitch, "1"}), 1);
    EXPECT_EQ(count({PrintDailyReport, "4826"}), 1);
    const auto progress = std::count_if(sent.begin(), sent.end(), [](const Sent& s) { return s.first == SendProgressText; });
    EXPECT_TRUE(progress == 2 || progress == 3) << progress;
    EXPECT_EQ(Log(), ExpectedLog(sent, Articles()));
    EXPECT_FALSE(Form1->CancelBt->isEnabled());
}

TEST_F(SelfTestRun, AFailedOpeningEndsTheReceiptsButCountsForItsOperator) {
    WithPrinter([](qmrsim::Printer& p) {
        for (const int cmd : {OpenFiscalReceipt, OpenStornoReceipt})
            p.SetHandler(cmd, [](qmrsim::Printer& q, const qmrsim::Request&) {
                q.Fail(qmrsim::st::NotPermitted);
                return std::string();
            });
    });
    script.OnNextModal([](QDialog& form) { EXPECT_EQ(form.objectName(), "StatusDlg"); });
    RunSelfTest();
    const auto sent = TakeRequests();
    EXPECT_EQ(std::count_if(sent.begin(), sent.end(),
                            [](const Sent& s) { return s.first == OpenFiscalReceipt || s.first == OpenStornoReceipt; }),
              1);
    EXPECT_EQ(std::count_if(sent.begin(), sent.end(), [](const Sent& s) { return s.first == SellArticle; }), 0);
    const auto log = Lines(Log());
    ASSERT_GT(log.size(), 12u);
    EXPECT_EQ(log[0], "Grand Totals:");
    long long receipts = 0;
    for (const auto& line : log)
        if (long long fiscal = 0, storno = 0;
            std::sscanf(line.c_str(), "Operator %*d: %lld %*d %*s %*d %*s %lld", &fiscal, &storno) == 2)
            receipts += fiscal + storno;
    EXPECT_EQ(receipts, 1);
    EXPECT_EQ(sent.back(), (Sent{PrintDailyReport, "4826"}));
}

TEST_F(SelfTestRun, AnArticleOfAForeignTaxLetterIsLeftOutAndTheLogSaysSo) {
    WithPrinter([](qmrsim::Printer& p) { p.receipts.articles[9] = qmrsim::Article{9, 'A', 1, 100, "ODD"}; });
    CancelAfterReceipt(1);
    RunSelfTest();
    const auto sent = TakeRequests();
    for (const auto& [cmd, data] : sent)
        if (cmd == SellArticle) {
            EXPECT_NE(data.substr(0, 2), "9*");
        }
    const auto log = Lines(Log());
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log[0], "PLU 00009 left out: tax letter 0x41 is none of the five");
    EXPECT_EQ(std::count_if(log.begin(), log.end(), [](const std::string& l) { return l.rfind("PLU 00009:", 0) == 0; }),
              0);
}

TEST_F(SelfTestRun, ALogThatCannotBeMadeIsReportedAndTheTestSwitchGoesOff) {
    const QString folder = QFileInfo(SelfTestLogPath()).absolutePath();
    QDir().mkpath(QFileInfo(folder).absolutePath());
    QFile blocker(folder);  // a file where the folder should be
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    RunSelfTest();
    EXPECT_EQ(script.MessageTexts(), (std::vector<QString>{"Can't write the self-test log " + SelfTestLogPath()}));
    const auto sent = TakeRequests();
    EXPECT_EQ(sent.back(), (Sent{SetTestSwitch, "0"}));
    EXPECT_EQ(*(sent.end() - 2), (Sent{SetTestSwitch, "1"}));
    EXPECT_FALSE(Form1->CancelBt->isEnabled());
}

TEST_F(SelfTestRun, NoArticleOrAFailedProbeEndsBeforeAnythingIsSwitchedOrLogged) {
    WithPrinter([](qmrsim::Printer& p) { p.receipts.articles.clear(); });
    RunSelfTest();
    EXPECT_EQ(TakeRequests(), (std::vector<Sent>{{ReadStatus, ""}, {ReadTaxRates, ""}, {ProgramArticles, "F"}}));
    EXPECT_FALSE(QFile::exists(SelfTestLogPath()));
    EXPECT_FALSE(Form1->CancelBt->isEnabled());
}

TEST_F(SelfTestRun, TheCutterRepeatsWhileItCutsAtMostFiveHundredTimes) {
    struct Case {
        int cutsLeft;
        std::size_t requests;
        const char* caption;
        const char* text;
    };
    for (const Case c : {Case{0, 1, "Count 0", "E"}, Case{3, 4, "Count 3", "E"}, Case{-1, 500, "Count 500", "P"}}) {
        WithPrinter([&c](qmrsim::Printer& p) { p.testAids.cutsLeft = c.cutsLeft; });
        script.messages.clear();
        emit Form1->CutterKey->activated();
        const auto sent = TakeRequests();
        EXPECT_EQ(sent.size(), c.requests) << c.caption;
        EXPECT_TRUE(std::all_of(sent.begin(), sent.end(), [](const Sent& s) { return s == Sent{CutPaper, ""}; }));
        ASSERT_EQ(script.messages.size(), 1u) << c.caption;
        EXPECT_EQ(script.messages[0].caption, c.caption);
        EXPECT_EQ(script.messages[0].text, c.text);
    }
}

TEST_F(SelfTestRun, TheDigitTestIsAFixedReceiptAndTwentyGrowingDigitTexts) {
    WithPrinter([](qmrsim::Printer& p) { p.receipts.operatorPasswords[0] = "735194"; });
    emit Form1->Button1Key->activated();
    std::vector<Sent> expected{{OpenFiscalReceipt, "1,735194,123"}, {RegisterPayment, "\t0"}, {CloseFiscalReceipt, ""}};
    for (const char* digits : {"0", "01", "012", "0123", "01234", "012345", "0123456", "01234567", "012345678",
                               "0123456789", "01234567890", "012345678901", "0123456789012", "01234567890123",
                               "012345678901234", "0123456789012345", "01234567890123456", "012345678901234567",
                               "0123456789012345678", "01234567890123456789"})
        expected.push_back({qmr::SendDigitText, digits});
    EXPECT_EQ(TakeRequests(), expected);
}

TEST_F(SelfTestRun, EachRoutineHasItsKeyOnTheMainWindow) {
    Form1->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form1));
    WithPrinter([](qmrsim::Printer& p) {
        p.testAids.cutsLeft = 0;
        p.receipts.articles.clear();
    });
    QTest::keyClick(Form1, Qt::Key_K, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(TakeRequests(), (std::vector<Sent>{{CutPaper, ""}}));
    EXPECT_EQ(script.MessageTexts(), (std::vector<QString>{"E"}));
    QTest::keyClick(Form1, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(TakeRequests(), (std::vector<Sent>{{ReadStatus, ""}, {ReadTaxRates, ""}, {ProgramArticles, "F"}}));
    script.OnNextModal([](QDialog&) {});  // the fixed receipt's refused opening
    script.OnNextModal([](QDialog&) {});  // its payment
    script.OnNextModal([](QDialog&) {});  // its closing
    QTest::keyClick(Form1, Qt::Key_D, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(TakeRequests().size(), 23u);
}

// Every other long flow, started by its own control while a self-test runs,
// starts nothing: the first commands it would send never go out, and the
// self-test runs on to its reports.
struct NestedStart {
    const char* name;
    std::function<void()> start;
    std::vector<int> firstCommands;
};

class FlowsDuringASelfTest : public SelfTestRun, public ::testing::WithParamInterface<NestedStart> {};

TEST_P(FlowsDuringASelfTest, StartNothing) {
    const auto start = GetParam().start;
    sim.SetObserver([start, first = ProgressText(1), second = ProgressText(2), started = false](
                        const qmrsim::ReceivedRequest& r, const qmrsim::Reply&, const qmrsim::Printer&) mutable {
        if (r.cmd == SendProgressText && r.data == first && !std::exchange(started, true))
            QMetaObject::invokeMethod(qApp, [start] { qmr::AfterExchange(start); }, Qt::QueuedConnection);
        if (r.cmd == SendProgressText && r.data == second)
            QMetaObject::invokeMethod(Form1->CancelBt, "click", Qt::QueuedConnection);
    });
    RunSelfTest();
    const auto sent = TakeRequests();
    const auto sentOf = [&sent](int cmd) {
        return std::count_if(sent.begin(), sent.end(), [cmd](const Sent& s) { return s.first == cmd; });
    };
    EXPECT_EQ(sentOf(qmr::ReadStatus), 1);  // the self-test's own
    EXPECT_EQ(std::count(sent.begin(), sent.end(), Sent{ProgramArticles, "F"}), 1);
    for (const int cmd : GetParam().firstCommands) EXPECT_EQ(sentOf(cmd), 0) << cmd;
    EXPECT_EQ(std::count(sent.begin(), sent.end(), Sent{PrintDailyReport, "4826"}), 1);
    EXPECT_EQ(Log(), ExpectedLog(sent, Articles()));
}

INSTANTIATE_TEST_SUITE_P(
    Flows, FlowsDuringASelfTest,
    ::testing::Values(
        NestedStart{"ArticleRead", [] { Form1->ReadfromPrinter1->trigger(); }, {}},
        // The send would ask for the service password first: an unscripted dialog fails the test.
        NestedStart{"ArticleSend", [] { Form1->StoreM->trigger(); }, {}},
        NestedStart{"Cutter", [] { emit Form1->CutterKey->activated(); }, {CutPaper}},
        NestedStart{"Digits", [] { emit Form1->Button1Key->activated(); }, {qmr::SendDigitText}},
        NestedStart{"Dump", [] { MemForm->ReadBt->click(); }, {qmr::ReadFiscalMemoryBlock, qmr::ReadFirmwareBlock}},
        NestedStart{"FillSeries", [] { FillFM->GoBt->click(); }, {qmr::PerformReset}}),
    [](const ::testing::TestParamInfo<NestedStart>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vextora
