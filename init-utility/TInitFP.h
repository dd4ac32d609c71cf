// Prendix's main window: the connection, the printer's identification and
// tax settings, the settings and fiscalisation groups and the buttons that
// act on the printer. Its handlers are spread by feature:
//   TInitFP.cpp         the window, connecting, status, diagnostics
//   TInitFPRefresh.cpp  reading the identification and tax settings
//   TInitFPReports.cpp  the reports menu
//   TInitFPRecover.cpp  the Emergency Button
//   TInitFPTestReceipts.cpp  test receipts
//   TInitFPDataFile.cpp preloading them from a printer data file
//   TInitFPProgram.cpp  programming them
//   TInitFPFiscalise.cpp the tax number, fiscalisation and refiscalisation
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <optional>
#include <string>

#include "Forms.h"
#include "PrinterReplies.h"
#include "Seam.h"

namespace prendix {

class TInitFP : public qmr::ui::MainForm {
    Q_OBJECT
public:
    explicit TInitFP(QWidget* parent = nullptr);

    // Serial port
    QGroupBox* PortBox;
    QLabel* Label1;
    qmr::ui::DropDownCombo* PortNum;
    QLabel* Label2;
    QComboBox* BaudsBox;
    qmr::ui::Shape* Shape1;
    QPushButton* ConnectBt;

    // Identification and tax settings
    QGroupBox* TaxInfoBox;
    QLabel* Label14;
    QCheckBox* UpdateFM;
    QLineEdit* ModuleBox;
    QLabel* Label3;
    QLineEdit* SerialBox;
    QLabel* Label4;
    QComboBox* CountryBox;
    QToolButton* PgmBt;
    QPushButton* TestBt;
    QLabel* Label5;
    QComboBox* Decimals;
    QCheckBox* TaxA_Box;
    QCheckBox* TaxB_Box;
    QCheckBox* TaxC_Box;
    QCheckBox* TaxD_Box;
    QLineEdit* TaxA;
    QLineEdit* TaxB;
    QLineEdit* TaxC;
    QLineEdit* TaxD;

    // Settings
    QGroupBox* SettingsBox;
    QPushButton* DateBt;
    QPushButton* HeaderBt;
    QPushButton* LogoBt;
    QPushButton* OperBt;

    // Fiscalisation
    QGroupBox* FiscalizeBox;
    QLabel* Label12;
    QLineEdit* IdNumBox;
    QLabel* Label6;
    QFrame* Panel2;
    QRadioButton* PnBox;  // registration type 0
    QRadioButton* IdBox;  // registration type 1
    QPushButton* LearnBt;
    QPushButton* FiscaliseBt;

    QPushButton* ClosureBt;
    QPushButton* RecoverBt;

    QFrame* Panel1;
    QPushButton* StatusBt;
    QPushButton* RefreshBt;
    QPushButton* FromFileBt;
    QPushButton* DiagnBt;

    qmr::ui::FileDialog OpenFileDlg;
    qmr::ui::FileDialog SaveFileDlg;
    qmr::ui::FileDialog OpenPictDlg;

    // The tax group check boxes and rate edits, groups A to D.
    std::array<QCheckBox*, 4> TaxBoxes() const { return {TaxA_Box, TaxB_Box, TaxC_Box, TaxD_Box}; }
    std::array<QLineEdit*, 4> TaxRates() const { return {TaxA, TaxB, TaxC, TaxD}; }

    int RequestStatus();
    int PrintDiagnostics();
    void RefreshFromPrinter();
    void ClearPrinterFields();
    int ReadIdentification();
    void LoadPrinterDataFile(const QString& path);

public slots:
    void FormShow();
    void FormClose();
    void ConnectBtClick();
    void PortNumDropDown();
    void StatusBtClick();
    void DiagnBtClick();
    void RefreshBtClick();
    void ClosureBtClick();
    void LogoBtClick();
    void ExitBtClick();
    void RecoverBtClick();
    void DateBtClick();
    void OperBtClick();
    // TestBt is hidden at every showing, and SalesBtClick is bound to no control.
    void TestBtClick();
    void SalesBtClick();
    void HeaderBtClick();
    void FromFileBtClick();
    void PgmBtClick();
    void UpdateFMClick();
    void LearnBtClick();
    void FiscaliseBtClick();

private:
    void BuildPortBox();
    void BuildTaxInfoBox();
    void BuildSettingsBox();
    void BuildFiscalizeBox();
    void BuildButtons();
    // Sends a command with empty data; false when the link failed.
    void ShowTaxEnables(const TaxEnables& enables);
    void ShowTaxRates(const std::array<double, 4>& rates);
    void ShowTaxNumber(const TaxNumber& number);
    // SetTaxNumber's data from IdNumBox and the type; nothing, and the user
    // told, when it is too long.
    std::optional<std::string> TaxNumberText();
    void Refiscalise();
};

}  // namespace prendix
