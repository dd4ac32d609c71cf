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
#include "SafeSave.h"

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
// A long name is written whole: cutting it would lose what the user had.
std::optional<std::string> FormatArticleLine(const ArticleRow& row);
// Every savable row's line, in grid order.
std::string FormatArticleFile(const ArticleTable& table);

// The articles file is saved and read as every file of the programs is.
using qmr::ReadWholeFile;
using qmr::WriteFileSafely;

}  // namespace vextora
