// The command console's texts: the command number, the data escapes and the
// status bytes as the console shows them.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace vextora {

constexpr int FirstConsoleCommand = 32;
constexpr int LastConsoleCommand = 135;

// The leading decimal integer of the Command box; 0 when there is none.
int ReadCommandNumber(std::string_view text);
bool IsConsoleCommand(int number);

// The Data box as sent: "\t" becomes TAB and "\n" LF; a backslash before
// anything else, or standing last, stays a backslash.
std::string UnescapeConsoleData(std::string_view text);

// "%02X " of each status byte with its two top bits cleared.
std::string StatusText(const std::array<std::uint8_t, 6>& statusBytes);

}  // namespace vextora
