// The printer's identity and tax settings: model and firmware, country,
// serial number, fiscal-memory number, tax registration number and type,
// decimals, tax-group enables and rates, and the commands that read them.
//
// What the status bytes report of this state - serial number set, fiscalised,
// tax rates set, fiscal memory formatted, fiscal number set, paper out - is
// kept as the printer's lasting status bits (Printer::SetStatusBit with
// st::SerialSet, st::Fiscalized, st::TaxRatesSet, st::FmFormatted,
// st::FiscalNumberSet, st::PaperOut), so every reply carries it. A new
// Printer has nothing set and a quiet status; SetUpServicedPrinter gives it
// the state of a printer ready to be put into service.
#pragma once

#include <array>
#include <string>

namespace qmrsim {

class Printer;

struct Identification {
    // The first three items of the device information, ended by blanks and a comma.
    std::string model = "QMR-770";
    std::string firmware = "V1.00";
    std::string firmwareDate = "10Dec26";
    std::string checksum = "4F2A";
    std::string switches = "00000000";
    // The country number, -1 while none is set (reported as a blank).
    int country = -1;
    std::string serialNumber;  // cp1251
    std::string fmNumber;      // cp1251
    std::string taxNumber;     // cp1251
    int registrationType = 0;  // 0 PN, 1 ID
    int decimals = 0;
    std::array<bool, 4> taxEnabled{};
    // Groups A to D, in hundredths of a percent.
    std::array<int, 4> taxRates{};
};

// Registers ReadDeviceInfo, ReadTaxRates, ReadTaxNumber and RunDiagnostics
// (the commands that set what they read are the Setup feature's).
void RegisterIdentificationCommands(Printer& printer);

// A printer as the factory hands it over for service: serial number, country
// and fiscal-memory number set, the fiscal memory formatted, decimals and tax
// rates set, no tax number, not fiscalised.
void SetUpServicedPrinter(Printer& printer);

// The replies as the printer sends them.
std::string DeviceInfoReply(const Identification& id);
std::string TaxEnablesReply(const Identification& id);
std::string TaxRatesReply(const Identification& id);
std::string TaxNumberReply(const Identification& id);

}  // namespace qmrsim
