#include "Transport.h"

#include <algorithm>

#include "LinkState.h"
#include "Numbers.h"

namespace qmr {

std::string_view UpToNul(std::string_view data) {
    const auto nul = data.find('\0');
    return nul == std::string_view::npos ? data : data.substr(0, nul);
}

namespace {

// Waits for input, a short slice at a time, so a waiting exchange neither
// burns a core nor reacts late: poll() on the line returns as soon as a byte
// is there, and the windows are pumped between slices.
constexpr std::int64_t WaitSliceUs = 10000;

// The most bytes taken from the line in one read; a reply is far shorter.
constexpr int ReadChunk = 1024;

// A byte on the line: start bit, eight data bits, stop bit.
constexpr std::int64_t BitsPerByte = 10;

// Bytes of a whole frame as its Len tells: Len counts 0x20 plus the bytes from
// itself to the body end; the start byte, four checksum characters and the
// end byte come on top.
int FrameLength(std::uint8_t len) { return len - 0x20 + 6; }

// The last bytes of a frame are waited for as they come, not slept through:
// a sleep reckoned from a late wake-up would end late too, and the end byte
// would be taken after the line had long carried it.
constexpr int WokenForTailBytes = 2;

// How long to sleep for the rest of the frame whose first `stored` bytes are
// in the buffer: its bytes' time on the line, less its last few; 0 while its
// Len has not come or leaves nothing to sleep for.
std::int64_t RestOfFrameUs(const LinkState& s, int stored) {
    if (stored < 2 || s.ReceiveBuffer[0] != StartByte || s.BaudRate <= 0) return 0;
    const int rest = FrameLength(s.ReceiveBuffer[1]) - stored - WokenForTailBytes;
    if (rest <= 0) return 0;
    return rest * BitsPerByte * 1000000 / s.BaudRate;
}

bool ReadAheadLeft(const LinkState& s) { return s.ReadAheadAt < s.ReadAhead.size(); }

// Takes what the line has, up to `room` bytes, into the read-ahead; false
// when nothing came.
bool FillReadAhead(int room) {
    LinkState& s = Link();
    if (ReadAheadLeft(s)) return true;
    s.ReadAhead.clear();
    s.ReadAheadAt = 0;
    if (s.PortHandle == -1 || !Env().line) return false;
    const int waiting = Env().line->BytesWaiting();
    if (waiting == 0) return false;
    // A failed query counts as data waiting: the read tells whether it was.
    const int want = std::min(waiting > 0 ? std::min(waiting, room) : room, ReadChunk);
    s.ReadAhead.resize(static_cast<std::size_t>(want));
    const int got = Env().line->ReadBytes(s.ReadAhead.data(), want);
    s.ReadAhead.resize(static_cast<std::size_t>(std::max(got, 0)));
    return got > 0;
}

// The link pumps the windows wherever it may wait a while: before each piece
// of a frame it sends, at each byte it takes and between its waits. Most of
// these come far faster than anyone clicks, and a window set that pumped a
// moment ago skips them.
void PumpWhenDue() {
    if (UiHooks* ui = Env().ui) ui->PumpEventsWhenDue();
}

// A request goes out in pieces of about this much line time, each written
// and drained in one go, with the windows pumped before each piece: a long
// frame at a low speed still leaves them live, and a short one takes one
// write and one drain, not one of each per byte.
constexpr std::int64_t SendPieceUs = 5000;

int BytesPerPiece(int baudRate) {
    if (baudRate <= 0) return 1;  // speed unknown: byte by byte
    return static_cast<int>(std::max<std::int64_t>(1, SendPieceUs * baudRate / BitsPerByte / 1000000));
}

}  // namespace

std::array<std::uint8_t, 4> EncodeChecksum(std::uint32_t sum) {
    return {static_cast<std::uint8_t>(0x30 + ((sum >> 12) & 0xF)), static_cast<std::uint8_t>(0x30 + ((sum >> 8) & 0xF)),
            static_cast<std::uint8_t>(0x30 + ((sum >> 4) & 0xF)), static_cast<std::uint8_t>(0x30 + (sum & 0xF))};
}

std::uint32_t DecodeChecksum(const std::uint8_t* chars) {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value = value * 16 + static_cast<std::uint8_t>(chars[i] - 0x30);
    return value;
}

namespace {

// Both frames end alike: body end, the checksum of everything after the start
// byte, and the end byte.
void CloseFrame(std::vector<std::uint8_t>& frame) {
    frame.push_back(BodyEnd);
    std::uint32_t sum = 0;
    for (std::size_t i = 1; i < frame.size(); ++i) sum += frame[i];
    const auto cs = EncodeChecksum(sum);
    frame.insert(frame.end(), cs.begin(), cs.end());
    frame.push_back(EndByte);
}

}  // namespace

std::vector<std::uint8_t> BuildRequestFrame(std::uint8_t seq, int command, std::string_view data) {
    data = UpToNul(data);
    std::vector<std::uint8_t> frame;
    frame.reserve(data.size() + 10);
    frame.push_back(StartByte);
    frame.push_back(static_cast<std::uint8_t>(RequestLenBase + data.size()));
    frame.push_back(seq);
    frame.push_back(static_cast<std::uint8_t>(command));
    frame.insert(frame.end(), data.begin(), data.end());
    CloseFrame(frame);
    return frame;
}

std::vector<std::uint8_t> BuildReplyFrame(std::uint8_t seq, std::uint8_t command, std::string_view data,
                                          const std::array<std::uint8_t, 6>& status) {
    std::vector<std::uint8_t> frame;
    frame.reserve(data.size() + 17);
    frame.push_back(StartByte);
    frame.push_back(static_cast<std::uint8_t>(ReplyLenBase + data.size()));
    frame.push_back(seq);
    frame.push_back(command);
    frame.insert(frame.end(), data.begin(), data.end());
    frame.push_back(StatusSep);
    frame.insert(frame.end(), status.begin(), status.end());
    CloseFrame(frame);
    return frame;
}

bool OpenPort() {
    LinkState& s = Link();
    LinkEnv& env = Env();
    const PortChoice choice = env.ui ? env.ui->ReadPortChoice() : PortChoice{};
    s.PortIndex = choice.portIndex;
    s.BaudIndex = choice.baudIndex;
    s.BaudRate = ReadLeadingInt(choice.baudText);
    if (s.PortHandle != -1) return true;

    s.PortHandle = env.line ? env.line->Open(choice.portName) : -1;
    if (s.PortHandle == -1) {
        if (env.ui) env.ui->ShowMessage("Can't open serial port", "Error", MbOk);
        return false;
    }
    // A terminal starts with XON/XOFF on, which would swallow 0x11 and 0x13 and
    // stop sending at a received 0x13; the line must be 8-bit transparent.
    env.line->Configure(s.BaudRate, true);
    return true;
}

void ClosePort() {
    LinkState& s = Link();
    if (s.PortHandle == -1) return;
    if (Env().line) Env().line->Close();
    s.PortHandle = -1;
    // The driver's queue goes with the port, and so does what was read ahead of it.
    s.ReadAhead.clear();
    s.ReadAheadAt = 0;
}

int BytesWaiting() {
    LinkState& s = Link();
    if (s.PortHandle == -1 || !Env().line) return -1;
    const int queued = Env().line->BytesWaiting();
    const int ahead = static_cast<int>(s.ReadAhead.size() - s.ReadAheadAt);
    if (ahead == 0) return queued;
    return queued > 0 ? ahead + queued : ahead;
}

int ReceiveFrame(int limit) {
    LinkState& s = Link();
    LinkEnv& env = Env();
    if (limit > ReceiveBufferSize) limit = ReceiveBufferSize;
    std::int64_t last = env.clock->NowUs();
    s.LinkError = false;
    s.ReceiveBuffer.fill(0);
    // Gives the line one more slice to deliver; false once the idle time is
    // up. With `rest` > 0 the bytes are known to be on their way, and the
    // slice is slept through rather than woken from at the first of them.
    // Either way no slice reaches past the idle time, which counts from the
    // last byte taken, so a long wait neither ends a reception early nor
    // lets silence run longer than it may.
    auto keepWaiting = [&](std::int64_t rest) {
        const std::int64_t idle = env.clock->NowUs() - last;
        if (idle > ReplyIdleTimeoutUs) {
            s.LinkError = true;
            return false;
        }
        PumpWhenDue();
        const std::int64_t slice = std::min(ReplyIdleTimeoutUs - idle + 1, WaitSliceUs);
        if (!env.line) return true;
        if (rest > 0)
            env.line->SleepThrough(std::min(slice, rest));
        else
            env.line->WaitForInput(slice);
        return true;
    };
    int i = 0;
    // A start byte sends i back to 0, so counting stored bytes alone would let
    // a line that keeps talking hold the exchange for as long as it talks. No
    // reply is longer than the limit: once that many bytes have come in all
    // (i never exceeds them), the frame check decides.
    int received = 0;
    // After a read that brought part of a frame whose Len has come, the time
    // its rest takes on the line: the next wait sleeps that long, and one
    // read takes what came meanwhile. A wait that brought nothing falls back
    // to waking at the first byte, so a pausing line is not polled for.
    std::int64_t rest = 0;
    while (received < limit) {
        // Reads stop at the limit: what lies beyond it stays on the line.
        if (!FillReadAhead(limit - received)) {
            if (!keepWaiting(rest)) return i;
            rest = 0;
            continue;
        }
        const std::uint8_t byte = s.ReadAhead[s.ReadAheadAt++];
        ++received;
        if (byte == EndByte) {
            s.ReceiveBuffer[i] = 0;
            // The end byte always pumps: what the user did during the
            // exchange (a Cancel, say) is seen before the caller decides on
            // the next one.
            if (env.ui) env.ui->PumpEvents();
            return i;
        }
        // Pumped before the idle time restarts: a window the user keeps
        // open meanwhile does not count as the line's silence.
        PumpWhenDue();
        last = env.clock->NowUs();
        if (byte == StartByte) i = 0;
        s.ReceiveBuffer[i] = byte;
        ++i;
        if (!ReadAheadLeft(s)) rest = RestOfFrameUs(s, i);
    }
    return i;
}

void NextSequence() {
    LinkState& s = Link();
    ++s.SeqNumber;
    if (s.SeqNumber > LastSeq) s.SeqNumber = FirstSeq;
}

bool SendFrame(int command, std::string_view data) {
    LinkState& s = Link();
    // Len cannot count a longer text; a frame with a wrapped Len would reach
    // the printer as some other, shorter command.
    if (UpToNul(data).size() > static_cast<std::size_t>(MaxRequestData)) return false;
    const auto frame = BuildRequestFrame(s.SeqNumber, command, data);
    // Summed are the bytes from Len to the body end.
    s.SendChecksum = 0;
    for (std::size_t k = 1; k < frame.size() - 5; ++k) s.SendChecksum += frame[k];
    if (s.PortHandle == -1 || !Env().line) return false;
    // A piece that the driver cannot get out within the port's write
    // time-out (1 ms a byte plus a second; handshake held off) is dropped on
    // its own and the rest of the frame still goes: what the printer gets is
    // no frame, and the missing reply shows as silence.
    bool written = false;
    const auto piece = static_cast<std::size_t>(BytesPerPiece(s.BaudRate));
    for (std::size_t k = 0; k < frame.size(); k += piece) {
        PumpWhenDue();
        written = Env().line->WriteBytes(frame.data() + k, static_cast<int>(std::min(piece, frame.size() - k)));
    }
    return written;
}

}  // namespace qmr
