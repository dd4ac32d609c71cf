// The articles file: one article per line, "%05d,%d,%4.2lf,%d,%s" and CR LF
// (PLU, group, price, tax index 1..5, name), cp1251 text. Reading is lenient
// in the way older files need (LF or CR LF, control bytes dropped, long lines
// cut); writing always gives the canonical line, and leaves out a row whose
// line would not load back as that row.
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
// bytes, and the end of the file ends the last line. The bytes may come in
// pieces of any size; each line is handed on as soon as it ends, so only the
// line being read is held.
class ArticleLineReader {
public:
    template <class OnLine>
    void Feed(std::string_view bytes, OnLine&& onLine) {
        for (const char c : bytes) {
            const auto b = static_cast<unsigned char>(c);
            if (b == '\n') {
                onLine(std::string_view(line_));
                line_.clear();
                continue;
            }
            if (b != '\t' && b < 0x20) continue;
            line_.push_back(c);
            if (line_.size() == MaxArticleLine) {
                onLine(std::string_view(line_));
                line_.clear();
            }
        }
    }
    // The end of the file: the last line, empty when the file ended a line.
    template <class OnLine>
    void Finish(OnLine&& onLine) {
        onLine(std::string_view(line_));
        line_.clear();
    }

private:
    std::string line_;
};

// Every line of a whole file, as the reader hands them on.
std::vector<std::string> SplitArticleLines(std::string_view file);
// A grid row from one line; nothing for a line under 3 bytes or without a
// tax index 1..5, or with a price too large for single precision.
std::optional<ArticleRow> ParseArticleLine(std::string_view line);

// The table of a file read in pieces: each line becomes its row, or nothing,
// as soon as it ends, so a large file costs no more than its rows.
class ArticleFileReader {
public:
    void Feed(std::string_view bytes);
    // The table, starting from the empty table.
    ArticleTable Finish();

private:
    void Take(std::string_view line);

    ArticleLineReader lines_;
    ArticleTable table_;
    int count_ = 0;
};

// The whole file as a table, starting from the empty table.
ArticleTable ParseArticleFile(std::string_view file);
// The file at path read piece by piece; nothing when it cannot be opened or read.
std::optional<ArticleTable> LoadArticleFile(const QString& path);

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

// The articles save goes through the programs' one safe-save helper.
using qmr::WriteFileSafely;

}  // namespace vextora
