#include "ArticleFile.h"

#include <QString>
#include <cstdio>

#include "Numbers.h"

namespace vextora {

const char TaxLetters[6] = {'\xC0', '\xC1', '\xC2', '\xC3', '\xC4', '\0'};

std::optional<int> TaxIndexOf(std::string_view taxCell) {
    if (taxCell.empty()) return std::nullopt;
    for (int k = 0; k < 5; ++k)
        if (taxCell[0] == TaxLetters[k]) return k + 1;
    return std::nullopt;
}

std::vector<std::string> SplitArticleLines(std::string_view file) {
    std::vector<std::string> lines(1);
    for (const char c : file) {
        const auto b = static_cast<unsigned char>(c);
        if (b == '\n') {
            lines.emplace_back();
            continue;
        }
        if (b != '\t' && b < 0x20) continue;
        lines.back().push_back(c);
        if (lines.back().size() == MaxArticleLine) lines.emplace_back();
    }
    return lines;
}

namespace {

// The first four commas split the fields; the name keeps any further commas.
// A field that the line does not reach is empty.
std::array<std::string_view, 5> SplitArticleFields(std::string_view line) {
    std::array<std::string_view, 5> fields;
    for (std::size_t f = 0; f < 4; ++f) {
        const std::size_t comma = line.find(',');
        if (comma == std::string_view::npos) {
            fields[f] = line;
            return fields;
        }
        fields[f] = line.substr(0, comma);
        line.remove_prefix(comma + 1);
    }
    fields[4] = line;
    return fields;
}

}  // namespace

std::optional<ArticleRow> ParseArticleLine(std::string_view line) {
    if (line.size() < 3) return std::nullopt;
    const auto fields = SplitArticleFields(line);
    const int taxIndex = qmr::ReadLeadingInt(fields[3]);
    if (taxIndex < 1 || taxIndex > 5) return std::nullopt;
    const auto price = qmr::FormatFixed(qmr::ToSingle(qmr::ReadLeadingNumber(fields[2])), 4, 2, 256);
    if (!price) return std::nullopt;
    ArticleRow row;
    row[ColPlu] = std::to_string(qmr::ReadLeadingInt(fields[0]));
    row[ColTax] = std::string(1, TaxLetters[taxIndex - 1]);
    row[ColGroup] = std::to_string(qmr::TruncateToInt(qmr::ReadLeadingNumber(fields[1])));
    row[ColPrice] = *price;
    row[ColQuantity] = "0.000";
    row[ColName] = std::string(fields[4]);
    return row;
}

ArticleTable ParseArticleFile(std::string_view file) {
    ArticleTable table;
    int count = 0;
    for (const std::string& line : SplitArticleLines(file))
        if (auto row = ParseArticleLine(line)) table.Append(count, std::move(*row));
    return table;
}

std::optional<std::string> FormatArticleLine(const ArticleRow& row) {
    const int plu = qmr::ReadLeadingInt(row[ColPlu]);
    const auto taxIndex = TaxIndexOf(row[ColTax]);
    if (plu == 0 || !taxIndex) return std::nullopt;
    const auto price = qmr::FormatFixed(qmr::ReadLeadingNumber(row[ColPrice]), 4, 2, 512);
    if (!price) return std::nullopt;
    char head[64];
    std::snprintf(head, sizeof head, "%05d,%d,", plu, qmr::ReadLeadingInt(row[ColGroup]));
    std::string line = head + *price + "," + std::to_string(*taxIndex) + "," + row[ColName] + "\r\n";
    return line;
}

std::string FormatArticleFile(const ArticleTable& table) {
    std::string file;
    for (int r = 1; r < table.RowCount(); ++r)
        if (auto line = FormatArticleLine(table.Row(r))) file += *line;
    return file;
}

}  // namespace vextora
