#include "Reset.h"

#include "Commands.h"
#include "Printer.h"

namespace qmrsim {

namespace {

std::string PerformReset(Printer& printer, const Request& request) {
    if (!request.data.empty()) {
        printer.Fail(st::SyntaxError);
        return "";
    }
    // The record is dated by the clock as it stood before the reset.
    FmRecord record;
    record.kind = 'R';
    if (!AppendRecord(printer, record)) {
        printer.Fail(st::NotPermitted);
        return "";
    }
    ++printer.reset.resets;
    printer.receipts.receipt = Receipt{};
    printer.receipts.byTax.fill(0);
    printer.SetStatusBit(st::FiscalReceiptOpen, false);
    UnsetClock(printer);
    printer.paper.push_back("RESET " + std::to_string(printer.reset.resets));
    return "";
}

}  // namespace

void RegisterResetCommands(Printer& printer) { printer.SetHandler(qmr::PerformReset, PerformReset); }

}  // namespace qmrsim
