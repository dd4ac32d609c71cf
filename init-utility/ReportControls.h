// What the report dialogs are built of: a label with its edit on one row,
// and the short or detailed choice in its panel.
#pragma once

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <tuple>
#include <utility>

namespace prendix {

// An edit of the given typing limit at (editX, y), its caption on a label
// from labelX to editX.
using EditRow = std::pair<QLabel*, QLineEdit*>;
EditRow MakeEditRow(QWidget* form, const char* labelName, const char* caption, const char* editName, int labelX,
                    int editX, int y, int editWidth, int maxLength, const QString& text = {});
// The same, masked with '*'.
EditRow MakePasswordRow(QWidget* form, const char* labelName, int labelX, int editX, int y, int editWidth);

// The panel, with "Short report" (selected) over "Detailed report".
using ReportKinds = std::tuple<QFrame*, QRadioButton*, QRadioButton*>;
ReportKinds MakeReportKinds(QWidget* form, int x, int y, int width);

}  // namespace prendix
