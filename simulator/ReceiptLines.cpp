#include "ReceiptLines.h"

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "Commands.h"
#include "Printer.h"

namespace qmrsim {

namespace {

// The Latin tax letters of free-text sales and the groups they stand for.
int GroupOfLetter(char letter) {
    switch (letter) {
        case 'A': return 0;
        case 'B': return 1;
        default: return -1;
    }
}

// "text\t<letter><amount>", the amount with an optional '-' for a void line.
std::string RegisterSale(Printer& printer, std::string_view data) {
    Receipts& r = printer.receipts;
    const std::size_t tab = data.find('\t');
    const std::string_view text = data.substr(0, tab);
    std::string_view rest = tab == std::string_view::npos ? std::string_view{} : data.substr(tab + 1);
    const char letter = rest.empty() ? '\0' : rest[0];
    const int group = GroupOfLetter(letter);
    if (group >= 0) rest.remove_prefix(1);
    const bool voided = !rest.empty() && rest[0] == '-';
    if (voided) rest.remove_prefix(1);
    const auto magnitude = ParseFixed(rest, 2);
    if (tab == std::string_view::npos || text.size() > MaxReceiptText || group < 0 || !magnitude) {
        printer.Fail(st::SyntaxError);
        return "";
    }
    if (!r.receipt.open || r.receipt.payments != 0) {
        printer.Fail(st::NotPermitted);
        return "";
    }
    const long long amount = voided ? -*magnitude : *magnitude;
    long long& groupTotal = r.byTax[static_cast<std::size_t>(group)];
    if (groupTotal + amount > Receipts::MaxAmount || r.receipt.total + amount > Receipts::MaxAmount) {
        printer.Fail(st::Overflow);
        return "";
    }
    // A void takes back no more than the group has sold in the receipt.
    if (groupTotal + amount < 0) {
        printer.Fail(st::NotPermitted);
        return "";
    }
    groupTotal += amount;
    r.receipt.total += amount;
    ++r.receipt.lines;
    printer.paper.push_back(std::string(text) + "  " + Hundredths(amount) + " " + letter);
    return "";
}

std::string PrintText(Printer& printer, std::string_view text) {
    if (text.size() > MaxReceiptText) {
        printer.Fail(st::SyntaxError);
        return "";
    }
    if (!printer.receipts.receipt.open) {
        printer.Fail(st::NotPermitted);
        return "";
    }
    printer.paper.emplace_back(text);
    return "";
}

bool MayBeCancelled(const Receipt& receipt) { return receipt.open && receipt.payments == 0; }

std::string CancelReceipt(Printer& printer) {
    Receipts& r = printer.receipts;
    if (!MayBeCancelled(r.receipt)) {
        printer.Fail(st::NotPermitted);
        return "";
    }
    for (const auto& [plu, sold] : r.receipt.articles) {
        const auto article = r.articles.find(plu);
        if (article == r.articles.end()) continue;
        article->second.soldQuantity -= sold.quantity;
        article->second.soldAmount -= sold.amount;
    }
    printer.paper.push_back("RECEIPT CANCELLED");
    printer.PrintReceiptBottom();
    r.receipt = Receipt{};
    r.byTax.fill(0);
    printer.SetStatusBit(st::FiscalReceiptOpen, false);
    return "";
}

// "<1 may be cancelled, 0 not>,<lines>,<total>".
std::string ReceiptInfo(const Printer& printer) {
    const Receipt& receipt = printer.receipts.receipt;
    char reply[48];
    std::snprintf(reply, sizeof reply, "%d,%d,%lld", MayBeCancelled(receipt) ? 1 : 0, receipt.lines, receipt.total);
    return reply;
}

std::string CloseNonFiscal(Printer& printer) {
    if (!printer.StatusBit(st::NonFiscalReceiptOpen)) {
        printer.Fail(st::NotPermitted);
        return "";
    }
    printer.paper.push_back("NON-FISCAL RECEIPT CLOSED");
    printer.PrintReceiptBottom();
    printer.SetStatusBit(st::NonFiscalReceiptOpen, false);
    return "";
}

}  // namespace

void OpenNonFiscalReceipt(Printer& printer) {
    printer.PrintReceiptTop();
    printer.paper.push_back("NON-FISCAL RECEIPT");
    printer.SetStatusBit(st::NonFiscalReceiptOpen);
}

void RegisterReceiptLinesCommands(Printer& printer) {
    printer.SetHandler(qmr::RegisterSale, [](Printer& p, const Request& q) { return RegisterSale(p, q.data); });
    printer.SetHandler(qmr::PrintFiscalText, [](Printer& p, const Request& q) { return PrintText(p, q.data); });
    printer.SetHandler(qmr::CancelFiscalReceipt, [](Printer& p, const Request&) { return CancelReceipt(p); });
    printer.SetHandler(qmr::ReadReceiptInfo, [](Printer& p, const Request&) { return ReceiptInfo(p); });
    printer.SetHandler(qmr::CloseNonFiscalReceipt, [](Printer& p, const Request&) { return CloseNonFiscal(p); });
}

}  // namespace qmrsim
