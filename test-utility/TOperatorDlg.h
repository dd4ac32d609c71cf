// The operator whose number and password open the next receipts
// (TForm1::OperatorMClick takes them over after an OK).
#pragma once

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "Forms.h"

namespace vextora {

class TOperatorDlg : public qmr::ui::Form {
    Q_OBJECT
public:
    explicit TOperatorDlg(QWidget* parent = nullptr);

    QLabel* Label1;
    QComboBox* OperNmb;
    QLabel* Label2;
    QLineEdit* OperP;
    QPushButton* OkBt;

public slots:
    void FormShow();
    void OkBtClick();
};

}  // namespace vextora
