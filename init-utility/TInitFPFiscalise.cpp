// Storing the tax number, fiscalising and refiscalising the printer.
#include "Commands.h"
#include "Cp1251.h"
#include "Executor.h"
#include "Prendix.h"
#include "SetupTexts.h"
#include "TInitFP.h"

namespace prendix {

namespace {

bool Has(std::uint32_t bits) { return (qmr::Link().StatusWord & bits) != 0; }

void Error(const char* text) { qmr::ui::MessageBox(text, "Error", qmr::MbOk); }

}  // namespace

std::optional<std::string> TInitFP::TaxNumberText() {
    auto data = TaxNumberData(qmr::ToCp1251(IdNumBox->text()), IdBox->isChecked());
    if (!data) Error("VAT number is too long");
    return data;
}

void TInitFP::LearnBtClick() {
    RequestStatus();
    if (Has(qmr::FatalStatusMask)) return;
    if (Has(qmr::swFiscalized)) {
        Error("Printer already fiscalised");
        return;
    }
    const auto data = TaxNumberText();
    if (!data) return;
    qmr::ExecCommand(qmr::SetTaxNumber, *data);
}

void TInitFP::FiscaliseBtClick() {
    RequestStatus();
    if (Has(qmr::FatalStatusMask)) return;
    if (!Has(qmr::swFmFormatted)) return Error("Fiscal memory is not formatted");
    if (!Has(qmr::swSerialSet)) return Error("Serial number not set");
    if (!Has(qmr::swTaxRatesSet)) return Error("Tax rates not set");
    if (Has(qmr::swFiscalized)) return Refiscalise();

    if (qmr::ui::ShowModal(*RepPwdDlg) != qmr::ui::mrOk) return;
    const std::string password = qmr::ToCp1251(RepPwdDlg->PwdBox->text());
    if (!ValidTaxNumber(qmr::ToCp1251(IdNumBox->text()))) return Error("Tax registration number invalid");
    qmr::ExecCommand(qmr::ReadDeviceInfo, "");
    if (Has(qmr::FatalStatusMask)) return;
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
    qmr::ExecCommand(qmr::SetTaxNumber, *taxNumber);
    if (Has(qmr::FatalStatusMask)) return;
    qmr::ExecCommand(qmr::FiscalisePrinter, *fiscalise);
    if (Has(qmr::FatalStatusMask)) return;
    qmr::Env().clock->SleepMs(3000);
    RefreshFromPrinter();
    qmr::ui::MessageBox("Printer is fiscalized", "Message", qmr::MbOk);
}

void TInitFP::Refiscalise() {
    qmr::ExecCommand(qmr::ReadTaxNumber, "");
    if (Has(qmr::FatalStatusMask)) return;
    const std::string reply = qmr::Link().ReplyText();
    const std::size_t comma = reply.find(',');
    if (comma == std::string::npos) return;
    FiscaliseDlg->IdNumBox->setText(qmr::FromCp1251(reply.substr(0, comma)));
    (comma + 1 < reply.size() && reply[comma + 1] == '1' ? FiscaliseDlg->IdBox : FiscaliseDlg->PnBox)->setChecked(true);
    qmr::ui::ShowModal(*FiscaliseDlg);
}

}  // namespace prendix
