// The data texts of a sale and a payment, and the readings of the printer's
// receipt replies, apart from the main window. Every text is bounded to the
// buffer the window keeps it in; a value that would not fit (a number typed
// in exponent form with a huge magnitude, or no number at all) gives nothing,
// so the caller can refuse it before anything is sent or shown.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vextora {

// "%d,%s,123,I": operator number and password open a receipt.
std::string OpenReceiptData(int operatorNumber, std::string_view password);
// "%d*%5.3lf" with the PLU and the quantity, or "-%d*%5.3lf" with its
// magnitude when it is negative.
std::optional<std::string> SaleData(int plu, double quantity);

// The letter that follows the TAB of a payment, by the PayMode item: "Cash"
// P, "Card" D, "Cheque" C, "Credit" N.
std::optional<char> PaymentModeLetter(int item);
// TAB, the mode letter and "%4.2lf" of the amount tendered.
std::optional<std::string> PaymentData(int modeItem, double amount);
// The amount tendered as the Sum field gives it: trimmed, then read as a number.
double ReadTenderedAmount(std::string_view sumText);

// quantity x price "%4.2lf", the line amount shown under the grid.
std::optional<std::string> LineAmountText(double quantity, double price);

// The receipt total after a sale: the number after the reply's second comma,
// in hundredths, shown "%5.2lf" as single precision holds it. Nothing when
// the reply has fewer than two commas.
std::optional<std::string> SaleTotalText(std::string_view reply);

// What a payment reply says: 'R' and the change, 'D' and the amount still
// due (hundredths), or some other first character ('\0' for an empty reply).
struct PaymentReply {
    char kind = '\0';
    int amount = 0;
};
PaymentReply ParsePaymentReply(std::string_view reply);
// Whether the receipt may be closed after this reply, and the "Resto:" text then.
std::optional<std::string> PaymentChangeText(const PaymentReply& reply);

// The amounts of a "T" totals reply: amount due and amount paid in
// hundredths, standing after the first two fields, which take 7 characters.
struct ReceiptTotals {
    double due = 0;
    double paid = 0;
};
constexpr std::size_t TotalsOffset = 7;
std::optional<ReceiptTotals> ParseReceiptTotals(std::string_view reply);
// The same two amounts read as 32-bit integers, as Refresh reads them.
struct ReceiptTotalsInt {
    int due = 0;
    int paid = 0;
};
std::optional<ReceiptTotalsInt> ParseReceiptTotalsInt(std::string_view reply);

// "%5.2lf" of the amount still due (never below 0), for the Sum field.
std::optional<std::string> AmountDueText(const ReceiptTotals& totals);
// Refresh: the total while something is due, else the amount paid beyond it.
struct RefreshTexts {
    std::string total;
    std::string resto;
};
RefreshTexts RefreshTextsOf(const ReceiptTotalsInt& totals);

}  // namespace vextora
