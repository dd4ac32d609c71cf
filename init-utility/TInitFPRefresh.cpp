// Reading the printer's identification and tax settings into the main window.
#include "Commands.h"
#include "Cp1251.h"
#include "Executor.h"
#include "TInitFP.h"

namespace prendix {

void TInitFP::RefreshBtClick() {
    if (!qmr::Link().Connected) {
        qmr::ui::MessageBox("Serial port not open", "Error", qmr::MbOk);
        return;
    }
    RefreshFromPrinter();
}

void TInitFP::RefreshFromPrinter() {
    ClearPrinterFields();
    // A failed link ends the read (the fiscalisation flow reads without
    // testing Connected): each further step would only repeat its message.
    RequestStatus();
    if (qmr::LinkFailed()) return;
    if (qmr::StatusHas(qmr::swPaperOut)) {
        qmr::ui::MessageBox("Out of paper", "Error", qmr::MbOk);
        return;
    }
    ReadIdentification();
    if (qmr::LinkFailed() || !qmr::StatusHas(qmr::swTaxRatesSet)) return;
    if (qmr::ExecLinkFailed(qmr::SetTaxRatesAndDecimals)) return;
    ShowTaxEnables(ParseTaxEnables(qmr::Link().ReplyText()));
    if (qmr::ExecLinkFailed(qmr::ReadTaxRates)) return;
    ShowTaxRates(ParseTaxRates(qmr::Link().ReplyText()));
    if (qmr::ExecLinkFailed(qmr::ReadTaxNumber)) return;
    ShowTaxNumber(ParseTaxNumber(qmr::Link().ReplyText()));
}

void TInitFP::ClearPrinterFields() {
    ModuleBox->clear();
    SerialBox->clear();
    CountryBox->setCurrentIndex(CountryNotSet);
    Decimals->setCurrentIndex(0);
    for (QCheckBox* box : TaxBoxes()) box->setChecked(false);
    for (QLineEdit* rate : TaxRates()) rate->clear();
    IdNumBox->clear();
    SerialBox->setEnabled(true);
    ModuleBox->setEnabled(true);
    CountryBox->setEnabled(true);
}

int TInitFP::ReadIdentification() {
    const int result = qmr::ExecCommand(qmr::ReadDeviceInfo, "");
    if (result != qmr::ResultOk) return result;
    const DeviceInfo info = ParseDeviceInfo(qmr::Link().ReplyText());
    CountryBox->setCurrentIndex(info.countryItem);
    SerialBox->setText(qmr::FromCp1251(info.serialNumber));
    ModuleBox->setText(qmr::FromCp1251(info.fmNumber));

    const bool serialSet = qmr::StatusHas(qmr::swSerialSet);
    const bool fiscalised = qmr::StatusHas(qmr::swFiscalized);
    SerialBox->setEnabled(!serialSet);
    CountryBox->setEnabled(!serialSet);
    ModuleBox->setEnabled(UpdateFM->isChecked());
    IdNumBox->setEnabled(!fiscalised);
    LearnBt->setEnabled(!fiscalised);
    return qmr::ResultOk;
}

void TInitFP::ShowTaxEnables(const TaxEnables& enables) {
    Decimals->setCurrentIndex(enables.twoDecimals ? 1 : 0);
    const auto boxes = TaxBoxes();
    for (std::size_t group = 0; group < boxes.size(); ++group) boxes[group]->setChecked(enables.enabled[group]);
}

void TInitFP::ShowTaxRates(const std::array<double, 4>& rates) {
    const auto edits = TaxRates();
    for (std::size_t group = 0; group < edits.size(); ++group)
        edits[group]->setText(QString::fromStdString(FormatTaxRate(rates[group])));
}

void TInitFP::ShowTaxNumber(const TaxNumber& number) {
    IdNumBox->setText(qmr::FromCp1251(number.number));
    (number.idType ? IdBox : PnBox)->setChecked(true);
}

}  // namespace prendix
