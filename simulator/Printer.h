// The printer as the simulator plays it: its state and what it does with each
// command, apart from the line. Simulator (Simulator.h) puts it on a pty.
//
// Adding a feature (identification, receipts, fiscal memory...):
//   - write simulator/<Feature>.h with the feature's state, `struct <Feature> {...};`,
//     and `void Register<Feature>Commands(Printer&);` in namespace qmrsim (it
//     includes PrinterTypes.h if it needs the shared types, never this file),
//     and <Feature>.cpp with the handlers (list the .cpp in simulator/CMakeLists.txt);
//   - in this file, `#include "<Feature>.h"` in the block marked "Features" and
//     declare the member `<Feature> <feature>;` in the block of the same name
//     inside Printer;
//   - in Printer.cpp, call `Register<Feature>Commands(*this);` in the list inside
//     the constructor.
// Handlers reach their state through the Printer they are given
// (`printer.<feature>`); the Simulator runs every handler under its mutex, so
// no feature needs locks of its own.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "PrinterTypes.h"

// Features: one include per feature (see the top of this file).
#include "Receipts.h"
#include "Identification.h"
#include "Clock.h"
#include "FiscalMemory.h"
#include "Logo.h"
#include "Reset.h"
#include "TestAids.h"
#include "Articles.h"
#include "Operators.h"
#include "ReceiptLines.h"

namespace qmrsim {

class Printer {
public:
    Printer();

    // Runs the handler of the request's command. A command without a handler
    // is answered with "Invalid command" (status 0.1) and empty data.
    Reply Handle(const Request& request);

    // Installs or replaces the handler of a command (tests script replies this way).
    void SetHandler(int command, CommandHandler handler);
    // The handler a command has now; an empty one when it has none.
    CommandHandler HandlerOf(int command) const;
    // A fixed reply text for a command, in place of its handler.
    void SetReplyData(int command, std::string data);

    // Lasting status bits (paper, receipts, fiscal memory...), byte 0..5, bit 0..5.
    void SetStatusBit(int byte, int bit, bool on = true);
    bool StatusBit(int byte, int bit) const;
    // Bits raised for the current command only (syntax error, not permitted...).
    void Fail(int byte, int bit);

    void SetStatusBit(StatusPos pos, bool on = true) { SetStatusBit(pos.byte, pos.bit, on); }
    bool StatusBit(StatusPos pos) const { return StatusBit(pos.byte, pos.bit); }
    void Fail(StatusPos pos) { Fail(pos.byte, pos.bit); }

    // The six status bytes as the next reply would carry them.
    std::array<std::uint8_t, 6> StatusBytes() const;

    // What the printer printed, a line per entry.
    std::vector<std::string> paper;

    // Lines every receipt and report prints before its first line and after
    // its last (logo, header, footer), in the order the features added them.
    using PaperHook = std::function<void(Printer&)>;
    void AddReceiptTop(PaperHook hook) { receiptTop_.push_back(std::move(hook)); }
    void AddReceiptBottom(PaperHook hook) { receiptBottom_.push_back(std::move(hook)); }
    void PrintReceiptTop();
    void PrintReceiptBottom();

    // What a printer keeps across power cycles, as qmr770-sim keeps it in
    // its state file: each feature adds a section of text lines of its own
    // (no line ends inside a line: EscapeStateText for free texts).
    struct StateSection {
        std::string name;
        std::function<std::vector<std::string>(const Printer&)> save;
        // False for lines the feature cannot read.
        std::function<bool(Printer&, const std::vector<std::string>&)> load;
    };
    void AddStateSection(StateSection section) { sections_.push_back(std::move(section)); }
    std::string SaveState() const;
    // False with a reason for a text that is not a saved state or has a
    // section its feature cannot read; the printer may then be half loaded,
    // so the caller starts nothing from it. Sections missing from the text
    // keep what the printer has; unknown ones are passed over.
    bool LoadState(const std::string& text, std::string& error);

    // Features: one member per feature (see the top of this file).
    Receipts receipts;
    Identification identification;
    Clock clock;
    FiscalMemory fiscalMemory;
    Logo logo;
    Reset reset;
    TestAids testAids;
    Articles articles;
    Operators operators;

private:
    std::map<int, CommandHandler> handlers_;
    std::array<std::uint8_t, 6> lasting_{};
    std::array<std::uint8_t, 6> transient_{};
    std::vector<PaperHook> receiptTop_, receiptBottom_;
    std::vector<StateSection> sections_;
};

// A free text as one state line: bytes below 0x20 and '%' as "%XX".
std::string EscapeStateText(const std::string& text);
// Back to the text; nothing for a malformed escape.
std::optional<std::string> UnescapeStateText(const std::string& line);

// The commands every printer answers whatever its features.
void RegisterCoreCommands(Printer& printer);

}  // namespace qmrsim
