#include "SaleTexts.h"

#include "Numbers.h"

namespace vextora {

namespace {

// The window's buffers for these texts.
constexpr std::size_t SaleBuffer = 256;
constexpr std::size_t PaymentBuffer = 128;
constexpr std::size_t FieldBuffer = 64;

std::string_view AfterOffset(std::string_view reply, std::size_t offset) {
    return offset <= reply.size() ? reply.substr(offset) : std::string_view{};
}

// "%4.2lf" of an amount in hundredths.
std::string HundredthsText(long long amount) {
    return qmr::FormatFixed(static_cast<double>(amount) * 0.01, 4, 2, FieldBuffer).value_or("");
}

}  // namespace

std::string OpenReceiptData(int operatorNumber, std::string_view password) {
    return std::to_string(operatorNumber) + "," + std::string(password) + ",123,I";
}

std::optional<std::string> SaleData(int plu, double quantity) {
    const bool negative = quantity < 0;
    const std::string head = std::string(negative ? "-" : "").append(std::to_string(plu)).append("*");
    const auto amount = qmr::FormatFixed(negative ? -quantity : quantity, 5, 3, SaleBuffer - head.size());
    if (!amount) return std::nullopt;
    return head + *amount;
}

std::optional<char> PaymentModeLetter(int item) {
    static constexpr char letters[] = {'P', 'D', 'C', 'N'};
    if (item < 0 || item > 3) return std::nullopt;
    return letters[item];
}

std::optional<std::string> PaymentData(int modeItem, double amount) {
    const auto letter = PaymentModeLetter(modeItem);
    if (!letter) return std::nullopt;
    const auto text = qmr::FormatFixed(amount, 4, 2, PaymentBuffer - 2);
    if (!text) return std::nullopt;
    return std::string{'\t', *letter} + *text;
}

double ReadTenderedAmount(std::string_view sumText) {
    std::size_t from = 0, to = sumText.size();
    while (from < to && static_cast<unsigned char>(sumText[from]) <= ' ') ++from;
    while (to > from && static_cast<unsigned char>(sumText[to - 1]) <= ' ') --to;
    return qmr::ReadLeadingNumber(sumText.substr(from, to - from));
}

std::optional<std::string> LineAmountText(double quantity, double price) {
    return qmr::FormatFixed(quantity * price, 4, 2, FieldBuffer);
}

std::optional<std::string> SaleTotalText(std::string_view reply) {
    const auto fields = qmr::SplitFields(reply, ',', 3);
    if (fields.size() < 3) return std::nullopt;
    const double total = qmr::ToSingle(qmr::ReadLeadingNumber(fields[2]) * 0.01);
    return qmr::FormatFixed(total, 5, 2, SaleBuffer);
}

PaymentReply ParsePaymentReply(std::string_view reply) {
    if (reply.empty()) return {};
    return {reply[0], qmr::ReadLeadingInt(reply.substr(1))};
}

std::optional<std::string> PaymentChangeText(const PaymentReply& reply) {
    if (reply.kind == 'R') return qmr::FormatFixed(reply.amount * 0.01, 4, 2, PaymentBuffer);
    if (reply.kind == 'D' && reply.amount == 0) return std::string("0.00");
    return std::nullopt;
}

namespace {

// Two numbers joined by a comma at the fixed offset, each taken by `take`.
template <class Totals, class Take>
std::optional<Totals> TakeTotals(std::string_view reply, Take take) {
    std::string_view rest = AfterOffset(reply, TotalsOffset);
    const auto due = take(rest);
    if (!due || rest.empty() || rest[0] != ',') return std::nullopt;
    rest.remove_prefix(1);
    const auto paid = take(rest);
    if (!paid) return std::nullopt;
    return Totals{*due, *paid};
}

}  // namespace

std::optional<ReceiptTotals> ParseReceiptTotals(std::string_view reply) {
    return TakeTotals<ReceiptTotals>(reply, [](std::string_view& text) { return qmr::TakeNumber(text); });
}

std::optional<ReceiptTotalsInt> ParseReceiptTotalsInt(std::string_view reply) {
    return TakeTotals<ReceiptTotalsInt>(reply, [](std::string_view& text) { return qmr::TakeInt(text); });
}

std::optional<std::string> AmountDueText(const ReceiptTotals& totals) {
    double due = totals.due - totals.paid;
    if (!(due >= 0)) due = 0;
    return qmr::FormatFixed(due * 0.01, 5, 2, FieldBuffer);
}

RefreshTexts RefreshTextsOf(const ReceiptTotalsInt& totals) {
    // In 64 bits: two 32-bit amounts far apart would wrap in 32.
    const long long due = static_cast<long long>(totals.due) - totals.paid;
    if (due >= 0) return {HundredthsText(totals.due), "0.00"};
    return {"0.00", HundredthsText(-due)};
}

}  // namespace vextora
