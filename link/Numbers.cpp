#include "Numbers.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <limits>

namespace qmr {

namespace {

bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

struct Cursor {
    std::string_view text;
    std::size_t at = 0;
    char Peek(std::size_t ahead = 0) const { return at + ahead < text.size() ? text[at + ahead] : '\0'; }
};

void SkipBlanks(Cursor& c) {
    while (c.at < c.text.size() && IsBlank(c.text[c.at])) ++c.at;
}

// Takes an optional sign; true for '-'.
bool TakeSign(Cursor& c) {
    const char s = c.Peek();
    if (s != '+' && s != '-') return false;
    ++c.at;
    return s == '-';
}

std::size_t TakeDigits(Cursor& c) {
    const std::size_t from = c.at;
    while (IsDigit(c.Peek())) ++c.at;
    return c.at - from;
}

// The power of ten of a number's first significant digit, roughly: enough to
// tell a number too large for a double from one too small.
long long DecimalMagnitude(std::string_view number) {
    const std::size_t e = number.find_first_of("eE");
    const std::string_view mantissa = number.substr(0, e);
    const long long exponent = e == std::string_view::npos ? 0 : ReadLeadingInt(number.substr(e + 1));
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    const std::size_t first = mantissa.find_first_of("123456789");
    if (first == std::string_view::npos) return LLONG_MIN;
    const long long place = first < point ? static_cast<long long>(point - first) : -static_cast<long long>(first - point);
    return exponent + place;
}

}  // namespace

std::optional<int> TakeInt(std::string_view& text) {
    Cursor c{text};
    SkipBlanks(c);
    const bool negative = TakeSign(c);
    if (!IsDigit(c.Peek())) return std::nullopt;
    long long value = 0;
    constexpr long long cap = static_cast<long long>(INT_MAX) + 1;
    while (IsDigit(c.Peek())) {
        value = std::min(value * 10 + (c.Peek() - '0'), cap);
        ++c.at;
    }
    text.remove_prefix(c.at);
    if (negative) value = -value;
    return static_cast<int>(std::min<long long>(value, INT_MAX));
}

std::optional<double> TakeNumber(std::string_view& text) {
    Cursor c{text};
    SkipBlanks(c);
    const bool negative = TakeSign(c);
    const std::size_t from = c.at;
    const std::size_t whole = TakeDigits(c);
    std::size_t fraction = 0;
    if (c.Peek() == '.') {
        ++c.at;
        fraction = TakeDigits(c);
    }
    if (whole + fraction == 0) return std::nullopt;
    // An exponent counts only when digits follow it.
    if (c.Peek() == 'e' || c.Peek() == 'E') {
        const char sign = c.Peek(1);
        const std::size_t digitsAt = (sign == '+' || sign == '-') ? 2 : 1;
        if (IsDigit(c.Peek(digitsAt))) {
            c.at += digitsAt;
            TakeDigits(c);
        }
    }
    const std::string_view number = text.substr(from, c.at - from);
    double value = 0.0;
    if (std::from_chars(number.data(), number.data() + number.size(), value).ec == std::errc::result_out_of_range)
        value = DecimalMagnitude(number) > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    text.remove_prefix(c.at);
    return negative ? -value : value;
}

int ReadLeadingInt(std::string_view text) { return TakeInt(text).value_or(0); }

double ReadLeadingNumber(std::string_view text) { return TakeNumber(text).value_or(0.0); }

double ToSingle(double value) {
    if (std::isfinite(value) && std::fabs(value) > std::numeric_limits<float>::max()) {
        // Past the largest float by less than half a step still rounds to it.
        const double halfStep = std::ldexp(1.0, 127 - 24);
        if (std::fabs(value) < std::numeric_limits<float>::max() + halfStep)
            return std::copysign(std::numeric_limits<float>::max(), value);
        return std::copysign(std::numeric_limits<double>::infinity(), value);
    }
    return static_cast<float>(value);
}

int TruncateToInt(double value) {
    if (std::isnan(value)) return 0;
    const double t = std::trunc(value);
    if (t >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (t <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(t);
}

std::vector<std::string_view> SplitFields(std::string_view text, char separator, std::size_t most) {
    std::vector<std::string_view> fields;
    while (fields.size() + 1 < most) {
        const std::size_t at = text.find(separator);
        if (at == std::string_view::npos) break;
        fields.push_back(text.substr(0, at));
        text.remove_prefix(at + 1);
    }
    fields.push_back(text);
    return fields;
}

std::optional<std::string> FormatFixed(double value, int width, int precision, std::size_t limit) {
    if (!std::isfinite(value) || limit == 0 || precision < 0) return std::nullopt;
    // Room for the sign, the 309 digits of the largest double, the point and the decimals.
    const std::size_t longest = std::numeric_limits<double>::max_exponent10 + 3 + static_cast<std::size_t>(precision);
    std::string text(longest, '\0');
    const auto [end, error] =
        std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed, precision);
    if (error != std::errc()) return std::nullopt;
    text.resize(static_cast<std::size_t>(end - text.data()));
    if (text.size() < static_cast<std::size_t>(width)) text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
    if (text.size() + 1 > limit) return std::nullopt;
    return text;
}

}  // namespace qmr
