#include "TOperNameDlg.h"

#include "Commands.h"
#include "Cp1251.h"
#include "Edits.h"
#include "Executor.h"
#include "Prendix.h"
#include "ServiceTexts.h"

namespace prendix {

using qmr::ui::Make;

TOperNameDlg::TOperNameDlg(QWidget* parent) : Form(parent, "OperNameDlg", "Change operator name", 300, 120) {
    Label1 = Make<QLabel>(this, "Label1", 12, 14, 70, 24, QStringLiteral("Password:"));
    OperPwd = Make<QLineEdit>(this, "OperPwd", 88, 14, 90, 24);
    qmr::ui::LimitTyping(*OperPwd, 6);
    qmr::ui::MakePasswordEdit(*OperPwd);
    Label2 = Make<QLabel>(this, "Label2", 12, 46, 70, 24, QStringLiteral("Name:"));
    OperName = Make<QLineEdit>(this, "OperName", 88, 46, 200, 24);
    qmr::ui::LimitTyping(*OperName, 24);
    OkBt = Make<QPushButton>(this, "OkBt", 213, 82, 75, 28, QStringLiteral("Update"));
    connect(OkBt, &QPushButton::clicked, this, &TOperNameDlg::OkBtClick);
}

void TOperNameDlg::OkBtClick() {
    const std::string data =
        OperatorText(OperatorsDlg->OperatorNumber(), qmr::ToCp1251(OperPwd->text()), qmr::ToCp1251(OperName->text()));
    qmr::ExecCommand(qmr::SetOperatorName, data);
    close();
}

}  // namespace prendix
