#include "Receipts.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string_view>

#include "Commands.h"
#include "Printer.h"

namespace qmrsim {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::optional<long long> ParseDigits(std::string_view text, std::size_t maxDigits) {
    if (text.empty() || text.size() > maxDigits) return std::nullopt;
    long long value = 0;
    for (const char c : text) {
        if (!IsDigit(c)) return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

std::optional<long long> ParseFixed(std::string_view text, int decimals) {
    const std::size_t point = text.find('.');
    const auto whole = ParseDigits(text.substr(0, point), 9);
    if (!whole) return std::nullopt;
    long long value = *whole;
    std::string_view fraction = point == std::string_view::npos ? std::string_view{} : text.substr(point + 1);
    if (fraction.size() > static_cast<std::size_t>(decimals)) return std::nullopt;
    if (!fraction.empty() && !ParseDigits(fraction, 9)) return std::nullopt;
    for (int d = 0; d < decimals; ++d) {
        value = value * 10 + (static_cast<std::size_t>(d) < fraction.size() ? fraction[static_cast<std::size_t>(d)] - '0' : 0);
    }
    return value;
}

std::vector<std::string_view> SplitFields(std::string_view text) {
    std::vector<std::string_view> fields;
    std::size_t from = 0;
    while (true) {
        const std::size_t comma = text.find(',', from);
        fields.push_back(text.substr(from, comma == std::string_view::npos ? std::string_view::npos : comma - from));
        if (comma == std::string_view::npos) return fields;
        from = comma + 1;
    }
}

std::string Quantity(long long thousandths) {
    char text[40];
    const unsigned long long magnitude = thousandths < 0 ? 0ULL - static_cast<unsigned long long>(thousandths)
                                                         : static_cast<unsigned long long>(thousandths);
    std::snprintf(text, sizeof text, "%s%llu.%03llu", thousandths < 0 ? "-" : "", magnitude / 1000, magnitude % 1000);
    return text;
}

namespace {

// A letter and a number after it, as the payment replies have them.
std::string Tagged(char tag, long long number) { return std::string(1, tag).append(std::to_string(number)); }

// price x quantity, rounded half away from zero to hundredths; nothing when
// it is more than the printer's totals hold.
std::optional<long long> LineAmount(long long price, long long thousandths) {
    const __int128 amount = (static_cast<__int128>(price) * thousandths + 500) / 1000;
    if (amount > Receipts::MaxAmount) return std::nullopt;
    return static_cast<long long>(amount);
}

int TaxSlot(char letter) {
    const int slot = static_cast<unsigned char>(letter) - 0xC0;
    return slot >= 0 && slot < 5 ? slot : -1;
}

std::string OpenReceipt(Printer& printer, std::string_view data, bool storno) {
    Receipts& r = printer.receipts;
    const auto fields = SplitFields(data);
    const auto op = fields.size() >= 2 ? ParseDigits(fields[0], 2) : std::nullopt;
    if (!op || *op < 1 || *op > Receipts::Operators) {
        printer.Fail(st::SyntaxError);
        return "";
    }
    // With no room for the day's closure the printer sells nothing that it
    // could not write into its fiscal memory.
    if (r.receipt.open || printer.StatusBit(st::NonFiscalReceiptOpen) || printer.StatusBit(st::FmFull) ||
        fields[1] != r.operatorPasswords[static_cast<std::size_t>(*op - 1)]) {
        printer.Fail(st::NotPermitted);
        return "";
    }
    r.receipt = Receipt{};
    r.receipt.open = true;
    r.receipt.storno = storno;
    r.receipt.operatorNumber = static_cast<int>(*op);
    r.byTax.fill(0);
    printer.SetStatusBit(st::FiscalReceiptOpen);
    printer.PrintReceiptTop();
    printer.paper.push_back(storno ? "STORNO RECEIPT" : "FISCAL RECEIPT");
    char line[32];
    std::snprintf(line, sizeof line, "OPERATOR %02d", r.receipt.operatorNumber);
    printer.paper.push_back(line);
    return std::to_string(r.receiptCount + 1) + "," + std::to_string(r.fiscalReceiptCount + (storno ? 0 : 1));
}

// "[-]PLU[*QUANTITY]": a leading '-' voids the quantity.
std::string SellArticleLine(Printer& printer, std::string_view data, bool withDisplay) {
    Receipts& r = printer.receipts;
    const bool voided = !data.empty() && data[0] == '-';
    if (voided) data.remove_prefix(1);
    const std::size_t star = data.find('*');
    const auto plu = ParseDigits(data.substr(0, star), 9);
    const auto quantity = star == std::string_view::npos ? std::optional<long long>(1000) : ParseFixed(data.substr(star + 1), 3);
    if (!plu || !quantity) {
        printer.Fail(st::SyntaxError);
        return "";
    }
    const auto article = r.articles.find(static_cast<int>(*plu));
    // No sale outside a receipt, after its payment began, or of an article the printer does not know.
    if (!r.receipt.open || r.receipt.payments != 0 || article == r.articles.end()) {
        printer.Fail(st::NotPermitted);
        return "";
    }
    Article& a = article->second;
    const auto lineAmount = LineAmount(a.price, *quantity);
    const long long amount = lineAmount ? (voided ? -*lineAmount : *lineAmount) : 0;
    const long long total = r.receipt.total + amount;
    if (!lineAmount || total > Receipts::MaxAmount) {
        printer.Fail(st::Overflow);
        return "";
    }
    if (total < 0) {
        printer.Fail(st::NotPermitted);
        return "";
    }
    r.receipt.total = total;
    ++r.receipt.lines;
    if (const int slot = TaxSlot(a.taxLetter); slot >= 0) r.byTax[static_cast<std::size_t>(slot)] += amount;
    (r.receipt.storno ? a.stornoQuantity : a.soldQuantity) += voided ? -*quantity : *quantity;
    (r.receipt.storno ? a.stornoAmount : a.soldAmount) += amount;
    SoldArticle& sold = r.receipt.articles[a.plu];
    sold.quantity += voided ? -*quantity : *quantity;
    sold.amount += amount;
    printer.paper.push_back(std::string(voided ? "VOID " : "").append(Quantity(*quantity)).append(" x ").append(Hundredths(a.price)));
    printer.paper.push_back(a.name + "  " + Hundredths(amount) + " " + a.taxLetter);
    if (withDisplay) r.display = a.name + " " + Hundredths(amount);
    return "";
}

// "" or "T": the receipt's state and amounts. With "T" the first two fields
// take 7 characters, so that the amounts stand at a fixed place.
std::string ReadTotals(Printer& printer, std::string_view data) {
    const Receipts& r = printer.receipts;
    char head[16];
    std::snprintf(head, sizeof head, "%d,%04d,", r.receipt.open ? 1 : 0, r.receipt.lines % 10000);
    if (data == "T") return head + std::to_string(r.receipt.total) + "," + std::to_string(r.receipt.paid);
    if (!data.empty()) {
        printer.Fail(st::SyntaxError);
        return "";
    }
    std::string reply = head + std::to_string(r.receipt.total);
    for (const long long sum : r.byTax) {
        reply += ',';
        reply += std::to_string(sum);
    }
    return reply;
}

const char* PaymentModeName(char letter) {
    switch (letter) {
        case 'P': return "CASH";
        case 'D': return "CARD";
        case 'C': return "CHEQUE";
        case 'N': return "CREDIT";
        default: return nullptr;
    }
}

// "" pays the rest in cash; "\t[mode][amount]" pays the amount (or the rest)
// in the mode (cash by default). 'R' and the change, or 'D' and what is still due.
std::string RegisterPayment(Printer& printer, std::string_view data) {
    Receipts& r = printer.receipts;
    if (!r.receipt.open) {
        printer.Fail(st::NotPermitted);
        return "";
    }
    char mode = 'P';
    std::optional<long long> amount = r.receipt.total - r.receipt.paid;
    if (!data.empty()) {
        if (data[0] != '\t') amount.reset();
        data.remove_prefix(1);
        if (!data.empty() && !IsDigit(data[0])) {
            mode = data[0];
            data.remove_prefix(1);
        }
        if (!data.empty() && amount) amount = ParseFixed(data, 2);
    }
    if (!amount || !PaymentModeName(mode) || *amount < 0) {
        printer.Fail(st::SyntaxError);
        return "";
    }
    if (r.receipt.paid + *amount > Receipts::MaxAmount) {
        printer.Fail(st::Overflow);
        return "";
    }
    r.receipt.paid += *amount;
    ++r.receipt.payments;
    printer.paper.push_back(std::string(PaymentModeName(mode)) + "  " + Hundredths(*amount));
    const long long rest = r.receipt.total - r.receipt.paid;
    if (rest >= 0) return Tagged('D', rest);
    printer.paper.push_back(std::string("CHANGE  ").append(Hundredths(-rest)));
    return Tagged('R', -rest);
}

std::string CloseReceipt(Printer& printer) {
    Receipts& r = printer.receipts;
    if (!r.receipt.open || r.receipt.paid < r.receipt.total) {
        printer.Fail(st::NotPermitted);
        return "";
    }
    printer.paper.push_back(std::string("TOTAL  ").append(Hundredths(r.receipt.total)));
    ++r.receiptCount;
    if (!r.receipt.storno) ++r.fiscalReceiptCount;
    char line[48];
    std::snprintf(line, sizeof line, "RECEIPT %d CLOSED", r.receiptCount);
    printer.paper.push_back(line);
    printer.PrintReceiptBottom();
    DayTotals& day = printer.fiscalMemory.day;
    for (std::size_t g = 0; g < r.byTax.size(); ++g) (r.receipt.storno ? day.stornoByTax : day.byTax)[g] += r.byTax[g];
    ++(r.receipt.storno ? day.stornoReceipts : day.receipts);
    r.receipt = Receipt{};
    printer.SetStatusBit(st::FiscalReceiptOpen, false);
    return std::to_string(r.receiptCount) + "," + std::to_string(r.fiscalReceiptCount);
}

}  // namespace

std::map<int, Article> Receipts::DemoArticles() {
    std::map<int, Article> articles;
    for (const Article& a : {Article{1, '\xC0', 1, 120, "BREAD"}, Article{2, '\xC1', 1, 95, "MILK 1L"},
                             Article{3, '\xC1', 2, 450, "CHEESE"}, Article{4, '\xC2', 3, 230, "APPLES 1KG"},
                             Article{5, '\xC0', 4, 680, "COFFEE"}})
        articles[a.plu] = a;
    return articles;
}

std::array<std::string, Receipts::Operators> Receipts::DefaultPasswords() {
    std::array<std::string, Operators> passwords;
    passwords.fill("4826");
    return passwords;
}

bool PasswordOfAnyOperator(const Printer& printer, const std::string& password) {
    const auto& passwords = printer.receipts.operatorPasswords;
    return std::find(passwords.begin(), passwords.end(), password) != passwords.end();
}

void RegisterReceiptsCommands(Printer& printer) {
    printer.SetHandler(qmr::OpenFiscalReceipt, [](Printer& p, const Request& q) { return OpenReceipt(p, q.data, false); });
    printer.SetHandler(qmr::OpenStornoReceipt, [](Printer& p, const Request& q) { return OpenReceipt(p, q.data, true); });
    printer.SetHandler(qmr::SellArticleWithDisplay,
                       [](Printer& p, const Request& q) { return SellArticleLine(p, q.data, true); });
    printer.SetHandler(qmr::SellArticle, [](Printer& p, const Request& q) { return SellArticleLine(p, q.data, false); });
    printer.SetHandler(qmr::ReadReceiptTotals, [](Printer& p, const Request& q) { return ReadTotals(p, q.data); });
    printer.SetHandler(qmr::RegisterPayment, [](Printer& p, const Request& q) { return RegisterPayment(p, q.data); });
    printer.SetHandler(qmr::CloseFiscalReceipt, [](Printer& p, const Request&) { return CloseReceipt(p); });
}

}  // namespace qmrsim
