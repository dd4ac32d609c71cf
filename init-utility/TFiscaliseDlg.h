// The refiscalisation dialog: a fiscalised printer's new tax number and
// registration type, sent with the password and the printer's
// identification. Enter and Esc both press CancelBt.
#pragma once

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "Forms.h"

namespace prendix {

class TFiscaliseDlg : public qmr::ui::Form {
    Q_OBJECT
public:
    explicit TFiscaliseDlg(QWidget* parent = nullptr);

    QLabel* Label1;
    QLineEdit* IdNumBox;
    QGroupBox* RadioGroup1;
    QRadioButton* PnBox;  // registration type 0
    QRadioButton* IdBox;  // registration type 1
    QPushButton* OkBt;
    QPushButton* CancelBt;

public slots:
    void OkBtClick();
    void CancelBtClick();
};

}  // namespace prendix
