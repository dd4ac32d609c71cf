#include "TFiscaliseDlg.h"

#include "Commands.h"
#include "Cp1251.h"
#include "Edits.h"
#include "Executor.h"
#include "Prendix.h"
#include "Seam.h"
#include "SetupTexts.h"

namespace prendix {

using qmr::ui::Make;

TFiscaliseDlg::TFiscaliseDlg(QWidget* parent) : Form(parent, "FiscaliseDlg", "Refiscalisation", 290, 140) {
    Label1 = Make<QLabel>(this, "Label1", 12, 14, 84, 24, QStringLiteral("VAT Number:"));
    IdNumBox = Make<QLineEdit>(this, "IdNumBox", 98, 14, 180, 24);
    qmr::ui::LimitTyping(*IdNumBox, 18);
    RadioGroup1 = Make<QGroupBox>(this, "RadioGroup1", 12, 46, 266, 48, QStringLiteral(" Reg. Type "));
    PnBox = Make<QRadioButton>(RadioGroup1, "PnBox", 16, 20, 60, 22, QStringLiteral("PN"));
    IdBox = Make<QRadioButton>(RadioGroup1, "IdBox", 120, 20, 60, 22, QStringLiteral("ID"));
    PnBox->setChecked(true);
    OkBt = Make<QPushButton>(this, "OkBt", 58, 104, 84, 28, QStringLiteral("Fiscalize"));
    CancelBt = Make<QPushButton>(this, "CancelBt", 150, 104, 84, 28, QStringLiteral("CancelBt"));
    SetDefaultButton(CancelBt);
    SetCancelButton(CancelBt);
    connect(OkBt, &QPushButton::clicked, this, &TFiscaliseDlg::OkBtClick);
    connect(CancelBt, &QPushButton::clicked, this, &TFiscaliseDlg::CancelBtClick);
    connect(this, &Form::Shown, this, [this] { qmr::ui::CentreOnScreen(*this); });
}

void TFiscaliseDlg::OkBtClick() {
    if (qmr::ui::ShowModal(*RepPwdDlg) != qmr::ui::mrOk) return;
    const std::string password = qmr::ToCp1251(RepPwdDlg->PwdBox->text());
    const std::string number = qmr::ToCp1251(IdNumBox->text());
    if (!ValidTaxNumber(number)) {
        qmr::ui::MessageBox("Tax registration number invalid", "Error", qmr::MbOk);
        return;
    }
    if (qmr::ExecFatal(qmr::ReadDeviceInfo)) return;
    const std::string identification = IdentificationField(qmr::Link().ReplyText());
    const auto data = RefiscaliseData(password, identification, number, IdBox->isChecked());
    if (!data) {
        // The number is the user's to shorten; an identification that leaves it no room is the printer's.
        const bool numberToBlame = FiscaliseData(password, identification + ",,0").has_value();
        qmr::ui::MessageBox(numberToBlame ? "VAT number is too long" : "Printer identification is too long", "Error",
                            qmr::MbOk);
        return;
    }
    if (qmr::ui::MessageBox("Refiscalise?", "Warning", qmr::MbYesNo, qmr::IdNo) == qmr::IdYes)
        qmr::ExecCommand(qmr::FiscalisePrinter, *data);
    close();
}

void TFiscaliseDlg::CancelBtClick() { close(); }

}  // namespace prendix
