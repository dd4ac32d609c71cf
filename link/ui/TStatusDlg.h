// The status bits dialog that both programs share: the printer's six status
// bytes of the last reply as check boxes, and the two link failures of the
// last exchange. It only displays: it sends nothing and changes no link state.
//
// How a program uses it: create the one instance at start-up with the
// program's variant, hand it to InstallWindowLink (LinkHooks.h) so the link can
// show it after a refused command, and show it on demand with
//
//     qmr::ui::ShowPlaced(*mainWindow, *StatusDlg);   // Prendix places it over its window
//     qmr::ui::ShowModal(*StatusDlg);                 // Vextora's console does not
//
// Every showing refreshes it from Link().StatusBytes and Link().StatusWord.
// The test utility's variant has its own captions, no Status42 (the member
// stays null), no red text, the fixed caption, and a Close button that is
// neither the default nor the cancel button.
#pragma once

#include <QCheckBox>
#include <QPushButton>
#include <vector>

#include "Forms.h"
#include "LinkState.h"

namespace qmr {

// Both programs build the same link; their status dialogs differ.
enum class LinkVariant {
    InitUtility,  // Prendix: the dialog names the command and has Status42
    TestUtility,  // Vextora
};

}  // namespace qmr

namespace qmr::ui {

class TStatusDlg : public Form {
    Q_OBJECT
public:
    explicit TStatusDlg(LinkVariant variant, QWidget* parent = nullptr);

    LinkVariant Variant() const { return variant_; }

    // A status box and the bit of the status bytes it shows.
    struct StatusBox {
        int byte;
        int bit;
        QCheckBox* box;
    };
    // The status boxes of this variant, in the order the refresh writes them.
    const std::vector<StatusBox>& StatusBoxes() const { return boxes_; }

    QCheckBox* Status00;
    QCheckBox* Status01;
    QCheckBox* Status02;
    QCheckBox* Status03;
    QCheckBox* Status05;
    QCheckBox* Status10;
    QCheckBox* Status11;
    QCheckBox* Status14;
    QCheckBox* Status15;
    QCheckBox* Status20;
    QCheckBox* Status21;
    QCheckBox* Status22;
    QCheckBox* Status23;
    QCheckBox* Status24;
    QCheckBox* Status25;
    QCheckBox* Status40;
    QCheckBox* Status42;  // null in the test utility's variant
    QCheckBox* Status43;
    QCheckBox* Status44;
    QCheckBox* Status45;
    QCheckBox* Status50;
    QCheckBox* Status51;
    QCheckBox* Status53;
    QCheckBox* Status54;
    QCheckBox* Status55;
    QCheckBox* Status_Timeout;
    QCheckBox* Status_Protocol;
    QPushButton* OkBt;

public slots:
    // The refresh: on every showing and after every click on a status box,
    // which it thereby puts back.
    void FormShow();
    void OkBtClick();

private:
    LinkVariant variant_;
    std::vector<StatusBox> boxes_;
};

}  // namespace qmr::ui
