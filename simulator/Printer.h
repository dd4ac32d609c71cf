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
#include <map>
#include <string>
#include <vector>

#include "PrinterTypes.h"

// Features: one include per feature (see the top of this file).
#include "Receipts.h"
#include "Identification.h"
#include "Logo.h"

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

    // Features: one member per feature (see the top of this file).
    Receipts receipts;
    Identification identification;
    Logo logo;

private:
    std::map<int, CommandHandler> handlers_;
    std::array<std::uint8_t, 6> lasting_{};
    std::array<std::uint8_t, 6> transient_{};
};

// The commands every printer answers whatever its features.
void RegisterCoreCommands(Printer& printer);

}  // namespace qmrsim
