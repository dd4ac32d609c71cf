#include "SetupTexts.h"

#include <cstdio>

#include "LinkState.h"
#include "Numbers.h"

namespace prendix {

namespace {

std::optional<std::string> Within(std::string text, std::size_t limit) {
    if (text.size() > limit) return std::nullopt;
    return text;
}

constexpr std::size_t MaxData = qmr::MaxRequestData;

}  // namespace

bool ValidTaxNumber(std::string_view number) {
    return number.size() >= 10 && number.find_first_not_of('0') != std::string_view::npos;
}

std::string IdentificationField(std::string_view reply) {
    const auto fields = qmr::SplitFields(reply);
    return fields.size() > 5 ? std::string(fields[5]) : std::string();
}

std::optional<std::string> TaxNumberData(std::string_view number, bool idType) {
    return Within(std::string(number) + (idType ? ",1" : ",0"), MaxShortData);
}

std::optional<std::string> FiscaliseData(std::string_view password, std::string_view identification) {
    return Within(std::string(password) + "," + std::string(identification), MaxShortData);
}

std::optional<std::string> RefiscaliseData(std::string_view password, std::string_view identification,
                                           std::string_view number, bool idType) {
    return Within(std::string(password) + "," + std::string(identification) + "," + std::string(number) +
                      (idType ? ",1" : ",0"),
                  MaxShortData);
}

std::optional<std::string> SerialAndCountryData(int country, std::string_view serial) {
    return Within(std::to_string(country) + "," + std::string(serial), MaxData);
}

std::optional<std::string> FiscalMemoryNumberData(std::string_view number) {
    return Within(std::string(number), MaxData);
}

std::optional<std::string> FormatRateField(double rate) {
    auto text = qmr::FormatFixed(rate, 0, 2, MaxData + 1);
    if (!text) return std::nullopt;
    const std::size_t digitsAt = (*text)[0] == '-' ? 1 : 0;
    if (text->size() < 5) text->insert(digitsAt, 5 - text->size(), '0');
    return text;
}

std::optional<std::string> TaxRatesData(std::string_view password, std::string_view decimals,
                                        const std::array<bool, 4>& enabled,
                                        const std::array<std::string, 4>& rates) {
    char places[16];
    std::snprintf(places, sizeof places, "%02d", qmr::ReadLeadingInt(decimals));
    std::string data = std::string(password) + "," + places + ",";
    for (const bool on : enabled) data += on ? '1' : '0';
    for (const std::string& rate : rates) {
        const auto field = FormatRateField(qmr::ReadLeadingNumber(rate));
        if (!field) return std::nullopt;
        data += "," + *field;
    }
    return Within(std::move(data), MaxData);
}

}  // namespace prendix
