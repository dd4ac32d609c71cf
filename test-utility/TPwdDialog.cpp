#include "TPwdDialog.h"

#include "Cp1251.h"
#include "Edits.h"
#include "Vextora.h"

namespace vextora {

using qmr::ui::Make;

TPwdDialog::TPwdDialog(QWidget* parent) : Form(parent, "PwdDialog", "Password", 265, 72) {
    PwdBox = Make<QLineEdit>(this, "PwdBox", 16, 24, 145, 24);
    qmr::ui::MakePasswordEdit(*PwdBox);
    OkBt = Make<QPushButton>(this, "OkBt", 176, 22, 75, 28, QStringLiteral("OK"));
    SetDefaultButton(OkBt);
    setTabOrder(PwdBox, OkBt);
    connect(OkBt, &QPushButton::clicked, this, &TPwdDialog::OkBtClick);
    connect(this, &Form::Shown, this, &TPwdDialog::FormShow);
}

void TPwdDialog::FormShow() {
    PasswordConfirmed = false;
    EnteredPassword.clear();
    PwdBox->clear();
    PwdBox->setFocus();
    // It stands in the middle of the screen, wherever the main window is.
    qmr::ui::CentreOnScreen(*this);
}

void TPwdDialog::OkBtClick() {
    PasswordConfirmed = true;
    EnteredPassword = qmr::ToCp1251(PwdBox->text());
    close();
}

}  // namespace vextora
