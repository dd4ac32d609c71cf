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
    RegisterClockCommands(*this);
    RegisterFiscalMemoryCommands(*this);
    RegisterLogoCommands(*this);
    RegisterResetCommands(*this);
    RegisterTestAidsCommands(*this);
    RegisterArticlesCommands(*this);
    RegisterOperatorsCommands(*this);
    RegisterReceiptLinesCommands(*this);
}

void Printer::PrintReceiptTop() {
    for (const auto& hook : receiptTop_) hook(*this);
}

void Printer::PrintReceiptBottom() {
    for (const auto& hook : receiptBottom_) hook(*this);
}

namespace {
constexpr const char* StateMagic = "qmr770-state 1";
}

std::string Printer::SaveState() const {
    std::string text = std::string(StateMagic) + "\n";
    for (const auto& section : sections_) {
        text += "[" + section.name + "]\n";
        for (const auto& line : section.save(*this)) text += line + "\n";
    }
    return text;
}

bool Printer::LoadState(const std::string& text, std::string& error) {
    std::vector<std::pair<std::string, std::vector<std::string>>> parsed;
    std::size_t from = 0;
    int lineNumber = 0;
    bool first = true;
    while (from < text.size()) {
        const std::size_t end = text.find('\n', from);
        if (end == std::string::npos) {
            error = "the last line has no line end (the file is cut short)";
            return false;
        }
        const std::string line = text.substr(from, end - from);
        from = end + 1;
        ++lineNumber;
        if (first) {
            if (line != StateMagic) {
                error = "not a printer state file";
                return false;
            }
            first = false;
        } else if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            parsed.emplace_back(line.substr(1, line.size() - 2), std::vector<std::string>{});
        } else if (parsed.empty()) {
            error = "line " + std::to_string(lineNumber) + " stands outside any section";
            return false;
        } else {
            parsed.back().second.push_back(line);
        }
    }
    if (first) {
        error = "the file is empty";
        return false;
    }
    for (const auto& [name, lines] : parsed) {
        for (const auto& section : sections_) {
            if (section.name != name) continue;
            if (!section.load(*this, lines)) {
                error = "section [" + name + "] cannot be read";
                return false;
            }
        }
    }
    return true;
}

std::string EscapeStateText(const std::string& text) {
    std::string line;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || c == '%') {
            char escape[4];
            std::snprintf(escape, sizeof escape, "%%%02X", byte);
            line += escape;
        } else {
            line += c;
        }
    }
    return line;
}

std::optional<std::string> UnescapeStateText(const std::string& line) {
    std::string text;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] != '%') {
            text += line[i];
            continue;
        }
        if (i + 2 >= line.size()) return std::nullopt;
        unsigned value = 0;
        for (int k = 1; k <= 2; ++k) {
            const char c = line[i + static_cast<std::size_t>(k)];
            const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
            if (digit < 0) return std::nullopt;
            value = value * 16 + static_cast<unsigned>(digit);
        }
        text += static_cast<char>(value);
        i += 2;
    }
    return text;
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
