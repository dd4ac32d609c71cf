// The command console: any command by number with free data, the raw reply
// and the six status bytes. Its two texts are kept with the settings by the
// main window (read at its show, written at its close).
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "Controls.h"
#include "Forms.h"

namespace vextora {

class TCommandFrm : public qmr::ui::Form {
    Q_OBJECT
public:
    explicit TCommandFrm(QWidget* parent = nullptr);

    QLabel* Label1;
    QLineEdit* CmdBox;
    QLabel* Label2;
    QLineEdit* DataBox;
    QLabel* Label3;
    WrappingEdit* AnswerBox;
    QLabel* Label4;
    QLabel* StatusTxt;
    QPushButton* ExecuteBt;
    QPushButton* StatusBt;

public slots:
    void FormShow();
    void ExecuteBtClick();
    void StatusBtClick();
};

}  // namespace vextora
