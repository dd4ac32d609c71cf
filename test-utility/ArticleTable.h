// The article table as the main window's grid holds it: row 0 is the header,
// rows 1.. are articles, every cell is cp1251 text. The empty table still
// shows one empty row, so it has two rows; deleting the last article leaves
// the header alone.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace vextora {

enum ArticleColumn { ColPlu, ColTax, ColGroup, ColPrice, ColQuantity, ColName, ArticleColumns };

using ArticleRow = std::array<std::string, ArticleColumns>;

// "PLU", "Tax", "Group", "Price", "Quantity", "Name".
extern const std::array<const char*, ArticleColumns> ArticleHeaders;

class ArticleTable {
public:
    ArticleTable() { Reset(); }

    // Back to the empty table: two rows, row 1 empty.
    void Reset();
    // Rows counted with the header, as the grid counts them.
    int RowCount() const { return static_cast<int>(rows_.size()) + 1; }
    // New rows come empty; at least the header stays.
    void SetRowCount(int count);
    // Row r from 1; the header row and rows past the end read as empty.
    const ArticleRow& Row(int r) const;
    void SetRow(int r, ArticleRow row);
    // Rows below move up by one.
    void RemoveRow(int r);

    // Appends an article as a load does: the first one takes the empty row.
    void Append(int& articleCount, ArticleRow row);

private:
    std::vector<ArticleRow> rows_;
};

}  // namespace vextora
