// The eight header and footer lines as the printer, the header file (*.fph)
// and the program's own copy hold them, apart from the dialog. Lines 0-5
// are header lines 1-6, lines 6 and 7 footer lines 1 and 2.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace prendix {

constexpr int HeaderLineCount = 8;
constexpr int HeaderOnlyLines = 6;
using HeaderSlots = std::array<std::string, HeaderLineCount>;  // cp1251

// The most text a ConfigureReceiptLayout write carries after the digit.
constexpr std::size_t MaxHeaderText = 62;

// The write of line n: the digit and the text, the digit alone for a line
// that does not exist or is empty.
std::string HeaderWriteData(int n, const std::string* text);

// The file of the lines that exist: "%d,%s" and CR LF for each, header
// lines first (0..5), then footer lines (6, 7).
std::string FormatHeaderFile(const std::vector<std::string>& header, const std::vector<std::string>& footer);

// A header file's eight slots. A line ends at LF, at the end of the file or
// after 127 kept bytes; bytes below 0x20 are dropped. A line that begins
// with a digit 0-7 and a comma sets that slot to the rest of it (a later one
// wins); every other line is ignored.
constexpr std::size_t MaxHeaderFileLine = 127;
HeaderSlots ParseHeaderFile(std::string_view file);

}  // namespace prendix
