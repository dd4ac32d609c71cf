// The printer data file (*.fpd), apart from the window: lines of
// KEY=VALUE that preload the identification, tax and fiscalisation fields
// and the header and footer lines.
//
// How a line is read, byte by byte: a LF ends it (the end of the file ends
// the last one); before the first '=' every byte of value 32 or below is
// dropped, after it every byte is kept; after 127 kept bytes the line ends
// and the next byte begins a new one. The key is the text before the first
// '=', the value the text after the last '=', trimmed of bytes of value 32
// or below. A NUL ends the line's text, as it would a terminated text.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace prendix {

// The keys in the order a line's key is tested against them.
enum class DataKey {
    SerialNum,
    ModuleNum,
    CountryNum,
    TaxNum,
    RegType,
    Decimals,
    TaxRates,
    TaxA,
    TaxB,
    TaxC,
    TaxD,
    H1,
    H2,
    H3,
    H4,
    H5,
    H6,
    F1,
    F2,
};

struct DataLine {
    DataKey key;
    std::string value;  // cp1251, trimmed

    bool operator==(const DataLine&) const = default;
};

constexpr std::size_t MaxDataLine = 127;

// The lines of a file that carry a known key, in file order; empty lines,
// lines without '=' and unknown keys are left out.
std::vector<DataLine> ReadPrinterData(std::string_view file);

// The text without one leading '%'.
std::string StripPercent(std::string_view text);

// TAXRATES: characters 1 to 4 of the value, '1' for an enabled group; a
// character the value does not reach counts as not '1'.
std::array<bool, 4> TaxRateFlags(std::string_view value);

}  // namespace prendix
