// The service routines: the fiscal memory fill series behind the menu, and
// the self-test, the cutter test and the digit-text receipt, which have keys
// of their own on the main window and no menu item.
#include <QDir>
#include <QFileInfo>

#include "Commands.h"
#include "Cp1251.h"
#include "Executor.h"
#include "SafeSave.h"
#include "SaleTexts.h"
#include "SelfTest.h"
#include "TFillFM.h"
#include "TForm1.h"
#include "Vextora.h"

namespace vextora {

namespace {

constexpr int CutsMax = 500;
constexpr int DigitTexts = 20;
constexpr int SalesMax = 200;
constexpr int QuantityMax = 9999;  // thousandths
constexpr int StornoOneIn = 5;

QShortcut* MakeKey(TForm1* form, const char* name, const char* keys) {
    auto* key = new QShortcut(QKeySequence(QString::fromLatin1(keys)), form);
    key->setObjectName(QString::fromLatin1(name));
    key->setContext(Qt::WindowShortcut);
    return key;
}

// Fills PluList and the article sums from the printer's article table;
// false when the printer failed or listed no article.
bool GatherArticles(SelfTestSums& sums) {
    if (qmr::ExecRefused(qmr::ProgramArticles, "F")) return false;
    auto article = ParseSelfTestArticle(qmr::Link().ReplyText());
    if (!article) return false;
    while (sums.Gather(*article) && sums.count < MaxPlus) {
        if (qmr::ExecRefused(qmr::ProgramArticles, "N")) return false;
        article = ParseSelfTestArticle(qmr::Link().ReplyText());
        if (!article) break;
    }
    return true;
}

// The log is made anew as the receipts start; false when it cannot be.
bool CreateLog(const QString& path) {
    return QDir().mkpath(QFileInfo(path).absolutePath()) && qmr::WriteFileSafely(path, {});
}

void ReportLogFailure(const QString& path) {
    qmr::ui::MessageBox(QStringLiteral("Can't write the self-test log %1").arg(path), QStringLiteral("Error"),
                        qmr::MbOk);
}

}  // namespace

void TForm1::BindServiceRoutines() {
    connect(ResetsM, &QAction::triggered, this, &TForm1::ResetsMClick);
    connect(ClosuresM, &QAction::triggered, this, &TForm1::ClosuresMClick);
    TestSKey = MakeKey(this, "TestSKey", "Ctrl+Shift+S");
    CutterKey = MakeKey(this, "CutterKey", "Ctrl+Shift+K");
    Button1Key = MakeKey(this, "Button1Key", "Ctrl+Shift+D");
    connect(TestSKey, &QShortcut::activated, this, &TForm1::TestSMClick);
    connect(CutterKey, &QShortcut::activated, this, &TForm1::CutterMClick);
    connect(Button1Key, &QShortcut::activated, this, &TForm1::Button1Click);
}

void TForm1::ResetsMClick() {
    FillFM->setWindowTitle(QLatin1String(ResetsCaption));
    qmr::ui::ShowModal(*FillFM);
}

void TForm1::ClosuresMClick() {
    if (qmr::ExecRefused(qmr::ReadStatus)) return;
    if (!qmr::StatusHas(qmr::swFiscalized)) {
        qmr::ui::MessageBox(QStringLiteral("Printer not fiscalised"), QStringLiteral("Error"), qmr::MbOk);
        return;
    }
    FillFM->setWindowTitle(QLatin1String(ClosuresCaption));
    qmr::ui::ShowModal(*FillFM);
}

void TForm1::TestSMClick() {
    const LongFlow flow;
    if (!flow) return;
    SelfTestSums& sums = SelfTestTotals;
    sums = SelfTestSums{};
    if (qmr::ExecRefused(qmr::ReadStatus)) return;
    if (qmr::ExecRefused(qmr::ReadTaxRates)) return;
    sums.GroupRates = ParseGroupRates(qmr::Link().ReplyText());
    StopFlag = false;
    SeedRandomForRun();
    // With no article of a known tax letter there is nothing to sell.
    if (!GatherArticles(sums) || sums.count == 0) return;
    CancelBt->setEnabled(true);
    qmr::ExecCommand(qmr::SetTestSwitch, "1");

    const QString logPath = SelfTestLogPath();
    if (!CreateLog(logPath)) {
        ReportLogFailure(logPath);
        // The printer must not stay in test mode.
        qmr::ExecCommand(qmr::SetTestSwitch, "0");
        CancelBt->setEnabled(false);
        return;
    }
    std::string log = sums.LeftOutLines();
    for (int i = 0; i < SelfTestReceipts; ++i) {
        const int op = RandomBelow(SelfTestOperators) + 1;
        sums.ReceiptGroupSum.fill(0);
        sums.ReceiptGroupVat.fill(0);
        if (StopFlag) break;
        const bool storno = RandomBelow(StornoOneIn) == 0;
        // A receipt counts once it is asked for, whether or not it opens.
        ++(storno ? sums.OperStornoReceipts : sums.OperFiscalReceipts)[static_cast<std::size_t>(op)];
        if (qmr::ExecRefused(storno ? qmr::OpenStornoReceipt : qmr::OpenFiscalReceipt, OpenReceiptData(op, DefaultPassword)))
            break;
        for (int sales = RandomBelow(SalesMax) + 1; sales > 0; --sales) {
            if (StopFlag) break;
            const int index = RandomBelow(sums.count);
            const long long quantity = RandomBelow(QuantityMax) + 1;
            if (qmr::ExecRefused(qmr::SellArticle, SelfTestSaleData(PluList[static_cast<std::size_t>(index)], quantity)))
                break;
            sums.AddSale(index, quantity, storno, op);
            PumpWindowEvents();
        }
        log += sums.CloseReceipt(storno);
        if (qmr::ExecRefused(qmr::RegisterPayment, "\tC")) break;
        if (qmr::ExecRefused(qmr::CloseFiscalReceipt)) break;
        qmr::ExecCommand(qmr::SendProgressText, ProgressText(i + 1));
    }
    log += sums.SummaryLines();

    qmr::ExecCommand(qmr::SetTestSwitch, "0");
    qmr::ExecCommand(qmr::PrintOperatorsReport, DefaultPassword);
    qmr::ExecCommand(qmr::PrintArticlesReport, "4826,S");
    qmr::ExecCommand(qmr::PrintDailyReport, DefaultPassword);
    if (!qmr::WriteFileSafely(logPath, log)) ReportLogFailure(logPath);
    CancelBt->setEnabled(false);
}

void TForm1::CutterMClick() {
    const LongFlow flow;
    if (!flow) return;
    int count = 0;
    for (;;) {
        if (qmr::ExecRefused(qmr::CutPaper)) return;
        if (qmr::Link().ReplyText().rfind('P', 0) != 0) break;
        if (++count >= CutsMax) break;
    }
    qmr::ui::MessageBox(qmr::FromCp1251(qmr::Link().ReplyText()), QStringLiteral("Count %1").arg(count), qmr::MbOk);
}

void TForm1::Button1Click() {
    const LongFlow flow;
    if (!flow) return;
    qmr::ExecCommand(qmr::OpenFiscalReceipt, "1,735194,123");
    qmr::ExecCommand(qmr::RegisterPayment, "\t0");
    qmr::ExecCommand(qmr::CloseFiscalReceipt, "");
    std::string digits;
    for (int n = 0; n < DigitTexts; ++n) {
        digits += static_cast<char>('0' + n % 10);
        qmr::ExecCommand(qmr::SendDigitText, digits);
    }
}

}  // namespace vextora
