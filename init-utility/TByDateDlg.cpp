#include "TByDateDlg.h"

#include "Commands.h"
#include "Cp1251.h"
#include "Edits.h"
#include "Executor.h"
#include "ReportTexts.h"

namespace prendix {

using qmr::ui::Make;

unsigned char HistoryMode = 0;

TByDateDlg::TByDateDlg(QWidget* parent) : Form(parent, "ByDateDlg", "Periodical report by date", 270, 214) {
    HistoryMode = 0;
    Label1 = Make<QLabel>(this, "Label1", 14, 14, 150, 24, QStringLiteral("Password:"));
    PwdBox = Make<QLineEdit>(this, "PwdBox", 166, 14, 90, 24);
    qmr::ui::LimitTyping(*PwdBox, 8);
    qmr::ui::MakePasswordEdit(*PwdBox);
    Label2 = Make<QLabel>(this, "Label2", 14, 46, 150, 24, QStringLiteral("Start date (DD-MM-YY):"));
    StartDate = Make<QLineEdit>(this, "StartDate", 166, 46, 90, 24);
    qmr::ui::LimitTyping(*StartDate, 12);
    Label3 = Make<QLabel>(this, "Label3", 14, 78, 150, 24, QStringLiteral("End date (DD-MM-YY):"));
    EndDate = Make<QLineEdit>(this, "EndDate", 166, 78, 90, 24);
    qmr::ui::LimitTyping(*EndDate, 12);
    Panel1 = Make<QFrame>(this, "Panel1", 14, 110, 242, 56);
    Panel1->setFrameShape(QFrame::StyledPanel);
    ShortButton = Make<QRadioButton>(Panel1, "ShortButton", 10, 4, 224, 24, QStringLiteral("Short report"));
    FullButton = Make<QRadioButton>(Panel1, "FullButton", 10, 28, 224, 24, QStringLiteral("Detailed report"));
    ShortButton->setChecked(true);
    OkBt = Make<QPushButton>(this, "OkBt", 95, 176, 80, 28, QStringLiteral("Print"));
    connect(OkBt, &QPushButton::clicked, this, &TByDateDlg::OkBtClick);
    connect(this, &Form::Shown, this, &TByDateDlg::FormShow);
}

void TByDateDlg::FormShow() {
    const bool history = HistoryMode == 1;
    Panel1->setVisible(!history);
    setWindowTitle(history ? QStringLiteral("Tax rates history") : QStringLiteral("Periodical report by date"));
    // Print moves up into the hidden panel's place, so no hole is left above it.
    const int printTop = history ? Panel1->y() : Panel1->geometry().bottom() + 11;
    OkBt->move(OkBt->x(), printTop);
    setFixedHeight(printTop + OkBt->height() + 10);
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
