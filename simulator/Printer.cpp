#include "Printer.h"

#include <cstdio>
#include <utility>

#include "Commands.h"

namespace qmrsim {

namespace {

// Bits 6 and 7 are not status: the printer keeps bit 7 set on every status
// byte so that none of them can be taken for a control byte, and bit 6 clear.
constexpr std::uint8_t StatusMarker = 0x80;
constexpr std::uint8_t StatusBitsMask = 0x3F;

bool ValidPos(int byte, int bit) { return byte >= 0 && byte < 6 && bit >= 0 && bit < 6; }

std::uint8_t Mask(int bit) { return static_cast<std::uint8_t>(1u << bit); }

}  // namespace

std::string Hundredths(long long hundredths) {
    char text[40];
    const unsigned long long magnitude = hundredths < 0 ? 0ULL - static_cast<unsigned long long>(hundredths)
                                                        : static_cast<unsigned long long>(hundredths);
    std::snprintf(text, sizeof text, "%s%llu.%02llu", hundredths < 0 ? "-" : "", magnitude / 100, magnitude % 100);
    return text;
}

Printer::Printer() {
    RegisterCoreCommands(*this);
    // Features: one Register...Commands call per feature (see Printer.h).
    RegisterReceiptsCommands(*this);
    RegisterIdentificationCommands(*this);
    RegisterLogoCommands(*this);
}

Reply Printer::Handle(const Request& request) {
    transient_.fill(0);
    Reply reply;
    const auto handler = handlers_.find(request.cmd);
    if (handler == handlers_.end()) {
        Fail(st::InvalidCommand);
    } else {
        reply.data = handler->second(*this, request);
    }
    // A longer text cannot be framed; the real printer never sends one.
    if (reply.data.size() > MaxReplyData) reply.data.resize(MaxReplyData);
    reply.status = StatusBytes();
    return reply;
}

void Printer::SetHandler(int command, CommandHandler handler) { handlers_[command] = std::move(handler); }

CommandHandler Printer::HandlerOf(int command) const {
    const auto handler = handlers_.find(command);
    return handler == handlers_.end() ? CommandHandler() : handler->second;
}

void Printer::SetReplyData(int command, std::string data) {
    SetHandler(command, [data = std::move(data)](Printer&, const Request&) { return data; });
}

void Printer::SetStatusBit(int byte, int bit, bool on) {
    if (!ValidPos(byte, bit)) return;
    auto& b = lasting_[static_cast<std::size_t>(byte)];
    b = on ? static_cast<std::uint8_t>(b | Mask(bit)) : static_cast<std::uint8_t>(b & ~Mask(bit));
}

bool Printer::StatusBit(int byte, int bit) const {
    return ValidPos(byte, bit) && (lasting_[static_cast<std::size_t>(byte)] & Mask(bit)) != 0;
}

void Printer::Fail(int byte, int bit) {
    if (!ValidPos(byte, bit)) return;
    transient_[static_cast<std::size_t>(byte)] |= Mask(bit);
}

std::array<std::uint8_t, 6> Printer::StatusBytes() const {
    std::array<std::uint8_t, 6> bytes{};
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<std::uint8_t>(StatusMarker | ((lasting_[i] | transient_[i]) & StatusBitsMask));
    }
    return bytes;
}

void RegisterCoreCommands(Printer& printer) {
    // The status travels in every reply; the command itself has nothing to say.
    printer.SetHandler(qmr::ReadStatus, [](Printer&, const Request&) { return std::string(); });
}

}  // namespace qmrsim
