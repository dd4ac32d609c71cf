#include "Articles.h"

#include <cstdio>
#include <map>
#include <string_view>
#include <vector>

#include "Commands.h"
#include "Printer.h"

namespace qmrsim {

namespace {

constexpr const char* EndOfList = "F";

bool IsTaxLetter(char c) {
    const auto b = static_cast<unsigned char>(c);
    return b >= 0xC0 && b <= 0xC4;
}

std::string Record(const Article& a) {
    return "P," + std::to_string(a.plu) + "," + std::string(1, a.taxLetter) + "," + std::to_string(a.group) + "," +
           Hundredths(a.price) + "," + Quantity(a.soldQuantity) + "," + Hundredths(a.soldAmount) + ",0.000,0.00," + a.name;
}

// The article after the one listed last (the first after "F").
std::string List(Printer& printer, bool first) {
    const auto& articles = printer.receipts.articles;
    std::optional<int>& listed = printer.articles.listedPlu;
    if (first) listed.reset();
    const auto next = listed ? articles.upper_bound(*listed) : articles.begin();
    if (next == articles.end()) return EndOfList;
    listed = next->first;
    return Record(next->second);
}

// "<tax><plu>,<group>,<price>,<password>,<name>" after the "P".
std::string Program(Printer& printer, std::string_view data) {
    const std::size_t comma = data.find(',');
    std::vector<std::string_view> fields;
    if (data.size() >= 2 && comma != std::string_view::npos) {
        fields.push_back(data.substr(1, comma - 1));
        // The name is the rest, commas and all.
        std::string_view rest = data.substr(comma + 1);
        for (int f = 0; f < 3 && !rest.empty(); ++f) {
            const std::size_t end = rest.find(',');
            if (end == std::string_view::npos) break;
            fields.push_back(rest.substr(0, end));
            rest.remove_prefix(end + 1);
        }
        fields.push_back(rest);
    }
    // PLU, group, price, password, name.
    const long long plu = fields.size() == 5 ? ParseDigits(fields[0], 5).value_or(0) : 0;
    const long long group = fields.size() == 5 ? ParseDigits(fields[1], 2).value_or(0) : 0;
    const long long price = fields.size() == 5 ? ParseFixed(fields[2], 2).value_or(-1) : -1;
    if (plu < 1 || !IsTaxLetter(data[0]) || group < 1 || price < 0 || fields[4].size() > Articles::MaxName) {
        printer.Fail(st::SyntaxError);
        return "";
    }
    auto& articles = printer.receipts.articles;
    const bool known = articles.count(static_cast<int>(plu)) != 0;
    if (fields[3] != printer.articles.servicePassword || printer.receipts.receipt.open ||
        (!known && articles.size() >= static_cast<std::size_t>(Articles::MaxArticles))) {
        printer.Fail(st::NotPermitted);
        return "";
    }
    Article& a = articles[static_cast<int>(plu)];
    a.plu = static_cast<int>(plu);
    a.taxLetter = data[0];
    a.group = static_cast<int>(group);
    a.price = price;
    a.name = std::string(fields[4]);
    return "";
}

// "<plu>,<password>" after the "D".
std::string Delete(Printer& printer, std::string_view data) {
    const auto fields = SplitFields(data);
    const auto plu = fields.size() == 2 ? ParseDigits(fields[0], 5) : std::nullopt;
    if (!plu) {
        printer.Fail(st::SyntaxError);
        return EndOfList;
    }
    if (fields[1] != printer.articles.servicePassword || printer.receipts.receipt.open) {
        printer.Fail(st::NotPermitted);
        return EndOfList;
    }
    return printer.receipts.articles.erase(static_cast<int>(*plu)) ? "P" : EndOfList;
}

std::string ProgramArticles(Printer& printer, std::string_view data) {
    if (data == "F" || data == "N") return List(printer, data == "F");
    if (!data.empty() && data[0] == 'P') return Program(printer, data.substr(1));
    if (!data.empty() && data[0] == 'D') return Delete(printer, data.substr(1));
    printer.Fail(st::SyntaxError);
    return "";
}

// One line per article, "plu tax group price sold-quantity sold-amount name"
// (the tax letter in hex, the name escaped), and the service password.
std::vector<std::string> SaveArticles(const Printer& printer) {
    std::vector<std::string> lines{"password " + EscapeStateText(printer.articles.servicePassword)};
    for (const auto& [plu, a] : printer.receipts.articles) {
        char head[120];
        std::snprintf(head, sizeof head, "article %d %02X %d %lld %lld %lld ", plu,
                      static_cast<unsigned char>(a.taxLetter), a.group, a.price, a.soldQuantity, a.soldAmount);
        lines.push_back(head + EscapeStateText(a.name));
    }
    return lines;
}

bool LoadArticles(Printer& printer, const std::vector<std::string>& lines) {
    Articles kept;
    std::map<int, Article> articles;
    for (const std::string& line : lines) {
        if (line.rfind("password ", 0) == 0) {
            const auto password = UnescapeStateText(line.substr(9));
            if (!password) return false;
            kept.servicePassword = *password;
            continue;
        }
        Article a;
        unsigned tax = 0;
        long long plu = 0, group = 0;
        // Only what the printer could have come to: what programming takes,
        // and sales a running sum can hold.
        if (std::sscanf(line.c_str(), "article %lld %2X %lld %lld %lld %lld", &plu, &tax, &group, &a.price,
                        &a.soldQuantity, &a.soldAmount) != 6 ||
            plu < 1 || plu > Articles::MaxPlu || !IsTaxLetter(static_cast<char>(tax)) || group < 1 ||
            group > Articles::MaxGroup || a.price < 0 || a.price > Receipts::MaxAmount ||
            !Receipts::WithinRunningSum(a.soldQuantity) || !Receipts::WithinRunningSum(a.soldAmount))
            return false;
        a.plu = static_cast<int>(plu);
        a.group = static_cast<int>(group);
        // The name may begin with blanks, which %n has passed over: it starts after the seventh blank.
        std::size_t at = 0;
        for (int blanks = 0; blanks < 7; ++blanks) {
            at = line.find(' ', at);
            if (at == std::string::npos) return false;
            ++at;
        }
        const auto name = UnescapeStateText(line.substr(at));
        if (!name) return false;
        a.taxLetter = static_cast<char>(tax);
        a.name = *name;
        articles[a.plu] = a;
    }
    printer.articles = kept;
    printer.receipts.articles = std::move(articles);
    return true;
}

}  // namespace

void RegisterArticlesCommands(Printer& printer) {
    printer.SetHandler(qmr::ProgramArticles, [](Printer& p, const Request& q) { return ProgramArticles(p, q.data); });
    printer.AddStateSection({"articles", SaveArticles, LoadArticles});
}

}  // namespace qmrsim
