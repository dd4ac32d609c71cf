#include "PrinterReplies.h"

#include <cctype>
#include <charconv>
#include <climits>
#include <cmath>
#include <optional>

namespace prendix {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The text after the next separator; nothing when there is none.
std::optional<std::string_view> After(std::string_view text, char separator) {
    const auto at = text.find(separator);
    if (at == std::string_view::npos) return std::nullopt;
    return text.substr(at + 1);
}

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

// The text after the blanks that atol skips.
std::string_view SkipBlanks(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    return text.substr(i);
}

}  // namespace

long LeadingLong(std::string_view text) {
    text = SkipBlanks(text);
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    long value = 0;
    for (const char c : text) {
        if (!IsDigit(c)) break;
        const int digit = c - '0';
        // Beyond the range the value stays at its end, as strtol leaves it.
        if (value > (LONG_MAX - digit) / 10) return negative ? LONG_MIN : LONG_MAX;
        value = value * 10 + digit;
    }
    return negative ? -value : value;
}

double LeadingDouble(std::string_view text) {
    text = SkipBlanks(text);
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    // Only the decimal form: from_chars alone would also take "inf" and "nan".
    if (text.empty() || !(IsDigit(text[0]) || (text[0] == '.' && text.size() > 1 && IsDigit(text[1])))) return 0.0;
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    if (error == std::errc::result_out_of_range) {
        // Too large becomes infinite and too small zero, as with strtod.
        const std::string_view number(text.data(), static_cast<std::size_t>(end - text.data()));
        const auto e = number.find_first_of("eE");
        value = e != std::string_view::npos && e + 1 < number.size() && number[e + 1] == '-' ? 0.0 : HUGE_VAL;
    }
    return negative ? -value : value;
}

DeviceInfo ParseDeviceInfo(std::string_view reply) {
    DeviceInfo info;
    std::optional<std::string_view> rest = After(reply, ' ');
    if (rest) rest = After(*rest, ' ');
    for (int i = 0; i < 3 && rest; ++i) rest = After(*rest, ',');
    if (!rest) return info;

    const Split country = SplitAt(*rest, ',');
    if (country.item.empty() || country.item[0] != ' ') {
        const long number = LeadingLong(country.item);
        info.countryItem = number >= 0 && number < CountryCount ? static_cast<int>(number) : -1;
    }
    if (!country.rest) return info;
    const Split serial = SplitAt(*country.rest, ',');
    info.serialNumber = std::string(serial.item);
    if (serial.rest) info.fmNumber = std::string(*serial.rest);
    return info;
}

TaxEnables ParseTaxEnables(std::string_view reply) {
    TaxEnables enables;
    enables.twoDecimals = LeadingLong(reply) != 0;
    const std::optional<std::string_view> flags = After(reply, ',');
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
        rates[group] = LeadingDouble(rate.item);
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
