// The command executor: one framed exchange with retries, and the status word.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

namespace qmr {

// Status word bits, from the printer's status bytes (byte.bit in the comment).
enum StatusBit : std::uint32_t {
    swSyntaxError = 0x1,                 // 0.0
    swInvalidCommand = 0x2,              // 0.1
    swClockNotSet = 0x4,                 // 0.2
    swJournalOut = 0x8,                  // 2.2
    swOverflow = 0x10,                   // 1.0
    swNotPermitted = 0x20,               // 1.1
    swStatus12 = 0x40,                   // 1.2
    swJournalNearEnd = 0x80,             // 2.4
    swRamReset = 0x100,                  // 1.4
    swPaperOut = 0x200,                  // 2.0
    swFiscalReceiptOpen = 0x400,         // 2.3
    swNonFiscalReceiptOpen = 0x800,      // 2.5
    swPaperNearEnd = 0x1000,             // 2.1
    swSerialSet = 0x4000,                // 4.2
    swTaxRatesSet = 0x8000,              // 5.4
    swFmWriteError = 0x10000,            // 4.0
    swFmFull = 0x20000,                  // 4.4
    swFmReadOnly = 0x40000,              // 5.0
    swStatus52 = 0x80000,                // 5.2
    swFmNearFull = 0x100000,             // 4.3
    swFmFormatted = 0x200000,            // 5.1
    swFiscalized = 0x400000,             // 5.3
    swDisplayOff = 0x1000000,            // 0.3
    swCoverOpen = 0x2000000,             // 1.5
    swProtocolError = 0x4000000,         // link: the reply failed the frame check
    swNestedExchangeRefused = 0x8000000, // link: sent while another exchange waits for its reply
    swNoResponse = 0x10000000,           // link: silence
    swCommonError = 0x20000000,          // 0.5
    swCommonFiscalError = 0x40000000,    // 4.5
    swPortClosed = 0x80000000,           // link: the port was not open
};

constexpr std::uint32_t StatusErrorMask = 0x9C000023;
constexpr std::uint32_t FatalStatusMask = 0xFC000000;
constexpr std::uint32_t LinkStatusMask = 0x9C000000;

// What the last exchange came to, as a handler tests it before going on.
// The link failed (LinkStatusMask): silence, a reply that never passed the
// frame check, a closed port or an exchange refused while another one waits
// for its reply. None of them leaves a reply of this command to read.
bool LinkFailed();
// A fatal bit (FatalStatusMask): the link failed, or the printer reported
// its common error or common fiscal error; a sequence stops here.
bool Fatal();
// Any error bit (StatusErrorMask): the link failed, or the printer refused
// the command (a syntax error, an invalid command, or one not permitted now).
bool Refused();
// True when the last exchange's status word has any of these bits.
bool StatusHas(std::uint32_t bits);

struct StatusBitMapping {
    int byte;
    int bit;
    std::uint32_t word;
};
// Every status byte bit that reaches the status word, in byte and bit order.
extern const StatusBitMapping StatusBitTable[26];

// ORs the mapped bits of the current status bytes into the status word.
void MapStatus();

// The frame check of one try on the receive buffer; true when it passed.
// Copies the reply data and the status bytes as far as the frame allows.
bool CheckReplyFrame(int command);

// Sends one command and waits for its reply; returns the command result.
int ExecCommand(int command, std::string_view data);

// ExecCommand, and then the predicate of the same name above: for a step of
// a flow that stops on it. The link has told the user already.
bool ExecLinkFailed(int command, std::string_view data = {});
bool ExecFatal(int command, std::string_view data = {});
bool ExecRefused(int command, std::string_view data = {});

// Holds the status dialog back for as long as it lives, for callers that
// judge the printer's answers themselves over several commands, and puts the
// flag back as it found it on every way out.
class QuietStatusDialog {
public:
    QuietStatusDialog();
    ~QuietStatusDialog();
    QuietStatusDialog(const QuietStatusDialog&) = delete;
    QuietStatusDialog& operator=(const QuietStatusDialog&) = delete;

private:
    bool was_;
};

// Sends one command with the status dialog held back, for callers that judge
// the printer's answer themselves; the flag is as it was afterwards, also for
// a call that a running exchange refused.
int ExecCommandQuietly(int command, std::string_view data);

// True while an exchange is running (its windows are being pumped).
bool ExchangeRunning();

// Runs the action once the running exchange has ended, at once when none
// runs. For what must not happen under an exchange, such as closing its port.
void AfterExchange(std::function<void()> action);

}  // namespace qmr
