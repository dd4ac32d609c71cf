#include "Console.h"

#include <cstdio>

#include "Numbers.h"

namespace vextora {

int ReadCommandNumber(std::string_view text) { return qmr::ReadLeadingInt(text); }

bool IsConsoleCommand(int number) { return number >= FirstConsoleCommand && number <= LastConsoleCommand; }

std::string UnescapeConsoleData(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        if (text[i] == '\\' && (next == 't' || next == 'n')) {
            out.push_back(next == 't' ? '\t' : '\n');
            ++i;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

std::string StatusText(const std::array<std::uint8_t, 6>& statusBytes) {
    std::string out;
    for (const std::uint8_t b : statusBytes) {
        char pair[4];
        std::snprintf(pair, sizeof pair, "%02X ", b & 0x3F);
        out += pair;
    }
    return out;
}

}  // namespace vextora
