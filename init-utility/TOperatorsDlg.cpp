#include "TOperatorsDlg.h"

#include "Commands.h"
#include "Executor.h"
#include "Prendix.h"
#include "Seam.h"

namespace prendix {

using qmr::ui::Make;

TOperatorsDlg::TOperatorsDlg(QWidget* parent) : Form(parent, "OperatorsDlg", "Operators", 280, 94) {
    OperNum = Make<QComboBox>(this, "OperNum", 16, 14, 248, 24);
    for (int n = 1; n <= 15; ++n) OperNum->addItem(QStringLiteral("Operator %1").arg(n));
    OperPwd = Make<QPushButton>(this, "OperPwd", 16, 52, 120, 28, QStringLiteral("Change Password"));
    OperName = Make<QPushButton>(this, "OperName", 144, 52, 120, 28, QStringLiteral("Change Name"));
    connect(OperPwd, &QPushButton::clicked, this, &TOperatorsDlg::OperPwdClick);
    connect(OperName, &QPushButton::clicked, this, &TOperatorsDlg::OperNameClick);
    FormCreate();
}

void TOperatorsDlg::FormCreate() { OperNum->setCurrentIndex(0); }

void TOperatorsDlg::OperNameClick() {
    OperNameDlg->OperPwd->clear();
    OperNameDlg->OperName->clear();
    qmr::ui::ShowPlaced(*InitFP, *OperNameDlg);
}

void TOperatorsDlg::OperPwdClick() {
    OperPwdDlg->OldPwd->clear();
    OperPwdDlg->NewPwd->clear();
    OperPwdDlg->CheckPwd->clear();
    qmr::ui::ShowPlaced(*InitFP, *OperPwdDlg);
}

void TOperatorsDlg::OperReportClick() { qmr::ExecCommand(qmr::PrintOperatorsReport, ""); }

}  // namespace prendix
