// Vextora's main window: the connection, the article grid, the till below
// it and the menus. Its handlers are spread by feature:
//   TForm1.cpp          the window, connecting, the console, operator and logo menus
//   TForm1Articles.cpp  the articles file
//   TForm1Sale.cpp      selling, paying and the receipt's totals
//   TForm1Transfer.cpp  the printer's article table: reading, sending, deleting
//   TForm1Dump.cpp      the memory dumps
//   TForm1Service.cpp   the fill series, the self-test, the cutter and digit tests
#pragma once

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <string_view>

#include "ArticleGrid.h"
#include "Controls.h"
#include "Forms.h"
#include "Seam.h"

namespace vextora {

class TForm1 : public qmr::ui::MainForm {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);

    // The window below the menu bar: the area the dialogs are placed over.
    QWidget* Client;

    QMenuBar* MainMenu1;
    QMenu* ArticlesM;
    QAction* LoadM;
    QAction* SaveM;
    QAction* N1;
    QAction* StoreM;
    QAction* ReadfromPrinter1;
    QMenu* ServiceM;
    QAction* OperatorM;
    QAction* LoadLogoM;
    QAction* N2;
    QAction* ReadFMM;
    QAction* ReadCodeMM;
    QAction* N3;
    QAction* ResetsM;
    QAction* ClosuresM;
    QAction* TestM;

    QLabel* Label4;
    qmr::ui::DropDownCombo* PortNum;
    QComboBox* BaudsList;
    QPushButton* ConnectBt;
    qmr::ui::Shape* Shape1;
    QPushButton* CancelBt;
    QPushButton* RefreshBt;

    ArticleGridView* ArtTable;

    QLabel* Label1;
    QLineEdit* QuantityFld;
    QPushButton* SelBt;
    QLabel* ArtCnt;
    QLabel* Label2;
    DblClickEdit* SumFld;
    QComboBox* PayMode;
    QPushButton* PayBt;
    QLabel* Label5;
    QLabel* PriceFld;
    QCheckBox* StornoType;
    QLabel* Label3;
    QLabel* TotalFld;
    QLabel* Label7;
    QLabel* RestoFld;

    qmr::ui::FileDialog OpenFileDlg;
    qmr::ui::FileDialog SaveFileDlg;
    qmr::ui::FileDialog OpenPictDlg;

    // The keys of the service routines that have no menu item.
    QShortcut* TestSKey;
    QShortcut* CutterKey;
    QShortcut* Button1Key;

public slots:
    void FormShow();
    void FormClose();
    void ConnectBtClick();
    void PortNumDropDown();
    void TestMClick();
    void OperatorMClick();
    void LoadLogoMClick();

    void LoadMClick();
    void SaveMClick();
    void ReadfromPrinter1Click();
    void StoreMClick();
    void ArtTableKeyDown(int key);
    void ReadFMMClick();
    void ReadCodeMMClick();

    void SelBtClick();
    void PayBtClick();
    void QuantityFldChange();
    void ArtTableMouseDown();
    void ArtTableDblClick();
    void SumFldDblClick();
    void RefreshBtClick();
    void CancelBtClick();

    void ResetsMClick();
    void ClosuresMClick();
    void TestSMClick();
    void CutterMClick();
    void Button1Click();

private:
    void BuildMenu();
    void BuildTopBar();
    void BuildTill();
    void BindServiceRoutines();

    // The PLU and price of the selected row; a PLU below 1 means none is.
    int SelectedPlu() const;
    double SelectedPrice() const;
    // The Quantity field's number, as single precision holds it.
    double EnteredQuantity() const;
    void ShowLineAmount();
};

// One pass of the pending window messages, so a long flow's window stays live.
void PumpWindowEvents();

// One long flow at a time, as the link has one exchange at a time. A flow
// lets the windows run between and during its commands, so a key or a menu
// item could start another inside it, which would take over its sums, its
// stop flag and Cancel. Each long flow holds one of these for as long as it
// runs, and does not start when it could not get it.
class LongFlow {
public:
    LongFlow() : held_(!running_) { running_ = true; }
    ~LongFlow() {
        if (held_) running_ = false;
    }
    LongFlow(const LongFlow&) = delete;
    LongFlow& operator=(const LongFlow&) = delete;
    // False while another flow runs.
    explicit operator bool() const { return held_; }

private:
    static inline bool running_ = false;
    bool held_;
};

}  // namespace vextora
