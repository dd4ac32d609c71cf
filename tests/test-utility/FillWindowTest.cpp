// The fiscal memory fill series from the Service menu, against the simulated
// printer: what each cycle sends, how a series ends, and the dialog itself.
#include <QMetaObject>
#include <QTest>
#include <algorithm>

#include "FillTexts.h"
#include "TFillFM.h"
#include "TStatusDlg.h"
#include "VextoraFixture.h"

namespace vextora {
namespace {

using qmr::CloseFiscalReceipt;
using qmr::OpenFiscalReceipt;
using qmr::OpenStornoReceipt;
using qmr::PerformReset;
using qmr::PrintDailyReport;
using qmr::ProgramArticles;
using qmr::ReadStatus;
using qmr::RegisterPayment;
using qmr::SellArticle;
using qmr::SellArticleWithDisplay;
using qmr::SetDateTime;

class FillSeries : public VextoraWindow {
protected:
    void SetUp() override {
        VextoraWindow::SetUp();
        FixedRandomSeed = 20260105;
        LocalTimeNow = [] {
            std::tm t{};
            t.tm_mday = 5, t.tm_mon = 0, t.tm_year = 2031 - 1900, t.tm_hour = 7, t.tm_min = 9;
            return t;
        };
        WithPrinter([](qmrsim::Printer& p) { p.SetStatusBit(qmrsim::st::Fiscalized); });
        Connect();
        sim.ClearRequests();
    }
    void TearDown() override {
        sim.SetObserver(nullptr);
        FixedRandomSeed.reset();
        LocalTimeNow = [] {
            const std::time_t now = std::time(nullptr);
            std::tm local{};
            localtime_r(&now, &local);
            return local;
        };
        VextoraWindow::TearDown();
    }
    // Opens the dialog from the menu and runs a series of `count` cycles;
    // `before` may change the dialog first.
    void Run(QAction* menuItem, const QString& count, std::function<void()> before = {}) {
        script.OnNextModal([this, count, before](QDialog&) {
            shownHeight = FillFM->height();
            shownCount = FillFM->CntBox->text();
            shownDone = FillFM->DoneLb->text();
            FillFM->CntBox->setText(count);
            if (before) before();
            FillFM->GoBt->click();
            cancelAfter = FillFM->CancelBt->isEnabled();
        });
        menuItem->trigger();
    }
    // Does `what` on the window thread once the printer has answered the
    // n-th request of the command (1 for the first), as a user's click that
    // lands while the series runs.
    void OnRequest(int command, int n, const char* member, QObject* target) {
        auto seen = std::make_shared<int>(0);
        sim.SetObserver([=](const qmrsim::ReceivedRequest& r, const qmrsim::Reply&, const qmrsim::Printer&) {
            if (r.cmd == command && r.times == 1 && ++*seen == n)
                QMetaObject::invokeMethod(target, member, Qt::QueuedConnection);
        });
    }
    // The printer refuses the command once, as the n-th of its kind comes;
    // `when` may narrow it to some state of the printer.
    void RefuseOnce(int command, std::function<bool(const qmrsim::Printer&)> when) {
        WithPrinter([=](qmrsim::Printer& p) {
            p.SetHandler(command, [when, done = false](qmrsim::Printer& q, const qmrsim::Request&) mutable {
                if (!done && when(q)) {
                    done = true;
                    // The receipt ends all the same, so the day goes on.
                    q.receipts.receipt = qmrsim::Receipt{};
                    q.SetStatusBit(qmrsim::st::FiscalReceiptOpen, false);
                    q.Fail(qmrsim::st::NotPermitted);
                    return std::string();
                }
                q.receipts.receipt = qmrsim::Receipt{};
                q.SetStatusBit(qmrsim::st::FiscalReceiptOpen, false);
                return std::string();
            });
        });
    }
    // Scripted while the fill dialog shows, so it answers the next one.
    void ExpectStatusDialog() {
        script.OnNextModal([](QDialog& form) { EXPECT_EQ(form.objectName(), "StatusDlg"); });
    }
    static long Count(const std::vector<Sent>& sent, int command) {
        return std::count_if(sent.begin(), sent.end(), [command](const Sent& s) { return s.first == command; });
    }
    int Records(char kind) {
        return sim.WithPrinter([kind](qmrsim::Printer& p) {
            const auto records = p.fiscalMemory.Records();
            return static_cast<int>(std::count_if(records.begin(), records.end(),
                                                  [kind](const qmrsim::FmRecord& r) { return r.kind == kind; }));
        });
    }

