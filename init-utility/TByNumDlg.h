// The periodical report by record numbers: the printer's last record number
// is offered as the end, and Print sends the short or the detailed report.
// The dialog stays open after Print.
#pragma once

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "Forms.h"

namespace prendix {

class TByNumDlg : public qmr::ui::Form {
    Q_OBJECT
public:
    explicit TByNumDlg(QWidget* parent = nullptr);

    QLabel* Label1;
    QLineEdit* PwdBox;
    QLabel* Label2;
    QLineEdit* StartBox;
    QLabel* Label3;
    QLineEdit* EndBox;
    QFrame* Panel1;
    QRadioButton* ShortButton;
    QRadioButton* FullButton;
    QPushButton* OkBt;

    // Asks for the last record number and puts it into EndBox; false when
    // the exchange failed on the link, and EndBox is left alone.
    bool ShowLastRecordNumber();

public slots:
    void FormShow();
    void OkBtClick();
};

}  // namespace prendix
