// The words the simulated printer and its features share: a request, a reply,
// the status positions and the handler type. Feature headers include this,
// never Printer.h (which includes them).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

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

// An amount or a rate in hundredths as the printer prints it: "-12.05".
std::string Hundredths(long long hundredths);

class Printer;
// Answers one request: returns the reply data. It may set the command's
// error bits with Printer::Fail and change the printer's state.
using CommandHandler = std::function<std::string(Printer&, const Request&)>;

}  // namespace qmrsim
