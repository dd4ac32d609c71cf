// The password asked for before an article is programmed into the printer
// or deleted there. After the modal showing, PasswordConfirmed tells whether
// OK ended it and EnteredPassword holds what was typed.
#pragma once

#include <QLineEdit>
#include <QPushButton>

#include "Forms.h"

namespace vextora {

class TPwdDialog : public qmr::ui::Form {
    Q_OBJECT
public:
    explicit TPwdDialog(QWidget* parent = nullptr);

    QLineEdit* PwdBox;
    QPushButton* OkBt;

public slots:
    void FormShow();
    void OkBtClick();
};

}  // namespace vextora
