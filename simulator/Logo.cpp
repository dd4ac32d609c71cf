#include "Logo.h"

#include <optional>
#include <string_view>
#include <utility>

#include "Commands.h"
#include "Printer.h"

namespace qmrsim {

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// A row number: one or two decimal digits, 0 to 95.
std::optional<int> RowNumber(std::string_view text) {
    if (text.empty() || text.size() > 2) return std::nullopt;
    int row = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        row = row * 10 + (c - '0');
    }
    if (row >= Logo::Rows) return std::nullopt;
    return row;
}

using RowBytes = std::array<std::uint8_t, Logo::RowBytes>;

// Pairs of hex digits, at most 54 of them; the dots they leave out are blank.
std::optional<RowBytes> ParseRowBytes(std::string_view hex) {
    RowBytes bytes{};
    if (hex.size() % 2 != 0 || hex.size() / 2 > bytes.size()) return std::nullopt;
    for (std::size_t k = 0; k < hex.size() / 2; ++k) {
        const int high = HexValue(hex[2 * k]), low = HexValue(hex[2 * k + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        bytes[k] = static_cast<std::uint8_t>(high * 16 + low);
    }
    return bytes;
}

std::string RowHex(const RowBytes& bytes) {
    static const char Digits[] = "0123456789ABCDEF";
    std::string hex;
    for (const std::uint8_t b : bytes) {
        hex += Digits[b >> 4];
        hex += Digits[b & 0x0F];
    }
    return hex;
}

// "password,row,hex".
std::string LoadRow(Printer& printer, std::string_view data) {
    const std::size_t first = data.find(',');
    const std::size_t second = first == std::string_view::npos ? first : data.find(',', first + 1);
    if (second == std::string_view::npos) {
        printer.Fail(st::SyntaxError);
        return "";
    }
    const std::string_view password = data.substr(0, first);
    const auto row = RowNumber(data.substr(first + 1, second - first - 1));
    const auto bytes = ParseRowBytes(data.substr(second + 1));
    if (!row || !bytes) {
        printer.Fail(st::SyntaxError);
        return "";
    }
    if (password != printer.logo.password) {
        printer.Fail(st::NotPermitted);
        return "";
    }
    printer.logo.rows[static_cast<std::size_t>(*row)] = *bytes;
    return "";
}

// "on" or "off", the password, then "row hex" for every row with a dot.
std::vector<std::string> SaveLogo(const Printer& printer) {
    const Logo& logo = printer.logo;
    std::vector<std::string> lines = {logo.printing ? "on" : "off", EscapeStateText(logo.password)};
    for (std::size_t row = 0; row < logo.rows.size(); ++row)
        if (logo.rows[row] != RowBytes{}) lines.push_back(std::to_string(row) + " " + RowHex(logo.rows[row]));
    return lines;
}

bool LoadLogo(Printer& printer, const std::vector<std::string>& lines) {
    if (lines.size() < 2 || (lines[0] != "on" && lines[0] != "off")) return false;
    const auto password = UnescapeStateText(lines[1]);
    if (!password) return false;
    Logo logo;
    logo.printing = lines[0] == "on";
    logo.password = *password;
    for (std::size_t i = 2; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        const std::size_t blank = line.find(' ');
        const auto row = RowNumber(line.substr(0, blank));
        const auto bytes = blank == std::string_view::npos ? std::nullopt : ParseRowBytes(line.substr(blank + 1));
        if (!row || !bytes) return false;
        logo.rows[static_cast<std::size_t>(*row)] = *bytes;
    }
    printer.logo = logo;
    return true;
}

void PrintLogo(Printer& printer) {
    if (!printer.logo.printing) return;
    for (std::string& line : LogoLines(printer.logo)) printer.paper.push_back(std::move(line));
}

bool Dot(const Logo& logo, std::size_t row, int dot) {
    return (logo.rows[row][static_cast<std::size_t>(dot / 8)] >> (7 - dot % 8)) & 1;
}

}  // namespace

std::vector<std::string> LogoLines(const Logo& logo) {
    std::vector<std::string> lines;
    std::size_t printed = 0;  // lines up to the last one that holds a dot
    for (std::size_t row = 0; row < logo.rows.size(); ++row) {
        std::string line;
        for (int dot = 0; dot < Logo::RowBytes * 8; ++dot) line += Dot(logo, row, dot) ? '#' : ' ';
        line.erase(line.find_last_not_of(' ') + 1);
        if (line.empty() && lines.empty()) continue;
        lines.push_back(std::move(line));
        if (!lines.back().empty()) printed = lines.size();
    }
    lines.resize(printed);
    return lines;
}

void RegisterLogoCommands(Printer& printer) {
    printer.SetHandler(qmr::LoadLogoRow, [](Printer& p, const Request& q) { return LoadRow(p, q.data); });
    printer.SetHandler(qmr::ConfigureReceiptLayout,
                       [others = printer.HandlerOf(qmr::ConfigureReceiptLayout)](Printer& p, const Request& q) {
                           if (q.data == "L0" || q.data == "L1") {
                               p.logo.printing = q.data == "L1";
                               return std::string();
                           }
                           if (others) return others(p, q);
                           p.Fail(st::SyntaxError);
                           return std::string();
                       });
    printer.AddReceiptTop(PrintLogo);
    printer.AddStateSection({"logo", SaveLogo, LoadLogo});
}

}  // namespace qmrsim
