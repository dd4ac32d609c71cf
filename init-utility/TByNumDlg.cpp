#include "TByNumDlg.h"

#include "Commands.h"
#include "Cp1251.h"
#include "Executor.h"
#include "Numbers.h"
#include "ReportControls.h"
#include "ReportTexts.h"
#include "Seam.h"

namespace prendix {

using qmr::ui::Make;

TByNumDlg::TByNumDlg(QWidget* parent) : Form(parent, "ByNumDlg", "Report by number", 234, 214) {
    std::tie(Label1, PwdBox) = MakePasswordRow(this, "Label1", 14, 118, 14, 100);
    std::tie(Label2, StartBox) = MakeEditRow(this, "Label2", "Start number:", "StartBox", 14, 118, 46, 64, 4, "1");
    std::tie(Label3, EndBox) = MakeEditRow(this, "Label3", "End number:", "EndBox", 14, 118, 78, 64, 4, "1");
    std::tie(Panel1, ShortButton, FullButton) = MakeReportKinds(this, 14, 110, 204);
    OkBt = Make<QPushButton>(this, "OkBt", 77, 176, 80, 28, QStringLiteral("Print"));
    connect(OkBt, &QPushButton::clicked, this, &TByNumDlg::OkBtClick);
    connect(this, &Form::Shown, this, &TByNumDlg::FormShow);
}

bool TByNumDlg::ShowLastRecordNumber() {
    if (qmr::ExecLinkFailed(qmr::ReadLastRecordNumber)) return false;
    EndBox->setText(QString::number(qmr::ReadLeadingInt(qmr::Link().ReplyText())));
    return true;
}

void TByNumDlg::FormShow() {
    if (qmr::ExecLinkFailed(qmr::ReadDeviceInfo)) return;
    ShowLastRecordNumber();
}

void TByNumDlg::OkBtClick() {
    if (qmr::ExecLinkFailed(qmr::ReadDeviceInfo)) return;
    if (!qmr::StatusHas(qmr::swFiscalized)) {
        qmr::ui::MessageBox("QMR-770 is not fiscalised", "Error", qmr::MbOk);
        return;
    }
    const int start = qmr::ReadLeadingInt(qmr::ToCp1251(StartBox->text()));
    const int end = qmr::ReadLeadingInt(qmr::ToCp1251(EndBox->text()));
    const std::string data = NumberRangeData(qmr::ToCp1251(PwdBox->text()), start, end);
    qmr::ExecCommand(ShortButton->isChecked() ? qmr::PrintShortReportByNumber : qmr::PrintDetailedReportByNumber, data);
}

}  // namespace prendix
