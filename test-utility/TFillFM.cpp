#include "TFillFM.h"

#include "Commands.h"
#include "Cp1251.h"
#include "Edits.h"
#include "Executor.h"
#include "FillTexts.h"
#include "Numbers.h"
#include "SaleTexts.h"
#include "TForm1.h"
#include "Vextora.h"

namespace vextora {

using qmr::ui::Make;

bool FillStopFlag = false;

namespace {

constexpr int ClientWidth = 202;
constexpr int CycleReceiptsMax = 5;  // fiscal receipts before the storno one
constexpr int SalesMax = 5;
constexpr int QuantityMax = 9999;  // thousandths
constexpr int ResetPauseMs = 100;
constexpr int ClosurePauseMs = 50;

void Pause(int ms) {
    if (qmr::Env().clock) qmr::Env().clock->SleepMs(ms);
}

}  // namespace

TFillFM::TFillFM(QWidget* parent) : Form(parent, "FillFM", "Fill Fiscal Memory", ClientWidth, 140) {
    Label1 = Make<QLabel>(this, "Label1", 12, 12, 44, 21, QStringLiteral("Count:"));
    CntBox = Make<QLineEdit>(this, "CntBox", 58, 10, 56, 24);
    qmr::ui::LimitTyping(*CntBox, 4);
    GoBt = Make<QPushButton>(this, "GoBt", 124, 8, 70, 28, QStringLiteral("Go"));
    CancelBt = Make<QPushButton>(this, "CancelBt", 124, 44, 70, 28, QStringLiteral("Cancel"));
    DoneLb = Make<QLabel>(this, "DoneLb", 12, 48, 104, 21);
    DispBox = Make<QCheckBox>(this, "DispBox", 12, 110, 180, 14, QStringLiteral("Show on display"));
    DispBox->setChecked(true);
    connect(this, &Form::Shown, this, &TFillFM::FormShow);
    connect(GoBt, &QPushButton::clicked, this, &TFillFM::GoBtClick);
    connect(CancelBt, &QPushButton::clicked, this, &TFillFM::CancelBtClick);
}

bool TFillFM::ResetsMode() const { return windowTitle() == QLatin1String(ResetsCaption); }

void TFillFM::FormShow() {
    FillStopFlag = false;
    CntBox->setText(QStringLiteral("1"));
    DoneLb->clear();
    // In resets mode the display box lies below the visible area.
    const QRect disp = DispBox->geometry();
    setFixedSize(ClientWidth, ResetsMode() ? disp.top() - 10 : disp.top() + disp.height() + 16);
}

void TFillFM::reject() {
    FillStopFlag = true;
    Form::reject();
}

void TFillFM::CancelBtClick() { FillStopFlag = true; }

std::optional<int> TFillFM::GatherPlus() {
    if (qmr::ExecRefused(qmr::ProgramArticles, "F")) return std::nullopt;
    auto plu = ArticleRecordPlu(qmr::Link().ReplyText());
    if (!plu) return std::nullopt;
    int count = 0;
    PluList[static_cast<std::size_t>(count++)] = *plu;
    while (count < MaxPlus) {
        if (qmr::ExecRefused(qmr::ProgramArticles, "N")) return std::nullopt;
        plu = ArticleRecordPlu(qmr::Link().ReplyText());
        if (!plu) break;
        PluList[static_cast<std::size_t>(count++)] = *plu;
    }
    return count;
}

void TFillFM::GoBtClick() {
    const LongFlow flow;
    if (!flow) return;
    if (qmr::ExecRefused(qmr::ReadStatus)) return;
    FillStopFlag = false;
    const int cycles = qmr::ReadLeadingInt(qmr::ToCp1251(CntBox->text()));
    const bool resets = ResetsMode();
    int pluCount = 0;
    if (!resets) {
        SeedRandomForRun();
        const auto gathered = GatherPlus();
        if (!gathered) return;
        pluCount = *gathered;
    }
    CancelBt->setEnabled(true);
    for (int j = 0; j < cycles; ++j) {
        if (FillStopFlag) break;
        if (!(resets ? ResetsCycle() : ClosuresCycle(pluCount))) break;
        DoneLb->setText(QStringLiteral("Done: %1").arg(j + 1));
        PumpWindowEvents();
    }
    FillStopFlag = false;
    CancelBt->setEnabled(false);
}

bool TFillFM::ResetsCycle() {
    if (qmr::ExecRefused(qmr::PerformReset)) return false;
    Pause(ResetPauseMs);
    if (qmr::ExecRefused(qmr::SetDateTime, ResetClockData(LocalTimeNow()))) return false;
    Pause(ResetPauseMs);
    return true;
}

bool TFillFM::ClosureReceipt(bool storno, int pluCount) {
    const std::string opening = OpenReceiptData(OperatorNumber, OperatorPassword);
    if (qmr::ExecRefused(storno ? qmr::OpenStornoReceipt : qmr::OpenFiscalReceipt, opening)) return false;
    for (int sales = RandomBelow(SalesMax) + 1; sales > 0; --sales) {
        const int plu = PluList[static_cast<std::size_t>(RandomBelow(pluCount))];
        const int quantity = RandomBelow(QuantityMax) + 1;
        // The box is read at every sale, so a change shows from the next one on.
        if (qmr::ExecRefused(DispBox->isChecked() ? qmr::SellArticleWithDisplay : qmr::SellArticle,
                      FillSaleData(plu, quantity)))
            return false;
    }
    if (qmr::ExecRefused(qmr::RegisterPayment, storno ? std::string_view("\tC") : std::string_view())) return false;
    return !qmr::ExecRefused(qmr::CloseFiscalReceipt);
}

bool TFillFM::ClosuresCycle(int pluCount) {
    const int fiscalReceipts = RandomBelow(CycleReceiptsMax) + 1;
    for (int k = 0; k < fiscalReceipts; ++k)
        if (!ClosureReceipt(false, pluCount)) return false;
    // A storno receipt that fails leaves the daily report to decide.
    ClosureReceipt(true, pluCount);
    if (qmr::ExecRefused(qmr::PrintDailyReport, "4826,A")) return false;
    Pause(ClosurePauseMs);
    return true;
}

}  // namespace vextora
