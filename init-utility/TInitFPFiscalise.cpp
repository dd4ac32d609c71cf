// Storing the tax number, fiscalising and refiscalising the printer.
#include "Commands.h"
#include "Cp1251.h"
#include "Executor.h"
#include "Prendix.h"
#include "SetupTexts.h"
#include "TInitFP.h"

namespace prendix {

namespace {

void Error(const char* text) { qmr::ui::MessageBox(text, "Error", qmr::MbOk); }

}  // namespace

std::optional<std::string> TInitFP::TaxNumberText() {
    auto data = TaxNumberData(qmr::ToCp1251(IdNumBox->text()), IdBox->isChecked());
    if (!data) Error("VAT number is too long");
    return data;
}

void TInitFP::LearnBtClick() {
    RequestStatus();
    if (qmr::Fatal()) return;
    if (qmr::StatusHas(qmr::swFiscalized)) {
        Error("Printer already fiscalised");
        return;
    }
    const auto data = TaxNumberText();
    if (!data) return;
    qmr::ExecCommand(qmr::SetTaxNumber, *data);
}

void TInitFP::FiscaliseBtClick() {
    RequestStatus();
    if (qmr::Fatal()) return;
    if (!qmr::StatusHas(qmr::swFmFormatted)) return Error("Fiscal memory is not formatted");
    if (!qmr::StatusHas(qmr::swSerialSet)) return Error("Serial number not set");
    if (!qmr::StatusHas(qmr::swTaxRatesSet)) return Error("Tax rates not set");
    if (qmr::StatusHas(qmr::swFiscalized)) return Refiscalise();

    if (qmr::ui::ShowModal(*RepPwdDlg) != qmr::ui::mrOk) return;
    const std::string password = qmr::ToCp1251(RepPwdDlg->PwdBox->text());
    if (!ValidTaxNumber(qmr::ToCp1251(IdNumBox->text()))) return Error("Tax registration number invalid");
    if (qmr::ExecFatal(qmr::ReadDeviceInfo)) return;
    // Both texts are built before the tax number is stored, so that a text
    // too long for the printer cannot leave it with a new tax number and
    // not fiscalised.
    const auto taxNumber = TaxNumberText();
    if (!taxNumber) return;
    const auto fiscalise = FiscaliseData(password, IdentificationField(qmr::Link().ReplyText()));
    if (!fiscalise) return Error("Printer identification is too long");
    if (qmr::ui::MessageBox("Printer will go to fiscal mode\nContinue?", "Warning", qmr::MbYesNo, qmr::IdNo) !=
        qmr::IdYes)
        return;
    if (qmr::ExecFatal(qmr::SetTaxNumber, *taxNumber)) return;
    if (qmr::ExecFatal(qmr::FiscalisePrinter, *fiscalise)) return;
    qmr::Env().clock->SleepMs(3000);
    RefreshFromPrinter();
    qmr::ui::MessageBox("Printer is fiscalized", "Message", qmr::MbOk);
}

void TInitFP::Refiscalise() {
    if (qmr::ExecFatal(qmr::ReadTaxNumber)) return;
    const TaxNumber current = ParseTaxNumber(qmr::Link().ReplyText());
    if (!current.hasType) return;
    FiscaliseDlg->IdNumBox->setText(qmr::FromCp1251(current.number));
    (current.idType ? FiscaliseDlg->IdBox : FiscaliseDlg->PnBox)->setChecked(true);
    qmr::ui::ShowModal(*FiscaliseDlg);
}

}  // namespace prendix
