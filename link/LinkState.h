// The printer link's module state and the small interfaces it stands on.
//
// The link is a set of free functions over one LinkState that lives for the
// whole program. What the link needs from the outside world - the serial line,
// a clock, and the program's windows - comes in through LinkEnv, so tests can
// put a fake line and a fake clock under the very same code the programs run.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qmr {

constexpr int ReceiveBufferSize = 8192;
constexpr int ReceiveLimit = 8000;
constexpr int ReplyDataSize = 256;
constexpr int MaxRequestData = 219;  // Len is one byte: 0x24 + 219 = 0xFF
constexpr int CommandTries = 4;
constexpr int FailedTryPauseMs = 1000;
// 0.00003472 of a day, the idle gap that ends a reception; a gap must be
// strictly longer than this to count as silence.
constexpr std::int64_t ReplyIdleTimeoutUs = 2999808;

constexpr std::uint8_t StartByte = 0x01;
constexpr std::uint8_t StatusSep = 0x04;
constexpr std::uint8_t BodyEnd = 0x05;
constexpr std::uint8_t EndByte = 0x03;
// Len of a frame with empty data; each data byte adds one.
constexpr std::uint8_t RequestLenBase = 0x24;
constexpr std::uint8_t ReplyLenBase = 0x2B;
constexpr std::uint8_t FirstSeq = 0x20;
constexpr std::uint8_t LastSeq = 0x7E;

enum CommandResultCode : int { ResultOk = 0, ResultNoLink = 1, ResultProtocol = 2 };

struct LinkState {
    std::vector<std::string> PortList;
    bool LinkError = false;
    bool Connected = false;
    bool SuppressStatusDlg = false;
    int PortIndex = 0;
    int BaudIndex = 3;  // "115200"
    int BaudRate = 0;
    int CommandResult = 0;
    int PortHandle = -1;
    std::uint8_t SeqNumber = FirstSeq;
    std::uint8_t LastCommand = 0;
    std::array<std::uint8_t, 6> StatusBytes{};
    std::uint32_t SendChecksum = 0;
    std::uint32_t StatusWord = 0;
    std::array<std::uint8_t, ReceiveBufferSize> ReceiveBuffer{};
    std::array<char, ReplyDataSize> ReplyData{};  // NUL-terminated
    // Bytes taken from the line in one read but not used yet: the end of a
    // reply can come in the same read as what follows it, which stays first
    // in line for the next reception as the driver's queue would have kept it.
    std::vector<std::uint8_t> ReadAhead;
    std::size_t ReadAheadAt = 0;

    // The reply data as text (bytes up to the NUL).
    std::string ReplyText() const;
};

// The serial device. Open/Configure/Close set the port up and take it down;
// the rest are the byte operations of the transport.
class SerialLine {
public:
    virtual ~SerialLine() = default;
    // Opens the device exclusively; returns a handle >= 0, or -1.
    virtual int Open(const std::string& device) = 0;
    // Line settings: speed, 8N1, raw 8-bit, DTR off, no DSR flow control;
    // XON/XOFF switched off only when asked. Failures are ignored by callers.
    virtual void Configure(int baudRate, bool switchOffXonXoff) = 0;
    virtual void Close() = 0;
    // Bytes in the input queue; -1 when the query fails.
    virtual int BytesWaiting() = 0;
    // One byte out, returning once the driver has sent it.
    virtual bool WriteByte(std::uint8_t value) = 0;
    // `count` bytes out in one write, returning once the driver has sent
    // them; false when they could not all go within the port's write time-out
    // for that many bytes. A line that writes byte by byte returns what its
    // last byte's write returned.
    virtual bool WriteBytes(const std::uint8_t* data, int count);
    virtual bool ReadByte(std::uint8_t& value) = 0;
    // Takes up to `max` of the bytes that are there, without waiting, and
    // returns how many it took (0 when none).
    virtual int ReadBytes(std::uint8_t* buffer, int max);
    // Blocks until input may be waiting or maxWaitUs has passed. A line that
    // cannot wait may return at once: callers poll again either way.
    virtual void WaitForInput(std::int64_t maxWaitUs) = 0;
    // Blocks for about `us` without waking for each byte that comes in
    // meanwhile: the caller knows that many bytes' time is still to come and
    // takes them in one read afterwards. A line that cannot sleep so waits as
    // WaitForInput does.
    virtual void SleepThrough(std::int64_t us) { WaitForInput(us); }
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual std::int64_t NowUs() = 0;
    // A plain sleep: no window messages are processed meanwhile.
    virtual void SleepMs(int ms) = 0;
};

// What the port combo and the speed combo of the main window hold when a
// connection is made.
struct PortChoice {
    int portIndex = -1;
    std::string portName;  // empty when no item is selected
    int baudIndex = -1;
    std::string baudText;  // "9600" .. "115200", empty when no item is selected
};

// Message box buttons and answers, as the link and the windows number them.
enum MessageButtons : int { MbOk = 0, MbYesNo = 4 };
enum MessageAnswer : int { IdOk = 1, IdYes = 6, IdNo = 7 };

// The program's windows, as the link sees them.
class UiHooks {
public:
    virtual ~UiHooks() = default;
    virtual void PumpEvents() {}
    // Called by the link while it sends, receives and waits, often; a window
    // set that pumped a moment ago may skip it.
    virtual void PumpEventsWhenDue() { PumpEvents(); }
    virtual int ShowMessage(const std::string& text, const std::string& caption, int buttons) = 0;
    // Place the status dialog over the main window and show it modally.
    virtual void ShowStatusDialog() {}
    virtual void SetConnectEnabled(bool) {}
    virtual PortChoice ReadPortChoice() { return {}; }
};

struct LinkEnv {
    SerialLine* line = nullptr;
    Clock* clock = nullptr;
    UiHooks* ui = nullptr;
};

// The one link state and environment of the program.
LinkState& Link();
LinkEnv& Env();
// Puts the link back to its start-up state and installs the environment.
void InstallLink(const LinkEnv& env);

// A system clock (steady, so a change of the wall clock cannot end or stretch a wait).
Clock& SystemClock();

}  // namespace qmr
