#include "TReportDlg.h"

#include "Commands.h"
#include "Cp1251.h"
#include "Executor.h"
#include "PcClock.h"
#include "Prendix.h"
#include "ReportTexts.h"
#include "Seam.h"

namespace prendix {

using qmr::ui::Make;

namespace {

constexpr int ButtonLeft = 14, ButtonTop = 12, ButtonWidth = 212, ButtonHeight = 28, ButtonStep = 34;

// The password of the prompt, when the user closed it with OK.
std::optional<std::string> AskPassword() {
    if (qmr::ui::ShowModal(*RepPwdDlg) != qmr::ui::mrOk) return std::nullopt;
    return qmr::ToCp1251(RepPwdDlg->PwdBox->text());
}

QString Today() {
    const QDate today = PcNow().date();
    return QString::fromLatin1(DateText(today.day(), today.month(), today.year()));
}

}  // namespace

TReportDlg::TReportDlg(QWidget* parent)
    : Form(parent, "ReportDlg", "Reports", ButtonLeft * 2 + ButtonWidth,
           ButtonTop * 2 + ButtonStep * 6 + ButtonHeight) {
    int row = 0;
    auto button = [&](const char* name, const QString& caption) {
        return Make<QPushButton>(this, name, ButtonLeft, ButtonTop + ButtonStep * row++, ButtonWidth, ButtonHeight,
                                 caption);
    };
    TypeZ = button("TypeZ", QStringLiteral("Z - report"));
    TypeX = button("TypeX", QStringLiteral("X - report"));
    TypeT = button("TypeT", QStringLiteral("Report \"Tax rates history\""));
    TypeN = button("TypeN", QStringLiteral("Preiodical report by number"));
    TypeD = button("TypeD", QStringLiteral("Periodical report by date"));
    TypeO = button("TypeO", QStringLiteral("Operators report"));
    TypeA = button("TypeA", QStringLiteral("Articles report"));
    connect(TypeZ, &QPushButton::clicked, this, &TReportDlg::TypeZClick);
    connect(TypeX, &QPushButton::clicked, this, &TReportDlg::TypeXClick);
    connect(TypeT, &QPushButton::clicked, this, &TReportDlg::TypeTClick);
    connect(TypeN, &QPushButton::clicked, this, &TReportDlg::TypeNClick);
    connect(TypeD, &QPushButton::clicked, this, &TReportDlg::TypeDClick);
    connect(TypeO, &QPushButton::clicked, this, &TReportDlg::TypeOClick);
    connect(TypeA, &QPushButton::clicked, this, &TReportDlg::TypeAClick);
}

void TReportDlg::DailyReport(char type, bool stopOnFatal) {
    qmr::ExecCommand(qmr::ReadStatus, "");
    if (qmr::StatusHas(qmr::swFmReadOnly)) qmr::ui::MessageBox("Fiscal memory is Read Only", "Error", qmr::MbOk);
    if (stopOnFatal && qmr::Fatal()) return;
    const auto password = AskPassword();
    if (!password) return;
    qmr::ExecCommand(qmr::PrintDailyReport, DailyReportData(*password, type));
}

void TReportDlg::TypeZClick() { DailyReport('0', true); }

void TReportDlg::TypeXClick() { DailyReport('2', false); }

void TReportDlg::ShowDateDialog(bool history) {
    if (qmr::ExecLinkFailed(qmr::ReadStatus)) return;
    ByDateDlg->StartDate->setText(QString::fromLatin1(FirstReportDate));
    ByDateDlg->EndDate->setText(Today());
    // The history has no short and detailed kinds: its choice stays as it was.
    if (!history) ByDateDlg->ShortButton->setChecked(true);
    HistoryMode = history ? 1 : 0;
    qmr::ui::ShowPlaced(*InitFP, *ByDateDlg);
}

void TReportDlg::TypeTClick() { ShowDateDialog(true); }

void TReportDlg::TypeDClick() { ShowDateDialog(false); }

void TReportDlg::TypeNClick() {
    ByNumDlg->ShortButton->setChecked(true);
    ByNumDlg->StartBox->setText(QStringLiteral("1"));
    if (qmr::ExecLinkFailed(qmr::ReadStatus)) return;
    if (!ByNumDlg->ShowLastRecordNumber()) return;
    qmr::ui::ShowPlaced(*InitFP, *ByNumDlg);
}

void TReportDlg::TypeOClick() {
    qmr::ExecCommand(qmr::ReadStatus, "");
    const auto password = AskPassword();
    if (!password) return;
    qmr::ExecCommand(qmr::PrintOperatorsReport, *password);
}

void TReportDlg::TypeAClick() {
    qmr::ExecCommand(qmr::ReadStatus, "");
    qmr::ui::ShowModal(*ArtForm);
}

}  // namespace prendix
