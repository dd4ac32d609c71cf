#include "ArticleFile.h"

#include <QFile>
#include <QString>
#include <cstdio>
#include <utility>

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
    std::vector<std::string> lines;
    const auto keep = [&lines](std::string_view line) { lines.emplace_back(line); };
    ArticleLineReader reader;
    reader.Feed(file, keep);
    reader.Finish(keep);
    return lines;
}

std::optional<ArticleRow> ParseArticleLine(std::string_view line) {
    if (line.size() < 3) return std::nullopt;
    // The first four commas split the fields; the name keeps any further
    // commas. A field that the line does not reach is empty.
    auto fields = qmr::SplitFields(line, ',', 5);
    fields.resize(5);
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

void ArticleFileReader::Take(std::string_view line) {
    if (auto row = ParseArticleLine(line)) table_.Append(count_, std::move(*row));
}

void ArticleFileReader::Feed(std::string_view bytes) {
    lines_.Feed(bytes, [this](std::string_view line) { Take(line); });
}

ArticleTable ArticleFileReader::Finish() {
    lines_.Finish([this](std::string_view line) { Take(line); });
    count_ = 0;
    return std::exchange(table_, ArticleTable{});
}

ArticleTable ParseArticleFile(std::string_view file) {
    ArticleFileReader reader;
    reader.Feed(file);
    return reader.Finish();
}

std::optional<ArticleTable> LoadArticleFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) return std::nullopt;
    std::vector<char> piece(64 * 1024);
    ArticleFileReader reader;
    for (;;) {
        const qint64 got = file.read(piece.data(), static_cast<qint64>(piece.size()));
        if (got < 0) return std::nullopt;
        if (got == 0) break;
        reader.Feed(std::string_view(piece.data(), static_cast<std::size_t>(got)));
    }
    return reader.Finish();
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

bool LoadsBackAsItself(std::string_view line) {
    const ArticleTable reloaded = ParseArticleFile(line);
    // One row (or the empty table's empty row, which formats as nothing).
    return reloaded.RowCount() == 2 && FormatArticleLine(reloaded.Row(1)) == line;
}

SavedArticles FormatArticleFile(const ArticleTable& table) {
    SavedArticles saved;
    for (int r = 1; r < table.RowCount(); ++r) {
        const auto line = FormatArticleLine(table.Row(r));
        if (!line) continue;
        if (LoadsBackAsItself(*line))
            saved.file += *line;
        else
            saved.refused.push_back(table.Row(r)[ColPlu]);
    }
    return saved;
}

std::string RefusedArticlesMessage(const std::vector<std::string>& refused) {
    constexpr std::size_t Shown = 10;
    std::string text = "Articles not saved, they would not load back as they are: PLU ";
    for (std::size_t i = 0; i < refused.size() && i < Shown; ++i) text += (i ? ", " : "") + refused[i];
    if (refused.size() > Shown) text += ", ...";
    return text;
}

}  // namespace vextora
