// The articles file: one article per line, "%05d,%d,%4.2lf,%d,%s" and CR LF
// (PLU, group, price, tax index 1..5, name), cp1251 text. Reading is lenient
// in the way older files need (LF or CR LF, control bytes dropped, long lines
// cut); writing always gives the canonical line.
#pragma once

#include <QString>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ArticleTable.h"

namespace vextora {

// The five tax group letters, cp1251 Cyrillic capitals A, BE, VE, GHE, DE;
// tax index i (1..5) stands for TaxLetters[i - 1].
extern const char TaxLetters[6];
// The tax index of a "Tax" cell from its first byte; nothing when that byte
// is none of the letters or the cell is empty.
std::optional<int> TaxIndexOf(std::string_view taxCell);

constexpr std::size_t MaxArticleLine = 255;

// The file's lines as the reader sees them: LF ends a line, TAB and bytes
// 0x20-0xFF are kept, every other byte is dropped, a line ends after 255
// bytes, and the end of the file ends the last line.
std::vector<std::string> SplitArticleLines(std::string_view file);
// A grid row from one line; nothing for a line under 3 bytes or without a
// tax index 1..5, or with a price too large for single precision.
std::optional<ArticleRow> ParseArticleLine(std::string_view line);
// The whole file as a table, starting from the empty table.
ArticleTable ParseArticleFile(std::string_view file);

// The canonical line of a row, CR LF included; nothing for a row that cannot
// be saved (PLU 0, no valid tax letter, a price that is no finite number).
std::optional<std::string> FormatArticleLine(const ArticleRow& row);
// Whether the reader takes a written line back as one line that gives one
// row, and that row is written as the same line again. A line longer than
// the reader's cut, or a name with a byte the reader drops, would come back
// changed, or as two rows where the tail of the name is read as an article.
bool LoadsBackAsItself(std::string_view line);

struct SavedArticles {
    // Every savable row's line, in grid order.
    std::string file;
    // The PLU cells of the rows left out because they would not load back
    // as themselves: the user is told, where the skipped rows are silent.
    std::vector<std::string> refused;
};
SavedArticles FormatArticleFile(const ArticleTable& table);
// What the user is told of the refused rows: their PLUs, the first ten.
std::string RefusedArticlesMessage(const std::vector<std::string>& refused);

// Replaces the file with these bytes only once all of them are on disk, by
// way of a temporary file beside it; false, and the old file as it was, when
// anything fails.
bool WriteFileSafely(const QString& path, std::string_view bytes);
// The whole file, or nothing when it cannot be read.
std::optional<std::string> ReadWholeFile(const QString& path);

}  // namespace vextora
