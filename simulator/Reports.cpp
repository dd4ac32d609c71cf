#include "Reports.h"

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "Commands.h"
#include "Printer.h"

namespace qmrsim {

namespace {

std::vector<std::string_view> Fields(std::string_view text) {
    std::vector<std::string_view> fields;
    for (std::size_t comma; (comma = text.find(',')) != std::string_view::npos; text.remove_prefix(comma + 1))
        fields.push_back(text.substr(0, comma));
    fields.push_back(text);
    return fields;
}

// 1 to maxDigits decimal digits and nothing else.
std::optional<long long> Digits(std::string_view text, std::size_t maxDigits) {
    if (text.empty() || text.size() > maxDigits) return std::nullopt;
    long long value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

int DayKey(int day, int month, int year) { return year * 10000 + month * 100 + day; }
int DayKey(const CivilTime& c) { return DayKey(c.day, c.month, c.year); }
int DayKey(const FmRecord& r) { return DayKey(r.day, r.month, r.year); }

std::string DateText(int day, int month, int year) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d-%02d-%02d", day % 100, month % 100, year % 100);
    return text;
}

std::string RecordTime(const FmRecord& r) {
    char text[8];
    std::snprintf(text, sizeof text, "%02d:%02d", r.hour % 100, r.minute % 100);
    return DateText(r.day, r.month, r.year) + " " + text;
}

std::string Number4(long long n) {
    char text[24];
    std::snprintf(text, sizeof text, "%04lld", n);
    return text;
}

// Refuses with "not permitted" unless the password is an operator's and no
// receipt is open.
bool MayReport(Printer& printer, std::string_view password) {
    if (PasswordOfAnyOperator(printer, std::string(password)) && !printer.receipts.receipt.open) return true;
    printer.Fail(st::NotPermitted);
    return false;
}

std::string SyntaxError(Printer& printer) {
    printer.Fail(st::SyntaxError);
    return "";
}

struct Period {
    std::string_view password;
    CivilTime from, to;
};

// "password,DDMMYY,DDMMYY" with the start not after the end.
std::optional<Period> ParsePeriod(std::string_view data) {
    const auto fields = Fields(data);
    if (fields.size() != 3) return std::nullopt;
    const auto from = ParseReportDate(fields[1]), to = ParseReportDate(fields[2]);
    if (!from || !to || DayKey(*from) > DayKey(*to)) return std::nullopt;
    return Period{fields[0], *from, *to};
}

std::string PeriodLine(const Period& p) {
    return "FROM " + DateText(p.from.day, p.from.month, p.from.year) + " TO " +
           DateText(p.to.day, p.to.month, p.to.year);
}

void PrintRates(Printer& printer, const std::array<long long, 4>& hundredths) {
    static const char* const Letters[] = {"A", "B", "C", "D"};
    std::string line;
    for (std::size_t g = 0; g < hundredths.size(); ++g)
        line += std::string(g ? "  " : "") + Letters[g] + " " + Hundredths(hundredths[g]) + "%";
    printer.paper.push_back(line);
}

std::string TaxRateHistory(Printer& printer, std::string_view data) {
    const auto period = ParsePeriod(data);
    if (!period) return SyntaxError(printer);
    if (!MayReport(printer, period->password)) return "";
    printer.PrintReceiptTop();
    printer.paper.push_back("TAX RATES HISTORY");
    printer.paper.push_back(PeriodLine(*period));
    int changes = 0;
    for (const FmRecord& r : printer.fiscalMemory.Records()) {
        if (r.kind != 'T' || DayKey(r) < DayKey(period->from) || DayKey(r) > DayKey(period->to)) continue;
        ++changes;
        printer.paper.push_back(RecordTime(r) + "  DECIMALS " + std::to_string(r.totals[4]));
        PrintRates(printer, {r.totals[0], r.totals[1], r.totals[2], r.totals[3]});
    }
    if (changes == 0) printer.paper.push_back("NO CHANGES IN PERIOD");
    printer.paper.push_back("RATES IN FORCE");
    const auto& rates = printer.identification.taxRates;
    PrintRates(printer, {rates[0], rates[1], rates[2], rates[3]});
    printer.paper.push_back("TAX RATES HISTORY END");
    printer.PrintReceiptBottom();
    return "";
}

// The closures a periodical report covers, printed one by one when detailed,
// then their sums; "not permitted" when there are none.
std::string PeriodicalReport(Printer& printer, const std::vector<FmRecord>& closures, bool detailed,
                             const std::string& rangeLine) {
    if (closures.empty()) {
        printer.Fail(st::NotPermitted);
        return "";
    }
    printer.PrintReceiptTop();
    printer.paper.push_back("FISCAL MEMORY REPORT");
    printer.paper.push_back(detailed ? "DETAILED" : "SHORT");
    printer.paper.push_back(rangeLine);
    printer.paper.push_back("SERIAL " + printer.identification.serialNumber + "  FM " +
                            printer.identification.fmNumber);
    std::array<long long, 5> sums{};
    long long receipts = 0, storno = 0;
    for (const FmRecord& r : closures) {
        if (detailed) {
            printer.paper.push_back("CLOSURE " + Number4(r.number) + "  " + RecordTime(r));
            PrintTotals(printer, r.totals);
            printer.paper.push_back("RECEIPTS " + std::to_string(r.receipts) + "  STORNO " +
                                    std::to_string(r.stornoReceipts));
        }
        for (std::size_t g = 0; g < sums.size(); ++g) sums[g] += r.totals[g];
        receipts += r.receipts;
        storno += r.stornoReceipts;
    }
    printer.paper.push_back("CLOSURES " + Number4(closures.front().number) + " - " + Number4(closures.back().number) +
                            "  COUNT " + std::to_string(closures.size()));
    PrintTotals(printer, sums);
    printer.paper.push_back("RECEIPTS " + std::to_string(receipts) + "  STORNO " + std::to_string(storno));
    printer.paper.push_back("FISCAL MEMORY REPORT END");
    printer.PrintReceiptBottom();
    return "";
}

std::vector<FmRecord> Closures(const Printer& printer) {
    std::vector<FmRecord> closures;
    for (const FmRecord& r : printer.fiscalMemory.Records())
        if (r.kind == 'Z') closures.push_back(r);
    return closures;
}

std::string ReportByNumber(Printer& printer, std::string_view data, bool detailed) {
    const auto fields = Fields(data);
    const auto first = fields.size() == 3 ? Digits(fields[1], 5) : std::nullopt;
    const auto last = fields.size() == 3 ? Digits(fields[2], 5) : std::nullopt;
    if (!first || !last || *first < 1 || *first > *last) return SyntaxError(printer);
    if (!MayReport(printer, fields[0])) return "";
    std::vector<FmRecord> closures;
    for (const FmRecord& r : Closures(printer))
        if (r.number >= *first && r.number <= *last) closures.push_back(r);
    return PeriodicalReport(printer, closures, detailed, "BY NUMBER " + Number4(*first) + " - " + Number4(*last));
}

std::string ReportByDate(Printer& printer, std::string_view data, bool detailed) {
    const auto period = ParsePeriod(data);
    if (!period) return SyntaxError(printer);
    if (!MayReport(printer, period->password)) return "";
    std::vector<FmRecord> closures;
    for (const FmRecord& r : Closures(printer))
        if (DayKey(r) >= DayKey(period->from) && DayKey(r) <= DayKey(period->to)) closures.push_back(r);
    return PeriodicalReport(printer, closures, detailed, PeriodLine(*period));
}

std::string Plu(int plu) {
    char text[24];
    std::snprintf(text, sizeof text, "PLU %06d", plu);
    return text;
}

std::string Thousandths(long long q) {
    char text[40];
    std::snprintf(text, sizeof text, "%s%lld.%03lld", q < 0 ? "-" : "", (q < 0 ? -q : q) / 1000,
                  (q < 0 ? -q : q) % 1000);
    return text;
}

std::string ArticlesReport(Printer& printer, std::string_view data) {
    const std::size_t comma = data.find(',');
    if (comma == std::string_view::npos) return SyntaxError(printer);
    const std::string_view password = data.substr(0, comma);
    std::string_view rest = data.substr(comma + 1);
    const std::string_view kind = rest.substr(0, rest.size() >= 2 && rest[1] == '#' ? 2 : 1);
    rest.remove_prefix(kind.size());
    static const std::map<std::string_view, const char*> Titles = {{"P", "PROGRAMMED ARTICLES"},
                                                                   {"S", "SOLD ARTICLES"},
                                                                   {"S#", "SOLD ARTICLES STORNO"},
                                                                   {"G", "SALES BY GROUP"},
                                                                   {"G#", "STORNO BY GROUP"}};
    const auto title = Titles.find(kind);
    if (title == Titles.end()) return SyntaxError(printer);
    const bool byGroup = kind[0] == 'G';
    long long from = 1, to = 999999999;
    if (!rest.empty()) {
        const auto bounds = Fields(rest);
        const auto low = bounds.size() == 2 ? Digits(bounds[0], 9) : std::nullopt;
        const auto high = bounds.size() == 2 ? Digits(bounds[1], 9) : std::nullopt;
        if (byGroup || !low || !high || *low < 1 || *low > *high) return SyntaxError(printer);
        from = *low, to = *high;
    }
    if (!MayReport(printer, password)) return "";

    const bool storno = kind.size() == 2;
    printer.PrintReceiptTop();
    printer.paper.push_back("ARTICLES REPORT");
    printer.paper.push_back(title->second);
    if (!byGroup) printer.paper.push_back("PLU " + std::to_string(from) + " - " + std::to_string(to));
    long long total = 0;
    int listed = 0;
    std::map<int, long long> groups;
    for (const auto& [plu, a] : printer.receipts.articles) {
        const long long quantity = storno ? a.stornoQuantity : a.soldQuantity;
        const long long amount = storno ? a.stornoAmount : a.soldAmount;
        if (byGroup) {
            if (quantity != 0 || amount != 0) groups[a.group] += amount;
            continue;
        }
        if (plu < from || plu > to) continue;
        if (kind == "P") {
            printer.paper.push_back(Plu(plu) + "  " + a.name);
            printer.paper.push_back(std::string("  TAX ") + a.taxLetter + "  GROUP " + std::to_string(a.group) + "  " +
                                    Hundredths(a.price));
        } else {
            if (quantity == 0 && amount == 0) continue;
            printer.paper.push_back(Plu(plu) + "  " + a.name);
            printer.paper.push_back("  " + Thousandths(quantity) + "  " + Hundredths(amount));
            total += amount;
        }
        ++listed;
    }
    for (const auto& [group, amount] : groups) {
        char line[48];
        std::snprintf(line, sizeof line, "GROUP %02d  ", group);
        printer.paper.push_back(line + Hundredths(amount));
        total += amount;
        ++listed;
    }
    if (listed == 0) printer.paper.push_back("NO ARTICLES");
    if (kind == "P")
        printer.paper.push_back("ARTICLES " + std::to_string(listed));
    else
        printer.paper.push_back("TOTAL  " + Hundredths(total));
    printer.paper.push_back("ARTICLES REPORT END");
    printer.PrintReceiptBottom();
    return "";
}

}  // namespace

std::optional<CivilTime> ParseReportDate(std::string_view text) {
    const auto digits = Digits(text, 6);
    if (!digits || text.size() != 6) return std::nullopt;
    CivilTime date;
    date.day = static_cast<int>(*digits / 10000);
    date.month = static_cast<int>(*digits / 100 % 100);
    date.year = 2000 + static_cast<int>(*digits % 100);
    if (!FromCivil(date)) return std::nullopt;
    return date;
}

void RegisterReportsCommands(Printer& printer) {
    printer.SetHandler(qmr::PrintTaxRateHistory,
                       [](Printer& p, const Request& q) { return TaxRateHistory(p, q.data); });
    printer.SetHandler(qmr::PrintShortReportByNumber,
                       [](Printer& p, const Request& q) { return ReportByNumber(p, q.data, false); });
    printer.SetHandler(qmr::PrintDetailedReportByNumber,
                       [](Printer& p, const Request& q) { return ReportByNumber(p, q.data, true); });
    printer.SetHandler(qmr::PrintShortReportByDate,
                       [](Printer& p, const Request& q) { return ReportByDate(p, q.data, false); });
    printer.SetHandler(qmr::PrintDetailedReportByDate,
                       [](Printer& p, const Request& q) { return ReportByDate(p, q.data, true); });
    printer.SetHandler(qmr::PrintArticlesReport,
                       [](Printer& p, const Request& q) { return ArticlesReport(p, q.data); });
}

}  // namespace qmrsim
