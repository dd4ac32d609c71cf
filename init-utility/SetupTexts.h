// The data texts with which Prendix programs and fiscalises a printer, and
// the rules it applies to them, apart from any window. Every builder gives
// nothing when its text would not fit where it goes, so that a flow can
// build all of its texts before it sends the first command that changes the
// printer.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace prendix {

// The tax number and fiscalisation texts are built in 64-byte areas.
constexpr std::size_t MaxShortData = 63;

// At least ten characters, and one of them not '0' (letters, blanks and
// signs count as not '0').
bool ValidTaxNumber(std::string_view number);

// The sixth comma-separated field of a ReadDeviceInfo reply: after the fifth
// comma, up to the next one or the end; empty with fewer than five commas.
std::string IdentificationField(std::string_view reply);

// SetTaxNumber: the number, then ",1" for ID or ",0" for PN.
std::optional<std::string> TaxNumberData(std::string_view number, bool idType);
// FiscalisePrinter: "%s,%s", password and identification field.
std::optional<std::string> FiscaliseData(std::string_view password, std::string_view identification);
// FiscalisePrinter in refiscalisation: "%s,%s,%s,%d", password,
// identification field, the new tax number and 1 for ID, 0 for PN.
std::optional<std::string> RefiscaliseData(std::string_view password, std::string_view identification,
                                           std::string_view number, bool idType);

// SetSerialAndCountry: "%d,%s" with the country item and the serial number.
std::optional<std::string> SerialAndCountryData(int country, std::string_view serial);
// SetFiscalMemoryNumber: the number as it stands.
std::optional<std::string> FiscalMemoryNumberData(std::string_view number);
// SetTaxRatesAndDecimals: "%s,%02d,%s" with the password, the decimals text
// read as an integer and the four enable characters, then ",%05.2lf" for
// each rate text read as a number. Nothing for a rate that no printf could
// print within the data limit (1e300, an infinity).
std::optional<std::string> TaxRatesData(std::string_view password, std::string_view decimals,
                                        const std::array<bool, 4>& enabled,
                                        const std::array<std::string, 4>& rates);
// "%05.2lf": two decimals, zeros after the sign up to five characters.
std::optional<std::string> FormatRateField(double rate);

}  // namespace prendix
