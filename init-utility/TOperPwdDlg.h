// Changes the password of the operator chosen in the operators dialog: the
// old password, and the new one typed twice.
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "Forms.h"

namespace prendix {

class TOperPwdDlg : public qmr::ui::Form {
    Q_OBJECT
public:
    explicit TOperPwdDlg(QWidget* parent = nullptr);

    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLineEdit* OldPwd;
    QLineEdit* NewPwd;
    QLineEdit* CheckPwd;
    QPushButton* OkBt;

public slots:
    void OkBtClick();
};

}  // namespace prendix
