#include "ArticleGrid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <utility>

#include "Cp1251.h"

namespace vextora {

ArticleGridModel::ArticleGridModel(QObject* parent) : QAbstractTableModel(parent) {}

void ArticleGridModel::SetTable(ArticleTable table) {
    beginResetModel();
    table_ = std::move(table);
    endResetModel();
}

void ArticleGridModel::SetHeaders(const std::array<const char*, ArticleColumns>& headers) {
    for (int c = 0; c < ArticleColumns; ++c) headers_[static_cast<std::size_t>(c)] = QString::fromLatin1(headers[static_cast<std::size_t>(c)]);
    emit headerDataChanged(Qt::Horizontal, 0, ArticleColumns - 1);
}

void ArticleGridModel::Append(int& articleCount, ArticleRow row) {
    // The first article takes the empty table's empty row.
    const int r = articleCount + 1;
    if (r < table_.RowCount()) {
        table_.Append(articleCount, std::move(row));
        emit dataChanged(index(r - 1, 0), index(r - 1, ArticleColumns - 1));
        return;
    }
    beginInsertRows({}, r - 1, r - 1);
    table_.Append(articleCount, std::move(row));
    endInsertRows();
}

void ArticleGridModel::RemoveRow(int r) {
    if (r < 1 || r >= table_.RowCount()) return;
    beginRemoveRows({}, r - 1, r - 1);
    table_.RemoveRow(r);
    endRemoveRows();
}

int ArticleGridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : table_.RowCount() - 1; }

int ArticleGridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ArticleColumns; }

QVariant ArticleGridModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid()) return {};
    return qmr::FromCp1251(table_.Row(index.row() + 1)[static_cast<std::size_t>(index.column())]);
}

QVariant ArticleGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ArticleColumns) return {};
    return headers_[static_cast<std::size_t>(section)];
}

ArticleGridView::ArticleGridView(QWidget* parent) : QTableView(parent), model_(new ArticleGridModel(this)) {
    setModel(model_);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setStretchLastSection(true);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    connect(model_, &QAbstractItemModel::modelReset, this, [this] { SelectRow(1); });
    SelectRow(1);
}

int ArticleGridView::SelectedRow() const {
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? 0 : rows.first().row() + 1;
}

void ArticleGridView::SelectRow(int row) {
    if (row < 1 || row > model_->rowCount()) {
        clearSelection();
        return;
    }
    selectRow(row - 1);
}

void ArticleGridView::keyPressEvent(QKeyEvent* event) {
    emit KeyDown(event->key());
    QTableView::keyPressEvent(event);
}

QItemSelectionModel::SelectionFlags ArticleGridView::selectionCommand(const QModelIndex& index,
                                                                     const QEvent* event) const {
    const QItemSelectionModel::SelectionFlags command = QTableView::selectionCommand(index, event);
    if (command & (QItemSelectionModel::Deselect | QItemSelectionModel::Toggle))
        return QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows;
    return command;
}

void ArticleGridView::mousePressEvent(QMouseEvent* event) {
    // Below the last row there is nothing to select, and Qt would clear the selection.
    if (indexAt(event->position().toPoint()).isValid())
        QTableView::mousePressEvent(event);
    else
        event->accept();
    emit MouseDown();
}

void ArticleGridView::mouseDoubleClickEvent(QMouseEvent* event) {
    QTableView::mouseDoubleClickEvent(event);
    emit DblClick();
}

void ArticleGridView::updateGeometries() {
    QTableView::updateGeometries();
    horizontalScrollBar()->setRange(0, 0);
}

}  // namespace vextora
