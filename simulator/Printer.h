// The printer as the simulator plays it: its state and what it does with each
// command, apart from the line. Simulator (Simulator.h) puts it on a pty.
//
// Adding a feature (identification, receipts, fiscal memory...):
//   - write simulator/<Feature>.h with the feature's state, `struct <Feature> {...};`,
//     and `void Register<Feature>Commands(Printer&);`, and <Feature>.cpp with the
//     handlers (list the .cpp in simulator/CMakeLists.txt);
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
#include <string>
#include <vector>

namespace qmrsim {

struct Request {
    std::uint8_t seq = 0;
    std::uint8_t cmd = 0;
    std::string data;  // cp1251 bytes as sent

    bool operator==(const Request&) const = default;
};

struct Reply {
    std::string data;
    std::array<std::uint8_t, 6> status{};  // as on the wire: 0x80 | bits
};

// Status byte bits the printer reports, as byte and bit.
struct StatusPos {
    int byte;
    int bit;
};
namespace st {
constexpr StatusPos SyntaxError{0, 0}, InvalidCommand{0, 1}, ClockNotSet{0, 2}, CommonError{0, 5};
constexpr StatusPos Overflow{1, 0}, NotPermitted{1, 1}, RamReset{1, 4}, CoverOpen{1, 5};
constexpr StatusPos PaperOut{2, 0}, PaperNearEnd{2, 1}, FiscalReceiptOpen{2, 3}, NonFiscalReceiptOpen{2, 5};
constexpr StatusPos FmWriteError{4, 0}, SerialSet{4, 2}, FmNearFull{4, 3}, FmFull{4, 4}, CommonFiscalError{4, 5};
constexpr StatusPos FmReadOnly{5, 0}, FmFormatted{5, 1}, Fiscalized{5, 3}, TaxRatesSet{5, 4}, FiscalNumberSet{5, 5};
}  // namespace st

// The most data bytes a reply frame can carry (its Len is one byte).
constexpr std::size_t MaxReplyData = 212;

// Features: one include per feature (see the top of this file).

class Printer;
// Answers one request: returns the reply data. It may set the command's
// error bits with Printer::Fail and change the printer's state.
using CommandHandler = std::function<std::string(Printer&, const Request&)>;

class Printer {
public:
    Printer();

    // Runs the handler of the request's command. A command without a handler
    // is answered with "Invalid command" (status 0.1) and empty data.
    Reply Handle(const Request& request);

    // Installs or replaces the handler of a command (tests script replies this way).
    void SetHandler(int command, CommandHandler handler);
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

private:
    std::map<int, CommandHandler> handlers_;
    std::array<std::uint8_t, 6> lasting_{};
    std::array<std::uint8_t, 6> transient_{};
};

// The commands every printer answers whatever its features.
void RegisterCoreCommands(Printer& printer);

}  // namespace qmrsim
