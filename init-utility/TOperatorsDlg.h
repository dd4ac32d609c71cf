// Picks one of the printer's fifteen operators and opens the dialogs that
// change its name or password. The choice stays from one showing to the next.
#pragma once

#include <QComboBox>
#include <QPushButton>

#include "Forms.h"

namespace prendix {

class TOperatorsDlg : public qmr::ui::Form {
    Q_OBJECT
public:
    explicit TOperatorsDlg(QWidget* parent = nullptr);

    QComboBox* OperNum;
    QPushButton* OperPwd;
    QPushButton* OperName;

    // The operator chosen, 1 to 15.
    int OperatorNumber() const { return OperNum->currentIndex() + 1; }

public slots:
    void FormCreate();
    void OperNameClick();
    void OperPwdClick();
    // Bound to no control.
    void OperReportClick();
};

}  // namespace prendix
