#include "TOperPwdDlg.h"

#include "Commands.h"
#include "Cp1251.h"
#include "Edits.h"
#include "Executor.h"
#include "Prendix.h"
#include "Seam.h"
#include "ServiceTexts.h"

namespace prendix {

using qmr::ui::Make;

namespace {

QLineEdit* MakePasswordBox(QWidget* parent, const char* name, int y) {
    auto* edit = Make<QLineEdit>(parent, name, 136, y, 90, 24);
    qmr::ui::LimitTyping(*edit, 6);
    qmr::ui::MakePasswordEdit(*edit);
    return edit;
}

}  // namespace

TOperPwdDlg::TOperPwdDlg(QWidget* parent) : Form(parent, "OperPwdDlg", "Change operator password", 240, 152) {
    Label1 = Make<QLabel>(this, "Label1", 12, 14, 120, 24, QStringLiteral("Old password:"));
    Label2 = Make<QLabel>(this, "Label2", 12, 46, 120, 24, QStringLiteral("New password:"));
    Label3 = Make<QLabel>(this, "Label3", 12, 78, 120, 24, QStringLiteral("Confirm password:"));
    OldPwd = MakePasswordBox(this, "OldPwd", 14);
    NewPwd = MakePasswordBox(this, "NewPwd", 46);
    CheckPwd = MakePasswordBox(this, "CheckPwd", 78);
    OkBt = Make<QPushButton>(this, "OkBt", 151, 114, 75, 28, QStringLiteral("Update"));
    connect(OkBt, &QPushButton::clicked, this, &TOperPwdDlg::OkBtClick);
}

void TOperPwdDlg::OkBtClick() {
    // Exactly as typed: letter case counts, and two empty texts are the same.
    if (NewPwd->text() != CheckPwd->text()) {
        qmr::ui::MessageBox("New password and confirmation different", "Error", qmr::MbOk);
        return;
    }
    const std::string data =
        OperatorText(OperatorsDlg->OperatorNumber(), qmr::ToCp1251(OldPwd->text()), qmr::ToCp1251(NewPwd->text()));
    qmr::ExecCommand(qmr::SetOperatorPassword, data);
    close();
}

}  // namespace prendix
