// The graphic logo dialog that both programs share: loads a bitmap into the
// printer as its 96-row logo and switches logo printing on and off.
//
// How a program uses it: create the one instance at start-up with the main
// window's picture dialog, which it sets up before every use, and show it
//
//     LogoDlg = new qmr::ui::TLogoDlg(InitFP->OpenPictDlg, InitFP);
//     qmr::ui::ShowPlaced(*InitFP, *LogoDlg);   // Prendix places it over its window
//     qmr::ui::ShowModal(*LogoDlg);             // Vextora does not
//
// Nothing is reset when it shows: the password and the progress stay as the
// last showing left them.
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

#include "Forms.h"
#include "Seam.h"

namespace qmr::ui {

class TLogoDlg : public Form {
    Q_OBJECT
public:
    TLogoDlg(FileDialog& openPictDlg, QWidget* parent = nullptr);

    QLabel* Label1;
    QLineEdit* PwdBox;
    QPushButton* LoadBt;
    QPushButton* EnableBt;
    QPushButton* DisableBt;
    QProgressBar* LogoBar;

public slots:
    void LoadBtClick();
    void EnableBtClick();
    void DisableBtClick();

private:
    FileDialog& openPictDlg_;
};

}  // namespace qmr::ui
