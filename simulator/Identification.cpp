#include "Identification.h"

#include "Commands.h"
#include "Printer.h"

namespace qmrsim {

namespace {

std::string CountryItem(int country) { return country < 0 ? std::string(" ") : std::to_string(country); }

// The diagnostics page: what the printer knows about itself.
void PrintDiagnostics(Printer& printer) {
    const Identification& id = printer.identification;
    printer.paper.push_back("DIAGNOSTICS");
    printer.paper.push_back(id.model + " " + id.firmware + " " + id.firmwareDate);
    printer.paper.push_back("CHECKSUM " + id.checksum + "  SWITCHES " + id.switches);
    printer.paper.push_back("S/N " + (id.serialNumber.empty() ? std::string("NOT SET") : id.serialNumber) +
                            "  COUNTRY " + (id.country < 0 ? std::string("NOT SET") : std::to_string(id.country)));
    printer.paper.push_back("FM " + (id.fmNumber.empty() ? std::string("NOT SET") : id.fmNumber) +
                            (printer.StatusBit(st::FmFormatted) ? "  FORMATTED" : "  NOT FORMATTED"));
    static const char Groups[] = "ABCD";
    for (std::size_t g = 0; g < id.taxRates.size(); ++g)
        printer.paper.push_back(std::string("TAX ") + Groups[g] + " " + Hundredths(id.taxRates[g]) + "%" +
                                (id.taxEnabled[g] ? "" : " (OFF)"));
    printer.paper.push_back(printer.StatusBit(st::Fiscalized) ? "FISCAL MODE" : "NOT FISCALISED");
    printer.paper.push_back("DIAGNOSTICS OK");
}

}  // namespace

std::string DeviceInfoReply(const Identification& id) {
    return id.model + " " + id.firmware + " " + id.firmwareDate + "," + id.checksum + "," + id.switches + "," +
           CountryItem(id.country) + "," + id.serialNumber + "," + id.fmNumber;
}

std::string TaxEnablesReply(const Identification& id) {
    std::string reply = std::to_string(id.decimals) + ",";
    for (const bool enabled : id.taxEnabled) reply += enabled ? '1' : '0';
    return reply;
}

std::string TaxRatesReply(const Identification& id) {
    std::string reply;
    for (std::size_t g = 0; g < id.taxRates.size(); ++g) {
        if (g) reply += ',';
        reply += Hundredths(id.taxRates[g]);
    }
    return reply;
}

std::string TaxNumberReply(const Identification& id) {
    return id.taxNumber + "," + std::to_string(id.registrationType);
}

void SetUpServicedPrinter(Printer& printer) {
    Identification& id = printer.identification;
    id.country = 2;
    id.serialNumber = "ZK000417";
    id.fmNumber = "50001234";
    id.decimals = 2;
    id.taxEnabled = {true, true, true, false};
    id.taxRates = {2000, 700, 0, 0};
    printer.SetStatusBit(st::SerialSet);
    printer.SetStatusBit(st::FmFormatted);
    printer.SetStatusBit(st::FiscalNumberSet);
    printer.SetStatusBit(st::TaxRatesSet);
}

void RegisterIdentificationCommands(Printer& printer) {
    printer.SetHandler(qmr::ReadDeviceInfo, [](Printer& p, const Request&) { return DeviceInfoReply(p.identification); });
    printer.SetHandler(qmr::ReadTaxRates, [](Printer& p, const Request&) { return TaxRatesReply(p.identification); });
    printer.SetHandler(qmr::ReadTaxNumber, [](Printer& p, const Request&) { return TaxNumberReply(p.identification); });
    printer.SetHandler(qmr::RunDiagnostics, [](Printer& p, const Request&) {
        if (!p.StatusBit(st::PaperOut)) PrintDiagnostics(p);
        return std::string();
    });
}

}  // namespace qmrsim
