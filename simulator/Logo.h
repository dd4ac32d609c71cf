// The printer's graphic logo: 96 rows of 432 dots loaded row by row with the
// logo password, and the switch that has it printed at the top of every
// receipt. On the paper log a dot is '#' and a blank is ' '.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace qmrsim {

class Printer;

struct Logo {
    static constexpr int Rows = 96;
    static constexpr int RowBytes = 54;  // 432 dots, the leftmost in the top bit of byte 0

    // The password every row must carry; a new printer has this one.
    std::string password = "4826";
    std::array<std::array<std::uint8_t, RowBytes>, Rows> rows{};
    bool printing = false;
};

// Registers LoadLogoRow, the "L0" / "L1" forms of ConfigureReceiptLayout and
// the logo at the top of every receipt while printing is switched on, and
// the "logo" section of the printer's state.
// The other forms of that command go to the handler it had before, so the
// feature that prints header lines registers first.
void RegisterLogoCommands(Printer& printer);

// The logo as it stands on paper, from its first row holding a dot to its
// last, each row without its trailing blanks; nothing for a blank logo.
std::vector<std::string> LogoLines(const Logo& logo);

}  // namespace qmrsim
