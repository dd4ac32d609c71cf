#include "PrinterData.h"

#include <optional>

namespace prendix {

namespace {

struct KeyName {
    const char* name;
    DataKey key;
};

const KeyName Keys[] = {
    {"SERIALNUM", DataKey::SerialNum}, {"MODULENUM", DataKey::ModuleNum}, {"COUNTRYNUM", DataKey::CountryNum},
    {"TAXNUM", DataKey::TaxNum},       {"REGTYPE", DataKey::RegType},     {"DECIMALS", DataKey::Decimals},
    {"TAXRATES", DataKey::TaxRates},   {"TAX_A", DataKey::TaxA},          {"TAX_B", DataKey::TaxB},
    {"TAX_C", DataKey::TaxC},          {"TAX_D", DataKey::TaxD},          {"H1", DataKey::H1},
    {"H2", DataKey::H2},               {"H3", DataKey::H3},               {"H4", DataKey::H4},
    {"H5", DataKey::H5},               {"H6", DataKey::H6},               {"F1", DataKey::F1},
    {"F2", DataKey::F2},
};

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Upper(a[i]) != Upper(b[i])) return false;
    return true;
}

bool Blank(char c) { return static_cast<unsigned char>(c) <= 32; }

std::string_view Trim(std::string_view text) {
    while (!text.empty() && Blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && Blank(text.back())) text.remove_suffix(1);
    return text;
}

std::optional<DataLine> Interpret(std::string_view text) {
    text = text.substr(0, text.find('\0'));
    const std::size_t first = text.find('=');
    if (first == std::string_view::npos) return std::nullopt;
    const std::string_view key = text.substr(0, first);
    for (const KeyName& k : Keys)
        if (SameIgnoringCase(key, k.name)) return DataLine{k.key, std::string(Trim(text.substr(text.rfind('=') + 1)))};
    return std::nullopt;
}

}  // namespace

std::vector<DataLine> ReadPrinterData(std::string_view file) {
    std::vector<DataLine> lines;
    std::string text;
    bool afterEquals = false;
    const auto endLine = [&] {
        if (auto line = Interpret(text)) lines.push_back(std::move(*line));
        text.clear();
        afterEquals = false;
    };
    for (const char c : file) {
        if (c == '\n') {
            endLine();
            continue;
        }
        if (c == '=') afterEquals = true;
        if (afterEquals || !Blank(c)) text += c;
        if (text.size() == MaxDataLine) endLine();
    }
    endLine();
    return lines;
}

std::string StripPercent(std::string_view text) {
    if (!text.empty() && text.front() == '%') text.remove_prefix(1);
    return std::string(text);
}

std::array<bool, 4> TaxRateFlags(std::string_view value) {
    std::array<bool, 4> flags{};
    for (std::size_t g = 0; g < flags.size(); ++g) flags[g] = g < value.size() && value[g] == '1';
    return flags;
}

}  // namespace prendix
