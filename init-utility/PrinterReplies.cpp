#include "PrinterReplies.h"

#include <charconv>
#include <optional>

#include "Numbers.h"

namespace prendix {

namespace {

// The item up to the next separator (or the end of the text), and the rest
// after that separator (nothing when the item ran to the end).
struct Split {
    std::string_view item;
    std::optional<std::string_view> rest;
};

Split SplitAt(std::string_view text, char separator) {
    const auto at = text.find(separator);
    if (at == std::string_view::npos) return {text, std::nullopt};
    return {text.substr(0, at), text.substr(at + 1)};
}

}  // namespace

DeviceInfo ParseDeviceInfo(std::string_view reply) {
    DeviceInfo info;
    std::optional<std::string_view> rest = reply;
    for (const char separator : {' ', ' ', ',', ',', ','})
        if (rest) rest = SplitAt(*rest, separator).rest;
    if (!rest) return info;

    const Split country = SplitAt(*rest, ',');
    if (country.item.empty() || country.item[0] != ' ') {
        const int number = qmr::ReadLeadingInt(country.item);
        info.countryItem = number >= 0 && number < CountryCount ? number : -1;
    }
    if (!country.rest) return info;
    const Split serial = SplitAt(*country.rest, ',');
    info.serialNumber = std::string(serial.item);
    if (serial.rest) info.fmNumber = std::string(*serial.rest);
    return info;
}

TaxEnables ParseTaxEnables(std::string_view reply) {
    TaxEnables enables;
    enables.twoDecimals = qmr::ReadLeadingInt(reply) != 0;
    const std::optional<std::string_view> flags = SplitAt(reply, ',').rest;
    for (std::size_t group = 0; group < enables.enabled.size(); ++group)
        enables.enabled[group] = flags && group < flags->size() && (*flags)[group] == '1';
    return enables;
}

std::array<double, 4> ParseTaxRates(std::string_view reply) {
    std::array<double, 4> rates{};
    std::optional<std::string_view> rest = reply;
    for (std::size_t group = 0; group < rates.size() && rest; ++group) {
        // Group D takes the rest of the text, commas and all.
        const Split rate = group + 1 < rates.size() ? SplitAt(*rest, ',') : Split{*rest, std::nullopt};
        rates[group] = qmr::ReadLeadingNumber(rate.item);
        rest = rate.rest;
    }
    return rates;
}

std::string FormatTaxRate(double rate) {
    char text[400];
    const auto [end, error] = std::to_chars(text, text + sizeof text, rate, std::chars_format::fixed, 2);
    if (error != std::errc()) return {};
    return std::string(text, end);
}

TaxNumber ParseTaxNumber(std::string_view reply) {
    const Split number = SplitAt(reply, ',');
    return {std::string(number.item), number.rest && !number.rest->empty() && (*number.rest)[0] == '1'};
}

}  // namespace prendix
