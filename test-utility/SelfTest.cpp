#include "SelfTest.h"

#include <QStandardPaths>
#include <algorithm>
#include <cstdio>

#include "ArticleFile.h"
#include "Numbers.h"

namespace vextora {

namespace {

constexpr const char* LineEnd = "\r\n";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

unsigned long long Magnitude(long long v) {
    return v < 0 ? 0ULL - static_cast<unsigned long long>(v) : static_cast<unsigned long long>(v);
}

// "%*Ld.%0*Ld" of units and the fraction of a scaled amount. A negative
// amount keeps its sign on the units, so -0.50 does not print as 0.-50.
std::string Scaled(long long value, int width, unsigned long long scale, int decimals) {
    const unsigned long long m = Magnitude(value);
    char units[32];
    std::snprintf(units, sizeof units, "%s%llu", value < 0 ? "-" : "", m / scale);
    char text[64];
    std::snprintf(text, sizeof text, "%*s.%0*llu", width, units, decimals, m % scale);
    return text;
}

std::string Money(long long hundredths, int width) { return Scaled(hundredths, width, 100, 2); }

}  // namespace

SelfTestSums SelfTestTotals;

QString SelfTestLogPathForTests;

QString SelfTestLogPath() {
    if (!SelfTestLogPathForTests.isEmpty()) return SelfTestLogPathForTests;
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Zandrel/QMR770/selftest.log");
}

long long ReadHundredths(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
    // Beyond nine whole digits the printer's own amounts end; bounding the
    // number there keeps every sum of a run inside 64 bits.
    constexpr long long MaxUnits = 999'999'999;
    long long units = 0;
    for (; at < text.size() && IsDigit(text[at]); ++at) units = std::min(units * 10 + (text[at] - '0'), MaxUnits);
    long long fraction = 0;
    if (at < text.size() && text[at] == '.') {
        ++at;
        for (int d = 0; d < 2; ++d) {
            fraction *= 10;
            if (at < text.size() && IsDigit(text[at])) fraction += text[at++] - '0';
        }
        if (at < text.size() && IsDigit(text[at]) && text[at] >= '5') ++fraction;
    }
    const long long value = units * 100 + fraction;
    return negative ? -value : value;
}

std::optional<SelfTestArticle> ParseSelfTestArticle(std::string_view reply) {
    const auto plu = ArticleRecordPlu(reply);
    if (!plu) return std::nullopt;
    const auto fields = qmr::SplitFields(reply.size() > 2 ? reply.substr(2) : std::string_view{});
    SelfTestArticle article;
    article.plu = *plu;
    if (fields.size() > 1 && !fields[1].empty()) {
        article.taxLetter = static_cast<unsigned char>(fields[1][0]);
        if (const auto index = TaxIndexOf(fields[1])) article.taxGroup = *index - 1;
    }
    if (fields.size() > 3) article.price = ReadHundredths(fields[3]);
    return article;
}

GroupAmounts ParseGroupRates(std::string_view reply) {
    GroupAmounts rates{};
    const auto fields = qmr::SplitFields(reply);
    for (std::size_t g = 0; g < 4 && g < fields.size(); ++g) rates[g] = ReadHundredths(fields[g]);
    return rates;
}

long long SaleAmount(long long thousandths, long long price) {
    const long long product = thousandths * price;
    const long long rounded = static_cast<long long>((Magnitude(product) + 500) / 1000);
    return product < 0 ? -rounded : rounded;
}

long long ContainedVat(long long gross, long long rate) {
    // VAT = gross x rate / (100% + rate), with the rate in hundredths of a
    // percent; the product may pass 64 bits, the VAT never does.
    if (rate <= 0) return 0;
    using Wide = unsigned __int128;
    const Wide base = static_cast<Wide>(10000 + rate);
    const Wide product = static_cast<Wide>(Magnitude(gross)) * static_cast<Wide>(rate);
    Wide vat = product / base;
    if (2 * (product % base) >= base) ++vat;
    return gross < 0 ? -static_cast<long long>(vat) : static_cast<long long>(vat);
}

std::string SelfTestSaleData(int plu, long long thousandths) {
    char text[64];
    std::snprintf(text, sizeof text, "%d*%s", plu, Scaled(thousandths, 0, 1000, 3).c_str());
    return text;
}

std::string ProgressText(int receipt) {
    char text[48];
    std::snprintf(text, sizeof text, "Receipt %d from %d", receipt, SelfTestReceipts);
    return text;
}

bool SelfTestSums::Gather(const SelfTestArticle& article) {
    if (count >= MaxPlus) return false;
    if (article.taxGroup < 0) {
        leftOut.push_back(article);
        return true;
    }
    const auto i = static_cast<std::size_t>(count++);
    PluList[i] = article.plu;
    PluTaxGroup[i] = article.taxGroup;
    PluPrice[i] = article.price;
    return true;
}

long long SelfTestSums::AddSale(int index, long long thousandths, bool storno, int operatorNumber) {
    const auto i = static_cast<std::size_t>(index);
    const auto op = static_cast<std::size_t>(operatorNumber);
    const long long amount = SaleAmount(thousandths, PluPrice[i]);
    ReceiptGroupSum[static_cast<std::size_t>(PluTaxGroup[i])] += amount;
    if (storno) {
        OperStornoAmount[op] += amount;
    } else {
        PluFiscalQuantity[i] += thousandths;
        PluFiscalAmount[i] += amount;
        OperFiscalAmount[op] += amount;
        OperFiscalSales[op] += 1;
    }
    return amount;
}

std::string SelfTestSums::CloseReceipt(bool storno) {
    for (std::size_t g = 0; g < TaxGroups; ++g) {
        ReceiptGroupVat[g] = ContainedVat(ReceiptGroupSum[g], GroupRates[g]);
        (storno ? StornoGroupTotal : FiscalGroupTotal)[g] += ReceiptGroupSum[g];
        (storno ? StornoGroupVat : FiscalGroupVat)[g] += ReceiptGroupVat[g];
    }
    return GroupSumsLine(ReceiptGroupSum);
}

std::string GroupSumsLine(const GroupAmounts& amounts) {
    std::string line;
    for (const long long a : amounts) line += " " + Money(a, 13);
    return line + LineEnd;
}

std::string SelfTestSums::LeftOutLines() const {
    std::string lines;
    for (const SelfTestArticle& a : leftOut) {
        char line[96];
        std::snprintf(line, sizeof line, "PLU %05d left out: tax letter 0x%02X is none of the five%s", a.plu,
                      a.taxLetter, LineEnd);
        lines += line;
    }
    return lines;
}

std::string SelfTestSums::SummaryLines() const {
    std::string text = std::string("Grand Totals:") + LineEnd + GroupSumsLine(FiscalGroupTotal) + "VAT:" + LineEnd +
                       GroupSumsLine(FiscalGroupVat) + "Grand Totals (Storno):" + LineEnd +
                       GroupSumsLine(StornoGroupTotal) + "VAT (Storno):" + LineEnd + GroupSumsLine(StornoGroupVat) +
                       LineEnd;
    for (std::size_t op = 1; op <= SelfTestOperators; ++op) {
        char line[192];
        std::snprintf(line, sizeof line, "Operator %02zu:  %5lld %5lld  %s %5lld  %s %5lld  %s%s", op,
                      OperFiscalReceipts[op], OperFiscalSales[op], Money(OperFiscalAmount[op], 13).c_str(),
                      OperSpareCount[op], Money(OperSpareAmount[op], 13).c_str(), OperStornoReceipts[op],
                      Money(OperStornoAmount[op], 13).c_str(), LineEnd);
        text += line;
    }
    text += LineEnd;
    for (std::size_t i = 0; i < static_cast<std::size_t>(count); ++i) {
        char line[128];
        std::snprintf(line, sizeof line, "PLU %05d:  %s%s%s", PluList[i], Money(PluFiscalAmount[i], 13).c_str(),
                      Scaled(PluFiscalQuantity[i], 12, 1000, 3).c_str(), LineEnd);
        text += line;
    }
    return text;
}

}  // namespace vextora
