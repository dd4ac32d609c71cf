#include "TRepPwdDlg.h"

#include "Edits.h"
#include "Seam.h"

namespace prendix {

using qmr::ui::Make;

TRepPwdDlg::TRepPwdDlg(QWidget* parent) : Form(parent, "RepPwdDlg", "Enter password", 265, 72) {
    PwdBox = Make<QLineEdit>(this, "PwdBox", 16, 24, 145, 24);
    qmr::ui::LimitTyping(*PwdBox, 8);
    qmr::ui::MakePasswordEdit(*PwdBox);
    OkBt = Make<QPushButton>(this, "OkBt", 176, 22, 75, 28, QStringLiteral("OK"));
    SetDefaultButton(OkBt);
    setTabOrder(PwdBox, OkBt);
    connect(OkBt, &QPushButton::clicked, this, &TRepPwdDlg::OkBtClick);
    connect(this, &Form::Shown, this, [this] {
        PwdBox->setFocus();
        // It stands in the middle of the screen, wherever the main window is.
        qmr::ui::CentreOnScreen(*this);
    });
}

void TRepPwdDlg::OkBtClick() { done(qmr::ui::mrOk); }

}  // namespace prendix
