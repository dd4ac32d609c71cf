#include "TByDateDlg.h"

#include "Commands.h"
#include "Cp1251.h"
#include "Executor.h"
#include "ReportControls.h"
#include "ReportTexts.h"

namespace prendix {

using qmr::ui::Make;

unsigned char HistoryMode = 0;

TByDateDlg::TByDateDlg(QWidget* parent) : Form(parent, "ByDateDlg", "Periodical report by date", 270, 214) {
    HistoryMode = 0;
    std::tie(Label1, PwdBox) = MakePasswordRow(this, "Label1", 14, 166, 14, 90);
    std::tie(Label2, StartDate) =
        MakeEditRow(this, "Label2", "Start date (DD-MM-YY):", "StartDate", 14, 166, 46, 90, 12);
    std::tie(Label3, EndDate) = MakeEditRow(this, "Label3", "End date (DD-MM-YY):", "EndDate", 14, 166, 78, 90, 12);
    std::tie(Panel1, ShortButton, FullButton) = MakeReportKinds(this, 14, 110, 242);
    OkBt = Make<QPushButton>(this, "OkBt", 95, 176, 80, 28, QStringLiteral("Print"));
    connect(OkBt, &QPushButton::clicked, this, &TByDateDlg::OkBtClick);
    connect(this, &Form::Shown, this, &TByDateDlg::FormShow);
}

void TByDateDlg::FormShow() {
    const bool history = HistoryMode == 1;
    Panel1->setVisible(!history);
    setWindowTitle(history ? QStringLiteral("Tax rates history") : QStringLiteral("Periodical report by date"));
    // Print moves up into the hidden panel's place, so no hole is left above
    // it. The form was placed at its old height: it keeps its place a quarter
    // of the free height down.
    const int printTop = history ? Panel1->y() : Panel1->geometry().bottom() + 11;
    OkBt->move(OkBt->x(), printTop);
    const int before = height();
    setFixedHeight(printTop + OkBt->height() + 10);
    move(x(), y() + (before - height()) / 4);
}

void TByDateDlg::OkBtClick() {
    const auto dates = DatePair(qmr::ToCp1251(StartDate->text()), qmr::ToCp1251(EndDate->text()));
    if (!dates) return;
    const std::string data = DateRangeData(qmr::ToCp1251(PwdBox->text()), *dates);
    if (HistoryMode == 1)
        qmr::ExecCommand(qmr::PrintTaxRateHistory, data);
    else
        qmr::ExecCommand(ShortButton->isChecked() ? qmr::PrintShortReportByDate : qmr::PrintDetailedReportByDate, data);
}

}  // namespace prendix
