// Sets the name of the operator chosen in the operators dialog, given that
// operator's password.
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "Forms.h"

namespace prendix {

class TOperNameDlg : public qmr::ui::Form {
    Q_OBJECT
public:
    explicit TOperNameDlg(QWidget* parent = nullptr);

    QLabel* Label1;
    QLineEdit* OperPwd;
    QLabel* Label2;
    QLineEdit* OperName;
    QPushButton* OkBt;

public slots:
    void OkBtClick();
};

}  // namespace prendix
