// Putting the printer into service: serial number and country, fiscal-memory
// number, decimals and tax rates, tax number, fiscalisation and
// refiscalisation, and the eight header and footer lines with the logo
// switch. Each command leaves the lasting status bits a real printer shows
// (serial set, fiscal number set, tax rates set, fiscalised) and refuses
// what a real printer refuses with "command not permitted" and the common
// error: a serial number that is already set, a tax number or a
// fiscal-memory number on a fiscalised printer, fiscalising without a tax
// number, fiscal-memory number or tax rates, a password that is no operator's.
//
// The printer's start states for qmr770-sim are here too, and the state
// sections of the identification, these status bits and the lines.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace qmrsim {

class Printer;

struct Setup {
    static constexpr int Lines = 8;  // 0-5 header, 6-7 footer
    // The most text a header or footer line takes.
    static constexpr std::size_t MaxLineText = 62;
    std::array<std::string, Lines> lines;  // cp1251
};

// Registers SetSerialAndCountry, SetFiscalMemoryNumber, both forms of
// SetTaxRatesAndDecimals, SetTaxNumber, FiscalisePrinter and
// ConfigureReceiptLayout, the header and footer on the paper and the state
// sections.
void RegisterSetupCommands(Printer& printer);

// The start states: "blank" (nothing set, the fiscal memory formatted),
// "ready" (as SetUpServicedPrinter leaves it) and "fiscalised" (ready, with
// a tax number, fiscalised). False for another name.
bool SetUpStartState(Printer& printer, std::string_view name);
// The names SetUpStartState knows, for a usage line.
constexpr const char* StartStateNames = "blank, ready, fiscalised";

}  // namespace qmrsim
