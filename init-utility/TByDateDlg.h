// The periodical report by dates, which also serves the history of tax
// rates: HistoryMode, set by the reports menu just before it shows, says
// which. Print sends the report and the dialog stays open.
#pragma once

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "Forms.h"

namespace prendix {

// 1 while the date dialog serves the history of tax rates, 0 for the
// periodical report by date; 0 at start.
extern unsigned char HistoryMode;

class TByDateDlg : public qmr::ui::Form {
    Q_OBJECT
public:
    explicit TByDateDlg(QWidget* parent = nullptr);

    QLabel* Label1;
    QLineEdit* PwdBox;
    QLabel* Label2;
    QLineEdit* StartDate;
    QLabel* Label3;
    QLineEdit* EndDate;
    QFrame* Panel1;
    QRadioButton* ShortButton;
    QRadioButton* FullButton;
    QPushButton* OkBt;

public slots:
    void FormShow();
    void OkBtClick();
};

}  // namespace prendix
