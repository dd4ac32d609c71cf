// What a fiscal receipt takes besides programmed articles - free-text sales
// and voids in tax group A or B, free text lines - its cancellation while no
// payment is registered, the receipt information that says whether it may
// still be cancelled, and the non-fiscal receipt, which a printer may be left
// with (OpenNonFiscalReceipt) and CloseNonFiscalReceipt closes.
//
// The feature keeps no state of its own: the fiscal receipt is the one of
// Receipts, and an open non-fiscal receipt is the printer's lasting status
// bit st::NonFiscalReceiptOpen, which also keeps a fiscal receipt from
// opening.
#pragma once

#include <cstddef>

namespace qmrsim {

class Printer;

// The longest free text a receipt line takes.
constexpr std::size_t MaxReceiptText = 36;

// Begins a non-fiscal receipt on the paper and raises its status bit.
void OpenNonFiscalReceipt(Printer& printer);

// Registers RegisterSale, PrintFiscalText, CancelFiscalReceipt,
// ReadReceiptInfo and CloseNonFiscalReceipt.
void RegisterReceiptLinesCommands(Printer& printer);

}  // namespace qmrsim
