#include "Transport.h"

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
}

int BytesWaiting() {
    if (Link().PortHandle == -1 || !Env().line) return -1;
    return Env().line->BytesWaiting();
}

bool WriteByte(std::uint8_t value, bool addToChecksum) {
    LinkState& s = Link();
    if (addToChecksum) s.SendChecksum += value;
    if (s.PortHandle == -1 || !Env().line) return false;
    if (Env().ui) Env().ui->PumpEvents();
    return Env().line->WriteByte(value);
}

bool ReadByte(std::uint8_t& value) {
    if (Link().PortHandle == -1 || !Env().line) return false;
    return Env().line->ReadByte(value);
}

int ReceiveFrame(int limit) {
    LinkState& s = Link();
    LinkEnv& env = Env();
    if (limit > ReceiveBufferSize) limit = ReceiveBufferSize;
    std::int64_t last = env.clock->NowUs();
    s.LinkError = false;
    s.ReceiveBuffer.fill(0);
    // Gives the line one more slice to deliver; false once the idle time is up.
    auto keepWaiting = [&]() {
        const std::int64_t idle = env.clock->NowUs() - last;
        if (idle > ReplyIdleTimeoutUs) {
            s.LinkError = true;
            return false;
        }
        if (env.ui) env.ui->PumpEvents();
        std::int64_t slice = ReplyIdleTimeoutUs - idle + 1;
        if (slice > WaitSliceUs) slice = WaitSliceUs;
        if (env.line) env.line->WaitForInput(slice);
        return true;
    };
    int i = 0;
    // A start byte sends i back to 0, so counting stored bytes alone would let
    // a line that keeps talking hold the exchange for as long as it talks. No
    // reply is longer than the limit: once that many bytes have come in all
    // (i never exceeds them), the frame check decides.
    int received = 0;
    while (received < limit) {
        std::uint8_t byte = 0;
        // A failed query counts as data waiting; a read that brings nothing
        // leaves the idle time running, so either way silence still ends it.
        while (BytesWaiting() == 0 || !ReadByte(byte)) {
            if (!keepWaiting()) return i;
        }
        ++received;
        if (env.ui) env.ui->PumpEvents();
        last = env.clock->NowUs();
        if (byte == StartByte) i = 0;
        if (byte == EndByte) {
            s.ReceiveBuffer[i] = 0;
            return i;
        }
        s.ReceiveBuffer[i] = byte;
        ++i;
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
    s.SendChecksum = 0;
    bool written = false;
    const std::size_t checksumAt = frame.size() - 5;
    for (std::size_t k = 0; k < frame.size(); ++k) {
        const bool summed = k >= 1 && k < checksumAt;
        written = WriteByte(frame[k], summed);
    }
    return written;
}

}  // namespace qmr
