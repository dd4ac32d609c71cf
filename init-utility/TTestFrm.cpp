#include "TTestFrm.h"

#include "Commands.h"
#include "Executor.h"
#include "ServiceTexts.h"

namespace prendix {

using qmr::ui::Make;

namespace {

qmr::ui::UpDown* MakeCount(QWidget* parent, const char* name, QLineEdit* edit) {
    auto* upDown = Make<qmr::ui::UpDown>(parent, name, 0, 0, 0, 0);
    upDown->SetRange(1, 100);
    upDown->SetAssociate(edit);
    upDown->SetPosition(1);
    return upDown;
}

// One test receipt: the sales, a void line per group sold, a payment of
// nothing and the close; false when the run must stop.
bool PrintTestReceipt(int sales) {
    if (qmr::ExecFatal(qmr::OpenFiscalReceipt, "1,4826,1")) return false;
    int a = 0, b = 0;
    for (int k = 1; k <= sales; ++k) {
        ++(k % 2 ? a : b);
        if (qmr::ExecFatal(qmr::RegisterSale, TestSaleText(k))) return false;
    }
    if (a > 0 && qmr::ExecFatal(qmr::RegisterSale, VoidGroupAText(a))) return false;
    if (b > 0 && qmr::ExecFatal(qmr::RegisterSale, VoidGroupBText(b))) return false;
    if (qmr::ExecFatal(qmr::RegisterPayment, "\t0.00")) return false;
    qmr::ExecCommand(qmr::CloseFiscalReceipt, "");  // the next receipt follows whatever the close gave
    return true;
}

}  // namespace

TTestFrm::TTestFrm(QWidget* parent) : Form(parent, "TestFrm", "QM-770F Test", 217, 112) {
    Label1 = Make<QLabel>(this, "Label1", 16, 16, 64, 24, QStringLiteral("Sales:"));
    RecBt = Make<QLineEdit>(this, "RecBt", 84, 16, 50, 24);
    RecUD = MakeCount(this, "RecUD", RecBt);
    Label2 = Make<QLabel>(this, "Label2", 16, 48, 64, 24, QStringLiteral("Receipts:"));
    ClosBt = Make<QLineEdit>(this, "ClosBt", 84, 48, 50, 24);
    ClosUD = MakeCount(this, "ClosUD", ClosBt);
    PrintBt = Make<QPushButton>(this, "PrintBt", 126, 78, 75, 28, QStringLiteral("Print"));
    connect(PrintBt, &QPushButton::clicked, this, &TTestFrm::PrintBtClick);
    connect(this, &Form::Shown, this, [this] { qmr::ui::CentreOnScreen(*this); });
}

void TTestFrm::PrintBtClick() {
    const int sales = RecUD->Position();
    const int receipts = ClosUD->Position();
    if (qmr::ExecFatal(qmr::ReadStatus)) return;
    for (int r = 1; r <= receipts; ++r) {
        if (!PrintTestReceipt(sales)) return;
    }
}

}  // namespace prendix
