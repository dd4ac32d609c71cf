#include "Setup.h"

#include <optional>
#include <vector>

#include "Commands.h"
#include "Printer.h"

namespace qmrsim {

namespace {

// The longest serial, fiscal-memory or tax number the printer stores (the
// width of its fields in the fiscal memory's header).
constexpr std::size_t MaxNumberText = 16;

std::vector<std::string> SplitFields(const std::string& data) {
    std::vector<std::string> fields(1);
    for (const char c : data) {
        if (c == ',')
            fields.emplace_back();
        else
            fields.back() += c;
    }
    return fields;
}

// A real printer raises the common error beside the reason.
std::string Refuse(Printer& printer) {
    printer.Fail(st::NotPermitted);
    printer.Fail(st::CommonError);
    return "";
}

std::string SyntaxError(Printer& printer) {
    printer.Fail(st::SyntaxError);
    return "";
}

bool AllDigits(std::string_view text) {
    if (text.empty()) return false;
    for (const char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

bool NumberText(const std::string& text) {
    return !text.empty() && text.size() <= MaxNumberText && text.find(',') == std::string::npos;
}

// "20", "7.5", "07.00": 0 to 99.99 in hundredths.
std::optional<int> ParseRate(std::string_view text) {
    const std::size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view fraction = point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
    if (!AllDigits(whole) || whole.size() > 2 || fraction.size() > 2 ||
        (!fraction.empty() && !AllDigits(fraction)) || (point != std::string_view::npos && fraction.empty()))
        return std::nullopt;
    int hundredths = std::stoi(std::string(whole)) * 100;
    if (!fraction.empty()) hundredths += std::stoi(std::string(fraction)) * (fraction.size() == 1 ? 10 : 1);
    return hundredths;
}

bool Fiscalised(const Printer& p) { return p.StatusBit(st::Fiscalized); }

// "country,serial": once, before fiscalisation.
std::string SetSerialAndCountry(Printer& p, const std::string& data) {
    const auto fields = SplitFields(data);
    if (fields.size() != 2 || !AllDigits(fields[0]) || fields[0].size() > 2 || !NumberText(fields[1]))
        return SyntaxError(p);
    const int country = std::stoi(fields[0]);
    // 10 is the country list's "not set", which a printer cannot be set to.
    if (country > 9) return SyntaxError(p);
    if (p.StatusBit(st::SerialSet) || Fiscalised(p)) return Refuse(p);
    p.identification.country = country;
    p.identification.serialNumber = fields[1];
    p.SetStatusBit(st::SerialSet);
    WriteFmHeader(p);
    return "";
}

std::string SetFiscalMemoryNumber(Printer& p, const std::string& data) {
    if (!NumberText(data)) return SyntaxError(p);
    if (Fiscalised(p)) return Refuse(p);
    p.identification.fmNumber = data;
    p.SetStatusBit(st::FiscalNumberSet);
    WriteFmHeader(p);
    return "";
}

// "password,DD,EEEE,A,B,C,D"; empty data reads the decimals and enables.
std::string SetTaxRates(Printer& p, const std::string& data) {
    Identification& id = p.identification;
    if (data.empty()) return TaxEnablesReply(id);
    const auto f = SplitFields(data);
    if (f.size() != 7 || f[1].size() != 2 || (f[1] != "00" && f[1] != "02") || f[2].size() != 4 ||
        f[2].find_first_not_of("01") != std::string::npos)
        return SyntaxError(p);
    std::array<int, 4> rates{};
    for (std::size_t g = 0; g < rates.size(); ++g) {
        const auto rate = ParseRate(f[3 + g]);
        if (!rate) return SyntaxError(p);
        rates[g] = *rate;
    }
    if (!PasswordOfAnyOperator(p, f[0]) || p.receipts.receipt.open) return Refuse(p);
    if (Fiscalised(p)) {
        // A fiscalised printer keeps every change of its rates.
        FmRecord record;
        record.kind = 'T';
        for (std::size_t g = 0; g < rates.size(); ++g) record.totals[g] = rates[g];
        record.totals[4] = f[1] == "02" ? 2 : 0;
        if (!AppendRecord(p, record)) return Refuse(p);
    }
    id.decimals = f[1] == "02" ? 2 : 0;
    for (std::size_t g = 0; g < rates.size(); ++g) id.taxEnabled[g] = f[2][g] == '1';
    id.taxRates = rates;
    p.SetStatusBit(st::TaxRatesSet);
    return "";
}

// "number,type": the tax number of a printer not yet fiscalised.
std::string SetTaxNumber(Printer& p, const std::string& data) {
    const std::size_t comma = data.rfind(',');
    if (comma == std::string::npos) return SyntaxError(p);
    const std::string number = data.substr(0, comma);
    const std::string type = data.substr(comma + 1);
    if ((type != "0" && type != "1") || number.size() > MaxNumberText) return SyntaxError(p);
    if (Fiscalised(p)) return Refuse(p);
    p.identification.taxNumber = number;
    p.identification.registrationType = type == "1" ? 1 : 0;
    return "";
}

void PrintFiscalisation(Printer& p, const char* title) {
    const Identification& id = p.identification;
    p.PrintReceiptTop();
    p.paper.push_back(title);
    p.paper.push_back(ClockText(p.clock.Now()));
    p.paper.push_back("S/N " + id.serialNumber + "  FM " + id.fmNumber);
    p.paper.push_back(std::string(id.registrationType ? "ID " : "PN ") + id.taxNumber);
    p.PrintReceiptBottom();
}

// "password,identification" fiscalises; "password,identification,number,type"
// refiscalises a fiscalised printer with a new tax number. The
// identification is the fiscal-memory number, as ReadDeviceInfo gives it.
std::string FiscalisePrinter(Printer& p, const std::string& data) {
    const auto f = SplitFields(data);
    const bool refiscalise = f.size() == 4;
    if (f.size() != 2 && !refiscalise) return SyntaxError(p);
    if (refiscalise && ((f[3] != "0" && f[3] != "1") || f[2].size() > MaxNumberText)) return SyntaxError(p);
    Identification& id = p.identification;
    if (!PasswordOfAnyOperator(p, f[0]) || f[1] != id.fmNumber || p.receipts.receipt.open) return Refuse(p);
    if (refiscalise) {
        if (!Fiscalised(p) || f[2].empty()) return Refuse(p);
    } else if (Fiscalised(p) || id.taxNumber.empty() || id.fmNumber.empty() || !p.StatusBit(st::TaxRatesSet) ||
               !p.StatusBit(st::SerialSet) || !p.StatusBit(st::FmFormatted)) {
        return Refuse(p);
    }
    FmRecord record;
    record.kind = 'F';
    if (!AppendRecord(p, record)) return Refuse(p);
    if (refiscalise) {
        id.taxNumber = f[2];
        id.registrationType = f[3] == "1" ? 1 : 0;
    }
    p.SetStatusBit(st::Fiscalized);
    WriteFmHeader(p);
    PrintFiscalisation(p, refiscalise ? "REFISCALISATION" : "FISCALISATION");
    return "";
}

// "n" and a text sets line n, "n" alone empties it, "In" reads it back.
std::string ConfigureReceiptLayout(Printer& p, const std::string& data) {
    Setup& s = p.setup;
    const auto lineDigit = [](char c) { return c >= '0' && c < '0' + Setup::Lines; };
    if (data.size() == 2 && data[0] == 'I' && lineDigit(data[1])) return s.lines[static_cast<std::size_t>(data[1] - '0')];
    if (data.empty() || !lineDigit(data[0]) || data.size() - 1 > Setup::MaxLineText) return SyntaxError(p);
    if (p.receipts.receipt.open) return Refuse(p);
    s.lines[static_cast<std::size_t>(data[0] - '0')] = data.substr(1);
    return "";
}

void PrintLines(Printer& p, std::size_t from, std::size_t to) {
    for (std::size_t n = from; n < to; ++n)
        if (!p.setup.lines[n].empty()) p.paper.push_back(p.setup.lines[n]);
}

// State lines "key value"; free texts escaped.
std::string Line(const char* key, const std::string& value) { return std::string(key) + " " + value; }

std::vector<std::string> SaveIdentification(const Printer& p) {
    const Identification& id = p.identification;
    std::string enabled, rates;
    for (const bool e : id.taxEnabled) enabled += e ? '1' : '0';
    for (const int r : id.taxRates) rates += (rates.empty() ? "" : ",") + std::to_string(r);
    return {Line("country", std::to_string(id.country)),
            Line("serial", EscapeStateText(id.serialNumber)),
            Line("fm", EscapeStateText(id.fmNumber)),
            Line("tax-number", EscapeStateText(id.taxNumber)),
            Line("registration-type", std::to_string(id.registrationType)),
            Line("decimals", std::to_string(id.decimals)),
            Line("tax-enabled", enabled),
            Line("tax-rates", rates)};
}

// The key of a state line and its value; nothing without a blank.
std::optional<std::pair<std::string, std::string>> KeyValue(const std::string& line) {
    const std::size_t blank = line.find(' ');
    if (blank == std::string::npos) return std::nullopt;
    return std::make_pair(line.substr(0, blank), line.substr(blank + 1));
}

std::optional<int> SmallInt(const std::string& text, int low, int high) {
    const bool negative = !text.empty() && text[0] == '-';
    if (!AllDigits(negative ? text.substr(1) : text) || text.size() > 6) return std::nullopt;
    const int value = std::stoi(text);
    if (value < low || value > high) return std::nullopt;
    return value;
}

bool LoadIdentification(Printer& p, const std::vector<std::string>& lines) {
    Identification id = p.identification;
    for (const std::string& line : lines) {
        const auto kv = KeyValue(line);
        if (!kv) return false;
        const auto& [key, value] = *kv;
        std::optional<int> number;
        std::optional<std::string> text;
        if (key == "country" && (number = SmallInt(value, -1, 99))) {
            id.country = *number;
        } else if (key == "serial" && (text = UnescapeStateText(value))) {
            id.serialNumber = *text;
        } else if (key == "fm" && (text = UnescapeStateText(value))) {
            id.fmNumber = *text;
        } else if (key == "tax-number" && (text = UnescapeStateText(value))) {
            id.taxNumber = *text;
        } else if (key == "registration-type" && (number = SmallInt(value, 0, 1))) {
            id.registrationType = *number;
        } else if (key == "decimals" && (number = SmallInt(value, 0, 2))) {
            id.decimals = *number;
        } else if (key == "tax-enabled" && value.size() == 4 && value.find_first_not_of("01") == std::string::npos) {
            for (std::size_t g = 0; g < 4; ++g) id.taxEnabled[g] = value[g] == '1';
        } else if (key == "tax-rates") {
            const auto rates = SplitFields(value);
            if (rates.size() != 4) return false;
            for (std::size_t g = 0; g < 4; ++g) {
                const auto rate = SmallInt(rates[g], -9999, 9999);
                if (!rate) return false;
                id.taxRates[g] = *rate;
            }
        } else {
            return false;
        }
    }
    p.identification = id;
    return true;
}

struct NamedBit {
    const char* name;
    StatusPos pos;
};
const NamedBit LastingBits[] = {
    {"serial-set", st::SerialSet},     {"fm-formatted", st::FmFormatted},
    {"fiscal-number-set", st::FiscalNumberSet}, {"tax-rates-set", st::TaxRatesSet},
    {"fiscalised", st::Fiscalized},
};

std::vector<std::string> SaveStatus(const Printer& p) {
    std::vector<std::string> lines;
    for (const NamedBit& bit : LastingBits) lines.push_back(Line(bit.name, p.StatusBit(bit.pos) ? "1" : "0"));
    return lines;
}

bool LoadStatus(Printer& p, const std::vector<std::string>& lines) {
    std::vector<std::pair<StatusPos, bool>> bits;
    for (const std::string& line : lines) {
        const auto kv = KeyValue(line);
        if (!kv || (kv->second != "0" && kv->second != "1")) return false;
        const NamedBit* found = nullptr;
        for (const NamedBit& bit : LastingBits)
            if (kv->first == bit.name) found = &bit;
        if (!found) return false;
        bits.emplace_back(found->pos, kv->second == "1");
    }
    for (const auto& [pos, on] : bits) p.SetStatusBit(pos, on);
    return true;
}

std::vector<std::string> SaveLayout(const Printer& p) {
    std::vector<std::string> lines;
    for (std::size_t n = 0; n < p.setup.lines.size(); ++n)
        lines.push_back("line" + std::to_string(n) + " " + EscapeStateText(p.setup.lines[n]));
    return lines;
}

bool LoadLayout(Printer& p, const std::vector<std::string>& lines) {
    Setup setup = p.setup;
    for (const std::string& line : lines) {
        const auto kv = KeyValue(line);
        if (!kv) return false;
        const auto& [key, value] = *kv;
        const auto text = UnescapeStateText(value);
        if (key.size() != 5 || key.compare(0, 4, "line") != 0 || key[4] < '0' || key[4] >= '0' + Setup::Lines ||
            !text)
            return false;
        setup.lines[static_cast<std::size_t>(key[4] - '0')] = *text;
    }
    p.setup = setup;
    return true;
}

}  // namespace

void RegisterSetupCommands(Printer& printer) {
    printer.SetHandler(qmr::SetSerialAndCountry, [](Printer& p, const Request& q) { return SetSerialAndCountry(p, q.data); });
    printer.SetHandler(qmr::SetFiscalMemoryNumber,
                       [](Printer& p, const Request& q) { return SetFiscalMemoryNumber(p, q.data); });
    printer.SetHandler(qmr::SetTaxRatesAndDecimals, [](Printer& p, const Request& q) { return SetTaxRates(p, q.data); });
    printer.SetHandler(qmr::SetTaxNumber, [](Printer& p, const Request& q) { return SetTaxNumber(p, q.data); });
    printer.SetHandler(qmr::FiscalisePrinter, [](Printer& p, const Request& q) { return FiscalisePrinter(p, q.data); });
    // The logo's switch ("L0", "L1") stays with the handler that was there.
    printer.SetHandler(qmr::ConfigureReceiptLayout,
                       [logo = printer.HandlerOf(qmr::ConfigureReceiptLayout)](Printer& p, const Request& q) {
                           if (logo && !q.data.empty() && q.data[0] == 'L') return logo(p, q);
                           return ConfigureReceiptLayout(p, q.data);
                       });
    printer.AddReceiptTop([](Printer& p) { PrintLines(p, 0, 6); });
    printer.AddReceiptBottom([](Printer& p) { PrintLines(p, 6, 8); });
    printer.AddStateSection({"identification", SaveIdentification, LoadIdentification});
    printer.AddStateSection({"status", SaveStatus, LoadStatus});
    printer.AddStateSection({"receipt-layout", SaveLayout, LoadLayout});
}

bool SetUpStartState(Printer& printer, std::string_view name) {
    if (name == "blank") {
        printer.SetStatusBit(st::FmFormatted);
        return true;
    }
    if (name != "ready" && name != "fiscalised") return false;
    SetUpServicedPrinter(printer);
    WriteFmHeader(printer);
    if (name == "fiscalised") {
        printer.identification.taxNumber = "1234567890";
        FmRecord record;
        record.kind = 'F';
        AppendRecord(printer, record);
        printer.SetStatusBit(st::Fiscalized);
        WriteFmHeader(printer);
    }
    return true;
}

}  // namespace qmrsim
