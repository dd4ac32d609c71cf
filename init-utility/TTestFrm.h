// Prints test receipts that add up to nothing: a chosen number of receipts,
// each with a chosen number of 0.01 sales alternating between groups A and
// B, a void line per group, a payment of 0.00 and the close. The main
// window's show handler hides the only button that opens it.
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "Forms.h"
#include "UpDown.h"

namespace prendix {

class TTestFrm : public qmr::ui::Form {
    Q_OBJECT
public:
    explicit TTestFrm(QWidget* parent = nullptr);

    QLabel* Label1;
    QLineEdit* RecBt;
    qmr::ui::UpDown* RecUD;  // sales per receipt
    QLabel* Label2;
    QLineEdit* ClosBt;
    qmr::ui::UpDown* ClosUD;  // receipts
    QPushButton* PrintBt;

public slots:
    void PrintBtClick();
};

}  // namespace prendix
