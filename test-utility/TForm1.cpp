#include "TForm1.h"

#include "Cp1251.h"
#include "Executor.h"
#include "LinkHooks.h"
#include "Numbers.h"
#include "TCommandFrm.h"
#include "TOperatorDlg.h"
#include "Vextora.h"

namespace vextora {

using qmr::ui::Make;
using qmr::ui::MakeButton;
using qmr::ui::MakeLabel;
using qmr::ui::RowHeight;

namespace {

constexpr int ClientWidth = 542;
constexpr int ClientHeight = 361;
constexpr int GridTop = 40;
constexpr int TillTop = 270;
constexpr std::array<int, ColName> ColumnWidths = {53, 32, 45, 75, 71};

// Amounts stand right-aligned, so that "%5.2lf" and "%4.2lf" texts line up.
QLabel* MakeValue(QWidget* parent, const char* name, int x, int y) {
    QLabel* value = MakeLabel(parent, name, "0.00", x, y, 64);
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont bold = value->font();
    bold.setBold(true);
    value->setFont(bold);
    return value;
}

// Menus, their items and separators carry their member's name, as controls do.
template <class MenuPart>
MenuPart* Named(MenuPart* part, const char* name) {
    part->setObjectName(QString::fromLatin1(name));
    return part;
}

// The console's two texts as the settings keep them.
qmr::ConsoleTexts ConsoleTextsOf(const TCommandFrm& console) {
    return {qmr::ToCp1251(console.CmdBox->text()), qmr::ToCp1251(console.DataBox->text())};
}

}  // namespace

void PumpWindowEvents() {
    if (qmr::Env().ui) qmr::Env().ui->PumpEvents();
}

TForm1::TForm1(QWidget* parent) : MainForm(parent, "Form1", "Fiscal printer QMR-770 test", ClientWidth, ClientHeight) {
    BuildMenu();
    // The menu bar stands above the client area, as a window's menu does.
    const int menuHeight = MainMenu1->sizeHint().height();
    MainMenu1->setGeometry(0, 0, ClientWidth, menuHeight);
    setFixedSize(ClientWidth, ClientHeight + menuHeight);
    Client = Make<QWidget>(this, "Client", 0, menuHeight, ClientWidth, ClientHeight);
    BuildTopBar();
    BuildTill();

    OpenFileDlg.kind = qmr::ui::FileDialog::Kind::Open;
    OpenFileDlg.InitialDir = QStringLiteral(".");
    SaveFileDlg.kind = qmr::ui::FileDialog::Kind::Save;
    SaveFileDlg.InitialDir = QStringLiteral(".");
    OpenPictDlg.kind = qmr::ui::FileDialog::Kind::Open;
    OpenPictDlg.InitialDir = QStringLiteral(".");
    OpenPictDlg.FileMustExist = true;

    connect(this, &MainForm::Shown, this, &TForm1::FormShow);
    connect(this, &MainForm::Closed, this, &TForm1::FormClose);
    connect(PortNum, &qmr::ui::DropDownCombo::DropDown, this, &TForm1::PortNumDropDown);
    connect(ConnectBt, &QPushButton::clicked, this, &TForm1::ConnectBtClick);
    connect(CancelBt, &QPushButton::clicked, this, &TForm1::CancelBtClick);
    connect(RefreshBt, &QPushButton::clicked, this, &TForm1::RefreshBtClick);
    connect(ArtTable, &ArticleGridView::MouseDown, this, &TForm1::ArtTableMouseDown);
    connect(ArtTable, &ArticleGridView::DblClick, this, &TForm1::ArtTableDblClick);
    connect(QuantityFld, &QLineEdit::textChanged, this, &TForm1::QuantityFldChange);
    connect(SelBt, &QPushButton::clicked, this, &TForm1::SelBtClick);
    connect(SumFld, &DblClickEdit::DblClick, this, &TForm1::SumFldDblClick);
    connect(PayBt, &QPushButton::clicked, this, &TForm1::PayBtClick);
    connect(LoadM, &QAction::triggered, this, &TForm1::LoadMClick);
    connect(SaveM, &QAction::triggered, this, &TForm1::SaveMClick);
    connect(StoreM, &QAction::triggered, this, &TForm1::StoreMClick);
    connect(ReadfromPrinter1, &QAction::triggered, this, &TForm1::ReadfromPrinter1Click);
    connect(ArtTable, &ArticleGridView::KeyDown, this, &TForm1::ArtTableKeyDown);
    connect(ReadFMM, &QAction::triggered, this, &TForm1::ReadFMMClick);
    connect(ReadCodeMM, &QAction::triggered, this, &TForm1::ReadCodeMMClick);
    connect(OperatorM, &QAction::triggered, this, &TForm1::OperatorMClick);
    connect(LoadLogoM, &QAction::triggered, this, &TForm1::LoadLogoMClick);
    connect(TestM, &QAction::triggered, this, &TForm1::TestMClick);
    BindServiceRoutines();
}

void TForm1::BuildMenu() {
    MainMenu1 = Named(new QMenuBar(this), "MainMenu1");
    MainMenu1->setNativeMenuBar(false);

    ArticlesM = Named(MainMenu1->addMenu(QStringLiteral("Articles")), "ArticlesM");
    LoadM = Named(ArticlesM->addAction(QStringLiteral("Load from File")), "LoadM");
    SaveM = Named(ArticlesM->addAction(QStringLiteral("Save to File")), "SaveM");
    N1 = Named(ArticlesM->addSeparator(), "N1");
    StoreM = Named(ArticlesM->addAction(QStringLiteral("Send to Printer")), "StoreM");
    ReadfromPrinter1 = Named(ArticlesM->addAction(QStringLiteral("Read from Printer")), "ReadfromPrinter1");

    ServiceM = Named(MainMenu1->addMenu(QStringLiteral("Service")), "ServiceM");
    OperatorM = Named(ServiceM->addAction(QStringLiteral("Select Operator")), "OperatorM");
    LoadLogoM = Named(ServiceM->addAction(QStringLiteral("Load Graphics Logo")), "LoadLogoM");
    N2 = Named(ServiceM->addSeparator(), "N2");
    ReadFMM = Named(ServiceM->addAction(QStringLiteral("Read Fiscal Memory")), "ReadFMM");
    ReadCodeMM = Named(ServiceM->addAction(QStringLiteral("Read Code Memory")), "ReadCodeMM");
    N3 = Named(ServiceM->addSeparator(), "N3");
    ResetsM = Named(ServiceM->addAction(QStringLiteral("Make Resets")), "ResetsM");
    ClosuresM = Named(ServiceM->addAction(QStringLiteral("Make Closures")), "ClosuresM");

    TestM = Named(MainMenu1->addAction(QStringLiteral("Commands")), "TestM");

}

void TForm1::BuildTopBar() {
    Label4 = MakeLabel(Client, "Label4", "Port:", 8, 8, 30);
    PortNum = Make<qmr::ui::DropDownCombo>(Client, "PortNum", 40, 8, 130, RowHeight);
    for (int i = 1; i <= 8; ++i) PortNum->addItem(QStringLiteral("Com%1").arg(i));
    BaudsList = Make<QComboBox>(Client, "BaudsList", 176, 8, 80, RowHeight);
    qmr::ui::AddBaudItems(*BaudsList);
    ConnectBt = MakeButton(Client, "ConnectBt", "Connect", 264, 6, 84);
    Shape1 = Make<qmr::ui::Shape>(Client, "Shape1", 356, 9, 22, 22);
    Shape1->SetBrushColor(qmr::ui::colour::Green);
    Shape1->SetPenColor(qmr::ui::colour::Green);
    CancelBt = MakeButton(Client, "CancelBt", "Cancel", 382, 6, 74);
    CancelBt->setEnabled(false);
    RefreshBt = MakeButton(Client, "RefreshBt", "Refresh", 460, 6, 74);

    ArtTable = Make<ArticleGridView>(Client, "ArtTable", 0, GridTop, ClientWidth, TillTop - GridTop - 4);
    // The Name column stretches over what the others leave.
    for (int c = 0; c < ColName; ++c) ArtTable->setColumnWidth(c, ColumnWidths[static_cast<std::size_t>(c)]);
}

void TForm1::BuildTill() {
    const int row1 = TillTop + 4, row2 = row1 + 30, row3 = row2 + 30;
    Label1 = MakeLabel(Client, "Label1", "Quantity:", 8, row1, 60);
    QuantityFld = Make<QLineEdit>(Client, "QuantityFld", 70, row1, 80, RowHeight);
    QuantityFld->setText(QStringLiteral("1"));
    SelBt = MakeButton(Client, "SelBt", "Sell", 158, row1 - 2, 84);
    ArtCnt = MakeLabel(Client, "ArtCnt", "", 250, row1, 90);
    ArtCnt->setAlignment(Qt::AlignCenter);

    Label2 = MakeLabel(Client, "Label2", "Sum:", 8, row2, 60);
    SumFld = Make<DblClickEdit>(Client, "SumFld", 70, row2, 80, RowHeight);
    PayMode = Make<QComboBox>(Client, "PayMode", 158, row2, 84, RowHeight);
    PayMode->addItems({"Cash", "Card", "Cheque", "Credit"});
    PayBt = MakeButton(Client, "PayBt", "Payment", 250, row2 - 2, 90);

    StornoType = Make<QCheckBox>(Client, "StornoType", 8, row3, 150, RowHeight, QStringLiteral("Storno receipt"));

    Label5 = MakeLabel(Client, "Label5", "Price:", 370, row1, 50);
    PriceFld = MakeValue(Client, "PriceFld", 424, row1);
    Label3 = MakeLabel(Client, "Label3", "Total:", 370, row2, 50);
    TotalFld = MakeValue(Client, "TotalFld", 424, row2);
    Label7 = MakeLabel(Client, "Label7", "Resto:", 370, row3, 50);
    RestoFld = MakeValue(Client, "RestoFld", 424, row3);
}

void TForm1::FormShow() {
    qmr::ConsoleTexts console = ConsoleTextsOf(*CommandFrm);
    qmr::ui::LoadConnectionSettings(&console);
    CommandFrm->CmdBox->setText(qmr::FromCp1251(console.command));
    CommandFrm->DataBox->setText(qmr::FromCp1251(console.data));
    qmr::ui::ShowPortCombo(*PortNum, *BaudsList);
    ArtTable->Model().SetHeaders(ArticleHeaders);
    TotalFld->setText(QStringLiteral("0.00"));
    PayMode->setCurrentIndex(0);
}

void TForm1::FormClose() {
    const qmr::ConsoleTexts console = ConsoleTextsOf(*CommandFrm);
    qmr::ui::SaveConnectionSettings(*PortNum, *BaudsList, &console);
}

void TForm1::ConnectBtClick() { qmr::ui::ToggleConnection(*ConnectBt, *Shape1); }

void TForm1::PortNumDropDown() { qmr::ui::FillPortCombo(*PortNum, *BaudsList); }

void TForm1::TestMClick() { qmr::ui::ShowModal(*CommandFrm); }

void TForm1::OperatorMClick() {
    qmr::ui::ShowModal(*OperatorDlg);
    if (!PasswordConfirmed) return;
    OperatorPassword = EnteredPassword;
    OperatorNumber = qmr::ReadLeadingInt(qmr::ToCp1251(OperatorDlg->OperNmb->currentText()));
}

void TForm1::LoadLogoMClick() { qmr::ui::ShowModal(*LogoDlg); }

}  // namespace vextora
