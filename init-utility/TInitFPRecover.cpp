// The Emergency Button: frees a printer that a left-over receipt blocks.
#include "Commands.h"
#include "Executor.h"
#include "ServiceTexts.h"
#include "TInitFP.h"

namespace prendix {

namespace {

// What keeps the printer from printing, in the order it is told.
const char* BlockingCondition(std::uint32_t status) {
    if (status & qmr::swPaperOut) return "Out of paper";
    if (status & qmr::swClockNotSet) return "Set the clock !";
    if (status & qmr::swFmFull) return "Fiscal memory is full";
    if (status & qmr::swFmReadOnly) return "Fiscal memory is Read Only";
    return nullptr;
}

bool Asked(const char* question, const char* caption) {
    return qmr::ui::MessageBox(question, caption, qmr::MbYesNo) == qmr::IdYes;
}

void PayAndClose(const ReceiptAmounts& amounts) {
    qmr::ExecCommand(qmr::RegisterPayment, RestPaymentText(amounts));
    qmr::ExecCommand(qmr::CloseFiscalReceipt, "");
}

}  // namespace

void TInitFP::RecoverBtClick() {
    // The recovery judges every answer itself.
    qmr::QuietStatusDialog quiet;
    RequestStatus();
    if (qmr::LinkFailed()) return;
    RequestStatus();
    if (qmr::LinkFailed()) return;
    const std::uint32_t status = qmr::Link().StatusWord;
    if (const char* blocking = BlockingCondition(status)) {
        qmr::ui::MessageBox(blocking, "Error", qmr::MbOk);
        return;
    }
    if (status & qmr::swNonFiscalReceiptOpen) {
        if (Asked("Close it?", "Non-fiscal receipt is open")) qmr::ExecCommand(qmr::CloseNonFiscalReceipt, "");
        return;
    }
    if (!(status & qmr::swFiscalReceiptOpen)) return;

    if (qmr::ExecFatal(qmr::ReadReceiptTotals, "T")) return;
    const ReceiptAmounts amounts = ParseReceiptAmounts(qmr::Link().ReplyText());
    if (qmr::ExecFatal(qmr::ReadReceiptInfo)) return;
    const std::string info = qmr::Link().ReplyText();
    const char voidPermission = info.empty() ? '\0' : info.front();
    if (voidPermission == '0') {
        if (Asked("Void not permited.\nPay and close?", "Fiscal receipt is open")) PayAndClose(amounts);
        return;
    }
    if (voidPermission != '1') return;
    if (Asked("Void is possible.\nCancel the receipt?", "Fiscal receipt is open")) {
        qmr::ExecCommand(qmr::CancelFiscalReceipt, "");
        return;
    }
    if (Asked("End the receipt?", "Fiscal receipt open")) PayAndClose(amounts);
}

}  // namespace prendix
