#include "ArticleTable.h"

#include <utility>

namespace vextora {

const std::array<const char*, ArticleColumns> ArticleHeaders = {"PLU", "Tax", "Group", "Price", "Quantity", "Name"};

void ArticleTable::Reset() { rows_.assign(1, ArticleRow{}); }

void ArticleTable::SetRowCount(int count) { rows_.resize(count > 1 ? static_cast<std::size_t>(count - 1) : 0); }

const ArticleRow& ArticleTable::Row(int r) const {
    static const ArticleRow empty{};
    if (r < 1 || r >= RowCount()) return empty;
    return rows_[static_cast<std::size_t>(r - 1)];
}

void ArticleTable::SetRow(int r, ArticleRow row) {
    if (r < 1 || r >= RowCount()) return;
    rows_[static_cast<std::size_t>(r - 1)] = std::move(row);
}

void ArticleTable::RemoveRow(int r) {
    if (r < 1 || r >= RowCount()) return;
    rows_.erase(rows_.begin() + (r - 1));
}

void ArticleTable::Append(int& articleCount, ArticleRow row) {
    ++articleCount;
    SetRowCount(articleCount + 1);
    SetRow(articleCount, std::move(row));
}

}  // namespace vextora
