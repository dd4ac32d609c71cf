// How both programs read the numbers that users type, files hold and printers
// send, and how they print them, apart from any window.
//
// A number is read by its leading part: blanks skipped, an optional sign, the
// digits (and for decimals a point and an exponent); reading stops at the
// first other character and no number gives 0. Hexadecimal, "inf" and "nan"
// are not numbers here. Nothing depends on the locale: a point is always the
// decimal separator, in and out.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qmr {

// The leading integer or number of a text, and the text moved past it;
// nothing, and the text unchanged, when it does not begin with one.
std::optional<int> TakeInt(std::string_view& text);
std::optional<double> TakeNumber(std::string_view& text);

// The leading decimal integer; beyond the 32-bit range it stops at the range's end.
int ReadLeadingInt(std::string_view text);
// The leading decimal number (a point and an exponent allowed); a magnitude
// beyond double gives an infinity, which no formatter below will print.
double ReadLeadingNumber(std::string_view text);
// The value as a 32-bit float holds it: rounded to single precision, and an
// infinity past its range (converting such a value directly is undefined).
double ToSingle(double value);
// A double truncated toward zero, kept within the 32-bit range.
int TruncateToInt(double value);

// The fields of a text between its separators, in order: n separators make
// n + 1 fields, any of them empty. With `most`, the last field takes the rest
// of the text, separators and all. The views point into `text`.
std::vector<std::string_view> SplitFields(std::string_view text, char separator = ',',
                                          std::size_t most = static_cast<std::size_t>(-1));

// printf's "%W.Plf" of a value, or nothing when the value is not finite or
// the text (with its terminating NUL) would not fit in `limit` bytes.
std::optional<std::string> FormatFixed(double value, int width, int precision, std::size_t limit);

}  // namespace qmr
