#include "TInitFP.h"

#include "Commands.h"
#include "Edits.h"
#include "Executor.h"
#include "LinkHooks.h"
#include "Prendix.h"
#include "Transport.h"

namespace prendix {

using qmr::ui::ButtonHeight;
using qmr::ui::Make;
using qmr::ui::MakeButton;
using qmr::ui::MakeLabel;
using qmr::ui::RowHeight;

namespace {

const char* const Countries[CountryCount] = {
    "Russia",  "Greece",   "Ukraine",    "England", "Poland",  "Hungary",
    "Bulgaria", "Not used 1", "Kenya", "Romania", "Not Set",
};

// A tax group's box, its caption at the left, and its rate edit.
void MakeTaxGroup(QWidget* parent, const char* boxName, const char* caption, const char* editName, int x, int y,
                  QCheckBox*& box, QLineEdit*& edit) {
    box = Make<QCheckBox>(parent, boxName, x, y, 42, RowHeight, QString::fromLatin1(caption));
    box->setLayoutDirection(Qt::RightToLeft);
    edit = Make<QLineEdit>(parent, editName, x + 44, y, 60, RowHeight);
    qmr::ui::LimitTyping(*edit, 6);
}

}  // namespace

TInitFP::TInitFP(QWidget* parent) : MainForm(parent, "InitFP", "Fiscal Printer QMR-770 Init", 497, 337) {
    BuildPortBox();
    BuildTaxInfoBox();
    BuildSettingsBox();
    BuildFiscalizeBox();
    BuildButtons();

    OpenFileDlg.kind = qmr::ui::FileDialog::Kind::Open;
    OpenFileDlg.FileMustExist = true;
    SaveFileDlg.kind = qmr::ui::FileDialog::Kind::Save;
    OpenPictDlg.kind = qmr::ui::FileDialog::Kind::Open;
    OpenPictDlg.FileMustExist = true;
    OpenPictDlg.Filter = "Bitmaps (*.bmp)|*.bmp";
    OpenPictDlg.Title = QString::fromUtf8("Избери файл");

    connect(this, &MainForm::Shown, this, &TInitFP::FormShow);
    connect(this, &MainForm::Closed, this, &TInitFP::FormClose);
    connect(PortNum, &qmr::ui::DropDownCombo::DropDown, this, &TInitFP::PortNumDropDown);
    connect(ConnectBt, &QPushButton::clicked, this, &TInitFP::ConnectBtClick);
    connect(StatusBt, &QPushButton::clicked, this, &TInitFP::StatusBtClick);
    connect(RefreshBt, &QPushButton::clicked, this, &TInitFP::RefreshBtClick);
    connect(DiagnBt, &QPushButton::clicked, this, &TInitFP::DiagnBtClick);
    connect(ClosureBt, &QPushButton::clicked, this, &TInitFP::ClosureBtClick);
    connect(RecoverBt, &QPushButton::clicked, this, &TInitFP::RecoverBtClick);
    connect(DateBt, &QPushButton::clicked, this, &TInitFP::DateBtClick);
    connect(OperBt, &QPushButton::clicked, this, &TInitFP::OperBtClick);
    connect(TestBt, &QPushButton::clicked, this, &TInitFP::TestBtClick);
    connect(HeaderBt, &QPushButton::clicked, this, &TInitFP::HeaderBtClick);
    connect(FromFileBt, &QPushButton::clicked, this, &TInitFP::FromFileBtClick);
    connect(PgmBt, &QToolButton::clicked, this, &TInitFP::PgmBtClick);
    connect(UpdateFM, &QCheckBox::clicked, this, &TInitFP::UpdateFMClick);
    connect(LearnBt, &QPushButton::clicked, this, &TInitFP::LearnBtClick);
    connect(FiscaliseBt, &QPushButton::clicked, this, &TInitFP::FiscaliseBtClick);
    connect(LogoBt, &QPushButton::clicked, this, &TInitFP::LogoBtClick);
}

void TInitFP::BuildPortBox() {
    PortBox = Make<QGroupBox>(this, "PortBox", 6, 2, 485, 54, QStringLiteral(" Serial port  "));
    Label1 = MakeLabel(PortBox, "Label1", "Port:", 12, 22, 36);
    PortNum = Make<qmr::ui::DropDownCombo>(PortBox, "PortNum", 50, 22, 150, RowHeight);
    for (int i = 1; i <= 8; ++i) PortNum->addItem(QStringLiteral("Com%1").arg(i));
    Label2 = MakeLabel(PortBox, "Label2", "Speed:", 218, 22, 46);
    BaudsBox = Make<QComboBox>(PortBox, "BaudsBox", 266, 22, 90, RowHeight);
    qmr::ui::AddBaudItems(*BaudsBox);
    Shape1 = Make<qmr::ui::Shape>(PortBox, "Shape1", 366, 23, 22, 22);
    Shape1->SetBrushColor(qmr::ui::colour::Green);
    Shape1->SetPenColor(qmr::ui::colour::Teal);
    ConnectBt = MakeButton(PortBox, "ConnectBt", "Connect", 394, 20, 84);
}

void TInitFP::BuildTaxInfoBox() {
    TaxInfoBox = Make<QGroupBox>(this, "TaxInfoBox", 6, 60, 485, 104);
    Label3 = MakeLabel(TaxInfoBox, "Label3", "Serial number:", 10, 10, 92);
    SerialBox = Make<QLineEdit>(TaxInfoBox, "SerialBox", 104, 10, 122, RowHeight);
    Label4 = MakeLabel(TaxInfoBox, "Label4", "Country:", 240, 10, 56);
    CountryBox = Make<QComboBox>(TaxInfoBox, "CountryBox", 298, 10, 106, RowHeight);
    for (const char* country : Countries) CountryBox->addItem(QString::fromLatin1(country));
    PgmBt = Make<QToolButton>(TaxInfoBox, "PgmBt", 406, 8, 74, ButtonHeight);
    PgmBt->setText(QStringLiteral("Program"));
    PgmBt->setAutoRaise(true);
    QFont bold = PgmBt->font();
    bold.setBold(true);
    PgmBt->setFont(bold);
    qmr::ui::SetTextColour(*PgmBt, qmr::ui::colour::Red);

    Label14 = MakeLabel(TaxInfoBox, "Label14", "FM number:", 10, 40, 74);
    UpdateFM = Make<QCheckBox>(TaxInfoBox, "UpdateFM", 84, 40, 18, RowHeight);
    ModuleBox = Make<QLineEdit>(TaxInfoBox, "ModuleBox", 104, 40, 122, RowHeight);
    Label5 = MakeLabel(TaxInfoBox, "Label5", "Decimal places:", 240, 40, 100);
    Decimals = Make<QComboBox>(TaxInfoBox, "Decimals", 342, 40, 62, RowHeight);
    Decimals->addItems({"0", "2"});
    Decimals->setCurrentIndex(1);
    TestBt = Make<QPushButton>(TaxInfoBox, "TestBt", 440, 40, 30, RowHeight, QStringLiteral("!!!"));

    MakeTaxGroup(TaxInfoBox, "TaxA_Box", "A:", "TaxA", 10, 72, TaxA_Box, TaxA);
    MakeTaxGroup(TaxInfoBox, "TaxB_Box", "B:", "TaxB", 128, 72, TaxB_Box, TaxB);
    MakeTaxGroup(TaxInfoBox, "TaxC_Box", "C:", "TaxC", 246, 72, TaxC_Box, TaxC);
    MakeTaxGroup(TaxInfoBox, "TaxD_Box", "D:", "TaxD", 364, 72, TaxD_Box, TaxD);
}

void TInitFP::BuildSettingsBox() {
    SettingsBox = Make<QGroupBox>(this, "SettingsBox", 216, 168, 275, 90, QStringLiteral(" Setrtings  "));
    DateBt = MakeButton(SettingsBox, "DateBt", "Date and Time", 8, 22, 128);
    HeaderBt = MakeButton(SettingsBox, "HeaderBt", "Header and Footer", 140, 22, 128);
    LogoBt = MakeButton(SettingsBox, "LogoBt", "Graphic Logo", 8, 54, 128);
    OperBt = MakeButton(SettingsBox, "OperBt", "Operators", 140, 54, 128);
    // Under the settings buttons, in their columns.
    ClosureBt = MakeButton(this, "ClosureBt", "Reports", 224, 262, 128);
    RecoverBt = MakeButton(this, "RecoverBt", "Emergency Button", 356, 262, 128);
}

void TInitFP::BuildFiscalizeBox() {
    FiscalizeBox = Make<QGroupBox>(this, "FiscalizeBox", 6, 168, 204, 122, QStringLiteral(" Fiscalization "));
    Label12 = MakeLabel(FiscalizeBox, "Label12", "VAT number:", 8, 22, 78);
    IdNumBox = Make<QLineEdit>(FiscalizeBox, "IdNumBox", 88, 22, 108, RowHeight);
    Label6 = MakeLabel(FiscalizeBox, "Label6", "Reg. type:", 8, 52, 78);
    Panel2 = Make<QFrame>(FiscalizeBox, "Panel2", 88, 50, 108, 28);
    PnBox = Make<QRadioButton>(Panel2, "PnBox", 4, 2, 48, RowHeight, QStringLiteral("PN"));
    IdBox = Make<QRadioButton>(Panel2, "IdBox", 56, 2, 48, RowHeight, QStringLiteral("ID"));
    PnBox->setChecked(true);
    LearnBt = MakeButton(FiscalizeBox, "LearnBt", "Non fiscal mode", 8, 86, 114);
    FiscaliseBt = MakeButton(FiscalizeBox, "FiscaliseBt", "Fiscalize", 126, 86, 70);
}

void TInitFP::BuildButtons() {
    Panel1 = Make<QFrame>(this, "Panel1", 0, 296, 497, 41);
    Panel1->setFrameShape(QFrame::StyledPanel);
    Panel1->setFrameShadow(QFrame::Raised);
    StatusBt = MakeButton(Panel1, "StatusBt", "Status", 18, 6, 100);
    RefreshBt = MakeButton(Panel1, "RefreshBt", "Refresh", 138, 6, 100);
    FromFileBt = MakeButton(Panel1, "FromFileBt", "From File", 258, 6, 100);
    DiagnBt = MakeButton(Panel1, "DiagnBt", "Diagnostics", 378, 6, 100);
}

int TInitFP::RequestStatus() { return qmr::ExecCommand(qmr::ReadStatus, ""); }

int TInitFP::PrintDiagnostics() { return qmr::ExecCommand(qmr::RunDiagnostics, ""); }

void TInitFP::FormShow() {
    qmr::ui::LoadConnectionSettings(nullptr);
    qmr::ui::ShowPortCombo(*PortNum, *BaudsBox);
    TestBt->setVisible(false);
    CountryBox->setCurrentIndex(2);
}

void TInitFP::FormClose() {
    qmr::ui::SaveConnectionSettings(*PortNum, *BaudsBox, nullptr);
    if (qmr::Link().Connected) qmr::ClosePort();
}

void TInitFP::ConnectBtClick() { qmr::ui::ToggleConnection(*ConnectBt, *Shape1); }

void TInitFP::PortNumDropDown() { qmr::ui::FillPortCombo(*PortNum, *BaudsBox); }

void TInitFP::StatusBtClick() {
    RequestStatus();
    if (!qmr::Link().Connected || qmr::Refused()) return;
    qmr::ui::ShowPlaced(*this, *StatusDlg);
}

void TInitFP::DiagnBtClick() { PrintDiagnostics(); }

void TInitFP::LogoBtClick() { qmr::ui::ShowPlaced(*this, *LogoDlg); }

void TInitFP::ExitBtClick() { close(); }

void TInitFP::DateBtClick() { qmr::ui::ShowPlaced(*this, *SetTimeDlg); }

void TInitFP::OperBtClick() { qmr::ui::ShowPlaced(*this, *OperatorsDlg); }

void TInitFP::HeaderBtClick() { qmr::ui::ShowPlaced(*this, *HeaderDlg); }

}  // namespace prendix
