// The password prompt of Prendix: every action that needs a password shows
// it and goes on only when ShowModal returned 1 (OK), then reads PwdBox. The
// close box gives 2. PwdBox is never cleared, so OK alone sends the last
// password again.
#pragma once

#include <QLineEdit>
#include <QPushButton>

#include "Forms.h"

namespace prendix {

class TRepPwdDlg : public qmr::ui::Form {
    Q_OBJECT
public:
    explicit TRepPwdDlg(QWidget* parent = nullptr);

    QLineEdit* PwdBox;
    QPushButton* OkBt;

public slots:
    void OkBtClick();
};

}  // namespace prendix
