// The main window's article grid: a view over the ArticleTable, which holds
// every cell as cp1251 bytes. Row r of the table (from 1) is row r - 1 of the
// view; the table's header row is the view's header.
#pragma once

#include <QAbstractTableModel>
#include <QTableView>
#include <array>

#include "ArticleTable.h"

namespace vextora {

class ArticleGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ArticleGridModel(QObject* parent = nullptr);

    const ArticleTable& Table() const { return table_; }
    void SetTable(ArticleTable table);
    // The header row's captions, as the window puts them when it shows.
    void SetHeaders(const std::array<const char*, ArticleColumns>& headers);
    // One article more, as ArticleTable::Append adds it, and one row less.
    void Append(int& articleCount, ArticleRow row);
    void RemoveRow(int r);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    ArticleTable table_;
    std::array<QString, ArticleColumns> headers_;
};

// The grid itself: whole rows selected one at a time, nothing editable, and
// the mouse's press and double click told after the grid has moved its
// selection to where the mouse is. It always has a current row: row 1
// whenever a new table comes in (the load and the printer's listing start
// from the empty table), a click below the last row leaves the selection
// where it was, and Ctrl with a click or Space selects a row as the plain
// key does rather than deselecting it. It has no sideways scroll bar, so it
// never scrolls sideways: the Name column takes the width that the others
// leave, and a click or a key that reaches a column past the edge leaves
// PLU, Tax and Group where they are.
class ArticleGridView : public QTableView {
    Q_OBJECT
public:
    explicit ArticleGridView(QWidget* parent = nullptr);

    ArticleGridModel& Model() const { return *model_; }
    // The selected row as the table counts rows (from 1); 0 when none is.
    int SelectedRow() const;
    void SelectRow(int row);

signals:
    void MouseDown();
    void DblClick();
    // A key went down; told before the grid handles it as usual.
    void KeyDown(int key);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index, const QEvent* event) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void updateGeometries() override;

private:
    ArticleGridModel* model_;
};

}  // namespace vextora
