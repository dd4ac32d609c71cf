// The self-test's own arithmetic apart from the window: the articles it
// sells, the printer's tax rates, the line amounts and the VAT each tax
// group holds, the sums per group, operator and article, and the log lines.
// Amounts are in hundredths, quantities in thousandths, rates in hundredths
// of a percent; all of them, counts included, in 64-bit integers, so a run of
// 2000 receipts of 200 sales each cannot overflow.
#pragma once

#include <QString>
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "FillTexts.h"

namespace vextora {

constexpr int SelfTestReceipts = 2000;
constexpr int TaxGroups = 5;
constexpr int SelfTestOperators = 13;
using GroupAmounts = std::array<long long, TaxGroups>;

// An article record of the printer as the self-test reads it.
struct SelfTestArticle {
    int plu = 0;
    unsigned char taxLetter = 0;
    int taxGroup = -1;    // 0..4 for the five tax letters; -1 for any other letter
    long long price = 0;  // hundredths
};
// Nothing when the reply is no article record.
std::optional<SelfTestArticle> ParseSelfTestArticle(std::string_view reply);

// A decimal text in hundredths whatever its number of decimals ("2.5" is
// 250, "20" 2000), the third decimal rounding half up; no number gives 0.
long long ReadHundredths(std::string_view text);
// The rates of groups 0 to 3 as the printer sends them ("20.00,9.00,0.00,0.00");
// group 4 has none.
GroupAmounts ParseGroupRates(std::string_view reply);

// The line amount of a sale: thousandths x price, rounded half up.
long long SaleAmount(long long thousandths, long long price);
// The VAT a gross amount holds at a rate, rounded half up.
long long ContainedVat(long long gross, long long rate);

// "%d*%Ld.%03Ld": PLU and quantity.
std::string SelfTestSaleData(int plu, long long thousandths);
// "Receipt %d from %d".
std::string ProgressText(int receipt);

struct SelfTestSums {
    GroupAmounts GroupRates{};
    GroupAmounts ReceiptGroupSum{}, ReceiptGroupVat{};
    GroupAmounts FiscalGroupTotal{}, FiscalGroupVat{};
    GroupAmounts StornoGroupTotal{}, StornoGroupVat{};

    // Parallel to PluList, valid for the first `count` entries.
    int count = 0;
    std::array<int, MaxPlus> PluTaxGroup{};
    std::array<long long, MaxPlus> PluPrice{}, PluFiscalAmount{}, PluFiscalQuantity{};

    // By operator number; 1 to 13 are used.
    std::array<long long, 16> OperFiscalReceipts{}, OperFiscalSales{}, OperStornoReceipts{}, OperSpareCount{};
    std::array<long long, 16> OperFiscalAmount{}, OperStornoAmount{}, OperSpareAmount{};

    // Articles whose tax letter is none of the five, left out of the run.
    std::vector<SelfTestArticle> leftOut;

    // Adds an article to PluList and the article sums; one with a foreign
    // tax letter is kept aside. False when the list is full.
    bool Gather(const SelfTestArticle& article);
    // A sale of `thousandths` of the article at `index`; its line amount.
    long long AddSale(int index, long long thousandths, bool storno, int operatorNumber);
    // Totals and VAT of the receipt's groups into the run's sums; the
    // receipt's log line.
    std::string CloseReceipt(bool storno);

    // The lines about the articles left out, then the summary after the
    // receipts' lines, each ending in CR LF.
    std::string LeftOutLines() const;
    std::string SummaryLines() const;
};

// The sums of the last self-test, kept until the next one starts.
extern SelfTestSums SelfTestTotals;

// Where the self-test writes its log: selftest.log in the user's data
// folder for these programs (~/.local/share/Zandrel/QMR770 by default).
QString SelfTestLogPath();
// A path in place of that one, for tests that run side by side; empty: none.
extern QString SelfTestLogPathForTests;

// " %13Ld.%02Ld" of each of the five amounts, and CR LF.
std::string GroupSumsLine(const GroupAmounts& amounts);

}  // namespace vextora
