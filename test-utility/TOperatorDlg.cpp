#include "TOperatorDlg.h"

#include "Cp1251.h"
#include "Edits.h"
#include "Vextora.h"

namespace vextora {

using qmr::ui::Make;

TOperatorDlg::TOperatorDlg(QWidget* parent) : Form(parent, "OperatorDlg", "Select operator", 193, 93) {
    Label1 = Make<QLabel>(this, "Label1", 12, 8, 64, 24, QStringLiteral("Operator:"));
    OperNmb = Make<QComboBox>(this, "OperNmb", 80, 8, 60, 24);
    for (int n = 1; n <= 13; ++n) OperNmb->addItem(QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')));
    Label2 = Make<QLabel>(this, "Label2", 12, 36, 64, 24, QStringLiteral("Password:"));
    OperP = Make<QLineEdit>(this, "OperP", 80, 36, 100, 24);
    qmr::ui::MakePasswordEdit(*OperP);
    OkBt = Make<QPushButton>(this, "OkBt", 105, 65, 75, 24, QStringLiteral("OK"));
    SetDefaultButton(OkBt);
    connect(OkBt, &QPushButton::clicked, this, &TOperatorDlg::OkBtClick);
    connect(this, &Form::Shown, this, &TOperatorDlg::FormShow);
}

void TOperatorDlg::FormShow() {
    PasswordConfirmed = false;
    OperNmb->setCurrentIndex(0);
    OperP->clear();
}

void TOperatorDlg::OkBtClick() {
    EnteredPassword = qmr::ToCp1251(OperP->text());
    PasswordConfirmed = true;
    close();
}

}  // namespace vextora
