#include "PrinterReplies.h"

#include <cmath>

#include "Numbers.h"

namespace prendix {

int CountryItem(int number) { return number >= 0 && number < CountryCount ? number : -1; }

DeviceInfo ParseDeviceInfo(std::string_view reply) {
    DeviceInfo info;
    const auto blanks = qmr::SplitFields(reply, ' ', 3);
    if (blanks.size() < 3) return info;
    // Three items, then the country, the serial number and the fiscal-memory
    // number, which takes the rest of the reply.
    const auto items = qmr::SplitFields(blanks[2], ',', 6);
    if (items.size() < 4) return info;
    const std::string_view country = items[3];
    if (country.empty() || country[0] != ' ') info.countryItem = CountryItem(qmr::ReadLeadingInt(country));
    if (items.size() > 4) info.serialNumber = std::string(items[4]);
    if (items.size() > 5) info.fmNumber = std::string(items[5]);
    return info;
}

TaxEnables ParseTaxEnables(std::string_view reply) {
    TaxEnables enables;
    enables.twoDecimals = qmr::ReadLeadingInt(reply) != 0;
    const auto fields = qmr::SplitFields(reply, ',', 2);
    const std::string_view flags = fields.size() > 1 ? fields[1] : std::string_view{};
    for (std::size_t group = 0; group < enables.enabled.size(); ++group)
        enables.enabled[group] = group < flags.size() && flags[group] == '1';
    return enables;
}

std::array<double, 4> ParseTaxRates(std::string_view reply) {
    std::array<double, 4> rates{};
    // Group D takes the rest of the text, commas and all.
    const auto fields = qmr::SplitFields(reply, ',', rates.size());
    for (std::size_t group = 0; group < fields.size(); ++group) rates[group] = qmr::ReadLeadingNumber(fields[group]);
    return rates;
}

std::string FormatTaxRate(double rate) {
    // A rate past double's range shows as printf shows it.
    if (std::isinf(rate)) return rate < 0 ? "-inf" : "inf";
    return qmr::FormatFixed(rate, 0, 2, std::string::npos).value_or("");
}

TaxNumber ParseTaxNumber(std::string_view reply) {
    const auto fields = qmr::SplitFields(reply, ',', 2);
    TaxNumber number{std::string(fields[0])};
    number.hasType = fields.size() > 1;
    number.idType = number.hasType && !fields[1].empty() && fields[1][0] == '1';
    return number;
}

}  // namespace prendix
