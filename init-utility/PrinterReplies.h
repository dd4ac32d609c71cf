// How Prendix reads the printer's replies to the identification and tax
// commands, apart from any window. Every reader scans forward for the next
// separator and never runs past the end of the reply: an item the reply does
// not reach is empty.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace prendix {

// The CountryBox item that shows an unset country.
constexpr int CountryNotSet = 10;
constexpr int CountryCount = 11;
// The CountryBox item a country number names, -1 for a number that names none.
int CountryItem(int number);

// ReadDeviceInfo: two items ended by blanks, three by commas, then the
// country, the serial number and, after one more comma, the fiscal-memory number.
struct DeviceInfo {
    // The CountryBox item to select: CountryNotSet when the country item
    // starts with a blank or the reply ends before it, otherwise the item its
    // leading number names (CountryItem).
    int countryItem = CountryNotSet;
    std::string serialNumber;
    std::string fmNumber;
};
DeviceInfo ParseDeviceInfo(std::string_view reply);

// SetTaxRatesAndDecimals with empty data: the decimals number, a comma, then
// one character per tax group A to D, '1' for an enabled group.
struct TaxEnables {
    bool twoDecimals = false;  // the decimals number is not 0
    std::array<bool, 4> enabled{};
};
TaxEnables ParseTaxEnables(std::string_view reply);

// ReadTaxRates: the rates of groups A, B and C each ended by a comma, then D.
std::array<double, 4> ParseTaxRates(std::string_view reply);
// A rate as the tax-rate edits show it ("%03.2f": 20.00, 7.50, -5.00).
std::string FormatTaxRate(double rate);

// ReadTaxNumber: the tax registration number, a comma, the registration type
// ('1' for ID, anything else for PN).
struct TaxNumber {
    std::string number;
    bool idType = false;
    bool hasType = false;  // the reply had the comma, so it says a type at all
};
TaxNumber ParseTaxNumber(std::string_view reply);

}  // namespace prendix
