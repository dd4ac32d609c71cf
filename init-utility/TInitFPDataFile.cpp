// Preloading the fields and the header lines from a printer data file.
#include "Cp1251.h"
#include "Numbers.h"
#include "PrinterData.h"
#include "SafeSave.h"
#include "THeaderDlg.h"
#include "TInitFP.h"

namespace prendix {

void TInitFP::FromFileBtClick() {
    OpenFileDlg.DefaultExt = "FPD";
    OpenFileDlg.FileName.clear();
    OpenFileDlg.Filter = "Fiscal printer data (*.fpd)|*.FPD";
    OpenFileDlg.FilterIndex = 0;
    if (!OpenFileDlg.Execute()) return;
    LoadPrinterDataFile(OpenFileDlg.FileName);
}

void TInitFP::LoadPrinterDataFile(const QString& path) {
    const auto file = qmr::ReadWholeFile(path);
    if (!file) return;
    HeaderLines = {};
    for (const DataLine& line : ReadPrinterData(*file)) {
        const QString value = qmr::FromCp1251(line.value);
        const int number = qmr::ReadLeadingInt(line.value);
        const auto key = static_cast<int>(line.key);
        switch (line.key) {
        case DataKey::SerialNum:
            if (SerialBox->isEnabled()) SerialBox->setText(value);
            break;
        case DataKey::ModuleNum:
            if (ModuleBox->isEnabled()) ModuleBox->setText(value);
            break;
        case DataKey::CountryNum:
            if (CountryBox->isEnabled()) CountryBox->setCurrentIndex(CountryItem(number));
            break;
        case DataKey::TaxNum:
            // Tested on the country, not on IdNumBox: only a printer whose serial
            // number is not yet set takes its tax number from a file.
            if (CountryBox->isEnabled()) IdNumBox->setText(value);
            break;
        case DataKey::RegType:
            (number != 0 ? IdBox : PnBox)->setChecked(true);
            break;
        case DataKey::Decimals:
            Decimals->setCurrentIndex(number != 0 ? 1 : 0);
            break;
        case DataKey::TaxRates: {
            const auto flags = TaxRateFlags(line.value);
            for (std::size_t g = 0; g < flags.size(); ++g) TaxBoxes()[g]->setChecked(flags[g]);
            break;
        }
        case DataKey::TaxA:
        case DataKey::TaxB:
        case DataKey::TaxC:
        case DataKey::TaxD:
            TaxRates()[static_cast<std::size_t>(key - static_cast<int>(DataKey::TaxA))]->setText(value);
            break;
        default:
            HeaderLines[static_cast<std::size_t>(key - static_cast<int>(DataKey::H1))] = StripPercent(line.value);
            break;
        }
    }
}

}  // namespace prendix
