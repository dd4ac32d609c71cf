// Sets the printer's clock. The fields start with the computer's date and
// time at every showing, can be filled again from the computer or from the
// printer, edited by hand, and are sent as they stand with "Set".
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "Forms.h"

namespace prendix {

class TSetTimeDlg : public qmr::ui::Form {
    Q_OBJECT
public:
    explicit TSetTimeDlg(QWidget* parent = nullptr);

    QLabel* Label1;
    QLineEdit* DateBox;
    QLabel* Label2;
    QLineEdit* TimeBox;
    QPushButton* FromPcBt;
    QPushButton* FromPrinterBt;
    QPushButton* OkBt;

public slots:
    void FromPcBtClick();
    void FromPrinterBtClick();
    void OkBtClick();
};

}  // namespace prendix