    int shownHeight = 0;
    QString shownCount, shownDone;
    bool cancelAfter = true;
};

TEST_F(FillSeries, ResetsSendAResetAndTheClockPerCycleAndNothingElse) {
    WatchPauses();
    // A Cancel before Go is forgotten when the series starts.
    Run(Form1->ResetsM, "3", [] {
        FillFM->DispBox->setChecked(false);
        FillFM->CancelBt->click();
    });
    EXPECT_EQ(script.modals.back().caption, "Make Resets");
    EXPECT_EQ(shownHeight, 100);  // the display box lies below the client area
    EXPECT_EQ(shownCount, "1");
    EXPECT_EQ(shownDone, "");
    std::vector<Sent> expected{{ReadStatus, ""}};
    for (int i = 0; i < 3; ++i)
        expected.insert(expected.end(),
                        {{PerformReset, ""}, {Pause, "100"}, {SetDateTime, "05-01-31 07:09"}, {Pause, "100"}});
    EXPECT_EQ(TakeRequestsWithPauses(), expected);
    EXPECT_EQ(FillFM->DoneLb->text(), "Done: 3");
    EXPECT_FALSE(cancelAfter);
    EXPECT_EQ(Records('R'), 3);
    EXPECT_FALSE(sim.WithPrinter([](qmrsim::Printer& p) { return p.StatusBit(qmrsim::st::ClockNotSet); }));
}

TEST_F(FillSeries, ACountTypedIntoTheShownDialogReplacesItsOne) {
    script.OnNextModal([](QDialog&) {
        QTest::keyClicks(FillFM->CntBox, "3");
        FillFM->GoBt->click();
    });
    Form1->ResetsM->trigger();
    EXPECT_EQ(FillFM->CntBox->text(), "3");
    EXPECT_EQ(Count(TakeRequests(), PerformReset), 3);
}

TEST_F(FillSeries, ACountThatIsNoPositiveNumberRunsNoCycle) {
    for (const char* count : {"", "0", "-3", "abc"}) {
        Run(Form1->ResetsM, count);
        EXPECT_EQ(TakeRequests(), (std::vector<Sent>{{ReadStatus, ""}})) << count;
        Run(Form1->ClosuresM, count);
        const auto sent = TakeRequests();
        EXPECT_EQ(Count(sent, OpenFiscalReceipt) + Count(sent, PrintDailyReport), 0) << count;
        // The menu's status probe, Go's own, then the articles.
        EXPECT_EQ(sent[2], (Sent{ProgramArticles, "F"})) << count;
        EXPECT_EQ(FillFM->DoneLb->text(), "") << count;
        EXPECT_FALSE(cancelAfter);
    }
}

TEST_F(FillSeries, AClosuresCycleIsFiscalReceiptsAStornoReceiptAndADailyReport) {
    // Every receipt opens with the operator and password chosen in the menu.
    WithPrinter([](qmrsim::Printer& p) { p.receipts.operatorPasswords[2] = "2731"; });
    script.OnNextModal([](QDialog&) {
        OperatorDlg->OperNmb->setCurrentIndex(2);
        OperatorDlg->OperP->setText("2731");
        OperatorDlg->OkBt->click();
    });
    Form1->OperatorM->trigger();
    WatchPauses();
    Run(Form1->ClosuresM, "4", [] { FillFM->CancelBt->click(); });
    EXPECT_EQ(script.modals.back().caption, "Make Closures");
    EXPECT_EQ(shownHeight, 140);
    EXPECT_EQ(FillFM->DoneLb->text(), "Done: 4");
    const auto sent = TakeRequestsWithPauses();
    // Status twice, then the printer's six articles: "F" and an "N" past each.
    std::vector<Sent> preamble{{ReadStatus, ""}, {ReadStatus, ""}, {ProgramArticles, "F"}};
    for (int i = 0; i < 6; ++i) preamble.push_back({ProgramArticles, "N"});
    ASSERT_TRUE(std::equal(preamble.begin(), preamble.end(), sent.begin()));

    const std::set<std::string> plus{"1", "2", "3", "4", "5", "15"};
    std::size_t at = preamble.size();
    for (int cycle = 0; cycle < 4; ++cycle) {
        int fiscal = 0;
        for (;;) {
            ASSERT_LT(at, sent.size());
            const bool storno = sent[at].first == OpenStornoReceipt;
            ASSERT_TRUE(storno || sent[at].first == OpenFiscalReceipt) << at;
            EXPECT_EQ(sent[at++].second, "3,2731,123,I");
            int sales = 0;
            for (; sent[at].first == SellArticleWithDisplay; ++at, ++sales) {
                const std::string& data = sent[at].second;
                const std::size_t star = data.find('*');
                EXPECT_TRUE(plus.count(data.substr(0, star))) << data;
                const double quantity = std::stod(data.substr(star + 1));
                EXPECT_TRUE(quantity >= 0.001 && quantity <= 9.999 && data.size() - star - 1 == 5) << data;
            }
            EXPECT_TRUE(sales >= 1 && sales <= 5) << sales;
            EXPECT_EQ(sent[at++], (Sent{RegisterPayment, storno ? "\tC" : ""}));
            EXPECT_EQ(sent[at++], (Sent{CloseFiscalReceipt, ""}));
            if (storno) break;
            ++fiscal;
        }
        EXPECT_TRUE(fiscal >= 1 && fiscal <= 5) << fiscal;
        EXPECT_EQ(sent[at++], (Sent{PrintDailyReport, "4826,A"}));
        EXPECT_EQ(sent[at++], (Sent{Pause, "50"}));
    }
    EXPECT_EQ(at, sent.size());
    EXPECT_EQ(Records('Z'), 4);
}

TEST_F(FillSeries, APrinterWithoutArticlesRunsNoClosure) {
    WithPrinter([](qmrsim::Printer& p) { p.receipts.articles.clear(); });
    Run(Form1->ClosuresM, "3");
    EXPECT_EQ(TakeRequests(), (std::vector<Sent>{{ReadStatus, ""}, {ReadStatus, ""}, {ProgramArticles, "F"}}));
    EXPECT_EQ(FillFM->DoneLb->text(), "");
}

TEST_F(FillSeries, ClosuresNeedAFiscalisedPrinter) {
    WithPrinter([](qmrsim::Printer& p) { p.SetStatusBit(qmrsim::st::Fiscalized, false); });
    Form1->ClosuresM->trigger();
    EXPECT_EQ(script.MessageTexts(), (std::vector<QString>{"Printer not fiscalised"}));
    EXPECT_EQ(script.messages[0].caption, "Error");
    EXPECT_TRUE(script.modals.empty());
    EXPECT_EQ(TakeRequests(), (std::vector<Sent>{{ReadStatus, ""}}));
}

TEST_F(FillSeries, TheDisplayBoxIsReadAtEverySale) {
    Run(Form1->ClosuresM, "1", [] { FillFM->DispBox->setChecked(false); });
    auto sent = TakeRequests();
    EXPECT_EQ(Count(sent, SellArticleWithDisplay), 0);
    EXPECT_GT(Count(sent, SellArticle), 0);

    OnRequest(SellArticleWithDisplay, 1, "toggle", FillFM->DispBox);
    Run(Form1->ClosuresM, "3", [] { FillFM->DispBox->setChecked(true); });
    std::vector<int> sales;
    for (const int cmd : TakeCommands())
        if (cmd == SellArticle || cmd == SellArticleWithDisplay) sales.push_back(cmd);
    ASSERT_GT(sales.size(), 2u);
    EXPECT_EQ(sales.front(), SellArticleWithDisplay);
    // Once switched, every later sale goes without the display.
    const auto firstPlain = std::find(sales.begin(), sales.end(), SellArticle);
    ASSERT_NE(firstPlain, sales.end());
    EXPECT_TRUE(std::all_of(firstPlain, sales.end(), [](int c) { return c == SellArticle; }));
    EXPECT_FALSE(FillFM->DispBox->isChecked());
}

TEST_F(FillSeries, CancelLetsTheCycleUnderWayFinishThenEndsTheSeries) {
    OnRequest(PerformReset, 2, "click", FillFM->CancelBt);
    Run(Form1->ResetsM, "9999");
    EXPECT_EQ(FillFM->DoneLb->text(), "Done: 2");
    EXPECT_EQ(Records('R'), 2);
    EXPECT_FALSE(cancelAfter);

    OnRequest(OpenStornoReceipt, 1, "click", FillFM->CancelBt);
    Run(Form1->ClosuresM, "50");
    EXPECT_EQ(FillFM->DoneLb->text(), "Done: 1");
    const auto sent = TakeRequests();
    EXPECT_EQ(Count(sent, PrintDailyReport), 1);
    EXPECT_EQ(sent.back().first, PrintDailyReport);
}

TEST_F(FillSeries, ClosingTheDialogDuringASeriesStopsItAsCancelDoes) {
    OnRequest(PerformReset, 1, "reject", FillFM);
    Run(Form1->ResetsM, "9999");
    EXPECT_EQ(FillFM->DoneLb->text(), "Done: 1");
    EXPECT_EQ(Count(TakeRequests(), PerformReset), 1);
    EXPECT_EQ(script.modals.back().result, qmr::ui::mrCancel);
}

TEST_F(FillSeries, AFailedCloseEndsTheSeriesInAFiscalReceiptButNotInTheStornoOne) {
    RefuseOnce(CloseFiscalReceipt, [](const qmrsim::Printer& p) { return !p.receipts.receipt.storno; });
    Run(Form1->ClosuresM, "3", [this] { ExpectStatusDialog(); });
    auto sent = TakeRequests();
    EXPECT_EQ(sent.back(), (Sent{CloseFiscalReceipt, ""}));
    EXPECT_EQ(Count(sent, PrintDailyReport), 0);
    EXPECT_EQ(FillFM->DoneLb->text(), "");

    RefuseOnce(CloseFiscalReceipt, [](const qmrsim::Printer& p) { return p.receipts.receipt.storno; });
    Run(Form1->ClosuresM, "3", [this] { ExpectStatusDialog(); });
    sent = TakeRequests();
    const auto stornoClose = std::find(sent.begin(), sent.end(), Sent{RegisterPayment, "\tC"}) + 1;
    ASSERT_LT(stornoClose + 1, sent.end());
    EXPECT_EQ(*stornoClose, (Sent{CloseFiscalReceipt, ""}));
    EXPECT_EQ(*(stornoClose + 1), (Sent{PrintDailyReport, "4826,A"}));
    EXPECT_EQ(FillFM->DoneLb->text(), "Done: 3");
}

TEST_F(FillSeries, OneArticleIsEverySaleAndOfManyOnlyTheFirstHundredAreListed) {
    WithPrinter([](qmrsim::Printer& p) { p.receipts.articles = {{77, qmrsim::Article{77, '\xC0', 1, 100, "ONE"}}}; });
    Run(Form1->ClosuresM, "2", [] { FillFM->DispBox->setChecked(false); });
    for (const auto& [cmd, data] : TakeRequests())
        if (cmd == SellArticle) {
            EXPECT_EQ(data.substr(0, 3), "77*");
        }

    WithPrinter([](qmrsim::Printer& p) {
        p.receipts.articles.clear();
        for (int plu = 1; plu <= 150; ++plu) p.receipts.articles[plu] = qmrsim::Article{plu, '\xC0', 1, 100, "A"};
    });
    Run(Form1->ClosuresM, "5");
    const auto sent = TakeRequests();
    EXPECT_EQ(Count(sent, ProgramArticles), 100);
    for (const auto& [cmd, data] : sent)
        if (cmd == SellArticleWithDisplay) {
            EXPECT_LE(std::stoi(data), 100) << data;
        }
}

TEST_F(FillSeries, ASeriesEndsWhenTheFiscalMemoryIsFull) {
    WithPrinter([](qmrsim::Printer& p) { qmrsim::FillFiscalMemory(p, 3); });
    Run(Form1->ResetsM, "9999", [this] { ExpectStatusDialog(); });
    EXPECT_EQ(FillFM->DoneLb->text(), "Done: 3");
    EXPECT_EQ(Count(TakeRequests(), PerformReset), 4);
    EXPECT_TRUE(qmr::Link().StatusWord & qmr::swFmFull);
    EXPECT_TRUE(qmr::Link().StatusWord & qmr::swNotPermitted);
}

TEST_F(FillSeries, AClosuresSeriesSellsNothingOnceTheFiscalMemoryIsFull) {
    WithPrinter([](qmrsim::Printer& p) { qmrsim::FillFiscalMemory(p, 2); });
    Run(Form1->ClosuresM, "9999", [this] { ExpectStatusDialog(); });
    EXPECT_EQ(FillFM->DoneLb->text(), "Done: 2");
    // The third cycle ends at its first receipt: nothing is sold that no
    // closure could write.
    const auto sent = TakeRequests();
    const auto lastClosure = std::find(sent.rbegin(), sent.rend(), Sent{PrintDailyReport, "4826,A"});
    ASSERT_NE(lastClosure, sent.rend());
    const std::vector<Sent> after(lastClosure.base(), sent.end());
    ASSERT_FALSE(after.empty());
    EXPECT_EQ(after.front().first, OpenFiscalReceipt);
    EXPECT_EQ(Count(after, SellArticleWithDisplay) + Count(after, SellArticle), 0);
    EXPECT_TRUE(qmr::Link().StatusWord & qmr::swFmFull);
}

}  // namespace
}  // namespace vextora
