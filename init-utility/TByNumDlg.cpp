#include "TByNumDlg.h"

#include "Commands.h"
#include "Cp1251.h"
#include "Edits.h"
#include "Executor.h"
#include "Numbers.h"
#include "ReportTexts.h"
#include "Seam.h"

namespace prendix {

using qmr::ui::Make;

namespace {
std::uint32_t Status() { return qmr::Link().StatusWord; }
}  // namespace

TByNumDlg::TByNumDlg(QWidget* parent) : Form(parent, "ByNumDlg", "Report by number", 234, 214) {
    Label1 = Make<QLabel>(this, "Label1", 14, 14, 100, 24, QStringLiteral("Password:"));
    PwdBox = Make<QLineEdit>(this, "PwdBox", 118, 14, 100, 24);
    qmr::ui::LimitTyping(*PwdBox, 8);
    qmr::ui::MakePasswordEdit(*PwdBox);
    Label2 = Make<QLabel>(this, "Label2", 14, 46, 100, 24, QStringLiteral("Start number:"));
    StartBox = Make<QLineEdit>(this, "StartBox", 118, 46, 64, 24, QStringLiteral("1"));
    qmr::ui::LimitTyping(*StartBox, 4);
    Label3 = Make<QLabel>(this, "Label3", 14, 78, 100, 24, QStringLiteral("End number:"));
    EndBox = Make<QLineEdit>(this, "EndBox", 118, 78, 64, 24, QStringLiteral("1"));
    qmr::ui::LimitTyping(*EndBox, 4);
    Panel1 = Make<QFrame>(this, "Panel1", 14, 110, 204, 56);
    Panel1->setFrameShape(QFrame::StyledPanel);
    ShortButton = Make<QRadioButton>(Panel1, "ShortButton", 10, 4, 186, 24, QStringLiteral("Short report"));
    FullButton = Make<QRadioButton>(Panel1, "FullButton", 10, 28, 186, 24, QStringLiteral("Detailed report"));
    ShortButton->setChecked(true);
    OkBt = Make<QPushButton>(this, "OkBt", 77, 176, 80, 28, QStringLiteral("Print"));
    connect(OkBt, &QPushButton::clicked, this, &TByNumDlg::OkBtClick);
    connect(this, &Form::Shown, this, &TByNumDlg::FormShow);
}

bool TByNumDlg::ShowLastRecordNumber() {
    qmr::ExecCommand(qmr::ReadLastRecordNumber, "");
    if (Status() & qmr::LinkStatusMask) return false;
    EndBox->setText(QString::number(qmr::ReadLeadingInt(qmr::Link().ReplyText())));
    return true;
}

void TByNumDlg::FormShow() {
    qmr::ExecCommand(qmr::ReadDeviceInfo, "");
    if (Status() & qmr::LinkStatusMask) return;
    ShowLastRecordNumber();
}

void TByNumDlg::OkBtClick() {
    qmr::ExecCommand(qmr::ReadDeviceInfo, "");
    if (Status() & qmr::LinkStatusMask) return;
    if (!(Status() & qmr::swFiscalized)) {
        qmr::ui::MessageBox("QMR-770 is not fiscalised", "Error", qmr::MbOk);
        return;
    }
    const int start = qmr::ReadLeadingInt(qmr::ToCp1251(StartBox->text()));
    const int end = qmr::ReadLeadingInt(qmr::ToCp1251(EndBox->text()));
    const std::string data = NumberRangeData(qmr::ToCp1251(PwdBox->text()), start, end);
    qmr::ExecCommand(ShortButton->isChecked() ? qmr::PrintShortReportByNumber : qmr::PrintDetailedReportByNumber, data);
}

}  // namespace prendix
