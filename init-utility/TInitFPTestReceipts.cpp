// Test receipts from the main window: the test receipts form behind the
// hidden TestBt, and the fixed test receipt that no control starts.
#include "Commands.h"
#include "Executor.h"
#include "Prendix.h"
#include "TInitFP.h"

namespace prendix {

void TInitFP::TestBtClick() { qmr::ui::ShowModal(*TestFrm); }

void TInitFP::SalesBtClick() {
    if (qmr::ExecFatal(qmr::OpenFiscalReceipt, "1,4826,0001")) return;
    if (qmr::ExecFatal(qmr::PrintFiscalText, "TEST AFTER FISCALIZATION")) return;
    if (qmr::ExecFatal(qmr::RegisterSale, "TEST\tB0.10")) return;
    if (qmr::ExecFatal(qmr::RegisterPayment, "\t0.10")) return;
    qmr::ExecCommand(qmr::CloseFiscalReceipt, "");
}

}  // namespace prendix
