// The printer's article table and its fiscal and storno receipts: opening
// with an operator's password, selling programmed articles by PLU, the
// receipt's totals, payments with change or the amount still due, closing.
// Each receipt is printed on the paper log as it goes.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qmrsim {

class Printer;

// Amounts in hundredths of the currency unit, quantities in thousandths.
struct Article {
    int plu = 0;
    char taxLetter = '\xC0';  // cp1251 tax group letter
    int group = 1;
    long long price = 0;
    std::string name;  // cp1251
    // Sold in fiscal receipts, and in storno receipts, since the printer started.
    long long soldQuantity = 0;
    long long soldAmount = 0;
    long long stornoQuantity = 0;
    long long stornoAmount = 0;
};

// What a receipt has added to an article's sales, taken back if it is cancelled.
struct SoldArticle {
    long long quantity = 0;
    long long amount = 0;
};

struct Receipt {
    bool open = false;
    bool storno = false;
    int operatorNumber = 0;
    int lines = 0;
    long long total = 0;
    long long paid = 0;
    int payments = 0;  // registered, a payment of 0.00 included
    std::map<int, SoldArticle> articles;  // by PLU
};

struct Receipts {
    static constexpr int Operators = 15;
    static constexpr long long MaxAmount = 99'999'999'999;  // what the printer's totals can hold
    // The most a running sum (a day's totals, an article's sales) can reach:
    // as many receipts as a day's closure counts, each the most a receipt
    // holds. A thousand articles' sums still add up without overflow.
    static constexpr long long MaxRunningSum = 65'535 * MaxAmount;
    static constexpr bool WithinRunningSum(long long sum) { return sum >= -MaxRunningSum && sum <= MaxRunningSum; }

    // The articles programmed into the printer, by PLU. A new printer holds a
    // small demonstration shop, so that a program can sell at once.
    std::map<int, Article> articles = DemoArticles();
    // Operator n's password at [n - 1].
    std::array<std::string, Operators> operatorPasswords = DefaultPasswords();
    Receipt receipt;
    // The open receipt's amounts by tax group, letters 0xC0..0xC4.
    std::array<long long, 5> byTax{};
    int receiptCount = 0;        // every receipt closed
    int fiscalReceiptCount = 0;  // the fiscal ones among them
    // What the customer display shows after a sale with display.
    std::string display;

    static std::map<int, Article> DemoArticles();
    static std::array<std::string, Operators> DefaultPasswords();
};

void RegisterReceiptsCommands(Printer& printer);

// The strict readers of the numbers in the commands' data texts.
// Plain decimal digits, nothing else; at most `maxDigits` of them.
std::optional<long long> ParseDigits(std::string_view text, std::size_t maxDigits);
// "123" or "123.4" .. "123.456" (at most `decimals` decimals) in units of
// 10^-decimals; the printer takes no sign, blank or exponent here.
std::optional<long long> ParseFixed(std::string_view text, int decimals);
// A quantity in thousandths as the printer prints it: "2.500".
std::string Quantity(long long thousandths);
// The fields between commas; a text without a comma is one field.
std::vector<std::string_view> SplitFields(std::string_view text);

// The password of one of the operators, which the reports and the service
// commands take.
bool PasswordOfAnyOperator(const Printer& printer, const std::string& password);

}  // namespace qmrsim
