// The articles report: what to list, the PLU range and the password. Print
// sends the report and the form stays open; it stands in the middle of the
// screen.
#pragma once

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "Forms.h"
#include "ReportTexts.h"

namespace prendix {

class TArtForm : public qmr::ui::Form {
    Q_OBJECT
public:
    explicit TArtForm(QWidget* parent = nullptr);

    QGroupBox* GroupBox1;
    QRadioButton* PgmArt;
    QRadioButton* SoldArt;
    QRadioButton* SoldArtV;
    QRadioButton* GroupArt;
    QRadioButton* GroupArtV;
    QLabel* Label1;
    QLineEdit* FromBox;
    QLabel* Label2;
    QLineEdit* ToBox;
    QLabel* Label3;
    QLineEdit* PwdBox;
    QPushButton* OkBt;

    // The kind the radio buttons choose.
    ArticleKind Kind() const;

public slots:
    void OkBtClick();
};

}  // namespace prendix
