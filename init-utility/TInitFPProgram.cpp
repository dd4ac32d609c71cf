// Programming the identification, decimals and tax rates into the printer.
#include "Commands.h"
#include "Cp1251.h"
#include "Executor.h"
#include "Prendix.h"
#include "SetupTexts.h"
#include "TInitFP.h"

namespace prendix {

namespace {

void TurnOffAndOn() { qmr::ui::MessageBox("Turn the printer off and then on", "Init QMR-770", qmr::MbOk); }

// One command of the programming; the same message follows each of them.
struct Step {
    int command;
    std::string data;
};

}  // namespace

void TInitFP::PgmBtClick() {
    RequestStatus();
    if (qmr::Fatal()) return;
    if (!qmr::StatusHas(qmr::swFmFormatted)) {
        qmr::ui::MessageBox("Fiscal memory is not formatted", "Error", qmr::MbOk);
        return;
    }
    if (qmr::ui::ShowModal(*RepPwdDlg) != qmr::ui::mrOk) return;
    const std::string password = qmr::ToCp1251(RepPwdDlg->PwdBox->text());

    // Every text is built before the first command, so that one too long for
    // the printer cannot leave it half programmed.
    std::vector<Step> steps;
    const auto refuse = [](const char* text) { qmr::ui::MessageBox(text, "Error", qmr::MbOk); };
    if (!qmr::StatusHas(qmr::swSerialSet)) {
        const auto data = SerialAndCountryData(CountryBox->currentIndex(), qmr::ToCp1251(SerialBox->text()));
        if (!data) return refuse("Serial number is too long");
        steps.push_back({qmr::SetSerialAndCountry, *data});
    }
    if (UpdateFM->isChecked()) {
        const auto data = FiscalMemoryNumberData(qmr::ToCp1251(ModuleBox->text()));
        if (!data) return refuse("FM number is too long");
        steps.push_back({qmr::SetFiscalMemoryNumber, *data});
    }
    std::array<bool, 4> enabled{};
    std::array<std::string, 4> rates;
    for (std::size_t g = 0; g < enabled.size(); ++g) {
        enabled[g] = TaxBoxes()[g]->isChecked();
        rates[g] = qmr::ToCp1251(TaxRates()[g]->text());
    }
    const auto data = TaxRatesData(password, qmr::ToCp1251(Decimals->currentText()), enabled, rates);
    if (!data) return refuse("Tax rates are too large");
    steps.push_back({qmr::SetTaxRatesAndDecimals, *data});

    for (const Step& step : steps) {
        if (qmr::ExecFatal(step.command, step.data)) return;
        TurnOffAndOn();
    }
}

void TInitFP::UpdateFMClick() { ModuleBox->setEnabled(UpdateFM->isChecked()); }

}  // namespace prendix
