#include "Operators.h"

#include <optional>
#include <string_view>
#include <vector>

#include "Commands.h"
#include "Printer.h"

namespace qmrsim {

namespace {

std::vector<std::string_view> Fields(std::string_view text) {
    std::vector<std::string_view> fields;
    while (true) {
        const std::size_t comma = text.find(',');
        fields.push_back(text.substr(0, comma));
        if (comma == std::string_view::npos) return fields;
        text.remove_prefix(comma + 1);
    }
}

// "1" .. "15": the operator's index in the arrays.
std::optional<std::size_t> OperatorIndex(std::string_view field) {
    if (field.empty() || field.size() > 2) return std::nullopt;
    int number = 0;
    for (const char c : field) {
        if (c < '0' || c > '9') return std::nullopt;
        number = number * 10 + (c - '0');
    }
    if (number < 1 || number > Receipts::Operators) return std::nullopt;
    return static_cast<std::size_t>(number - 1);
}

// "operator,password,third": the operator whose password was given, or
// nothing with the command's error raised. The third field is the new name
// or password, at most `maxThird` bytes and not empty.
std::optional<std::size_t> Authorised(Printer& printer, const std::vector<std::string_view>& fields,
                                      std::size_t maxThird) {
    const auto index = fields.size() == 3 ? OperatorIndex(fields[0]) : std::nullopt;
    if (!index || fields[2].empty() || fields[2].size() > maxThird) {
        printer.Fail(st::SyntaxError);
        return std::nullopt;
    }
    // An operator's data stays as it is while a receipt is open.
    if (printer.receipts.receipt.open || fields[1] != printer.receipts.operatorPasswords[*index]) {
        printer.Fail(st::NotPermitted);
        return std::nullopt;
    }
    return index;
}

std::string SetPassword(Printer& printer, std::string_view data) {
    const auto fields = Fields(data);
    if (const auto index = Authorised(printer, fields, Operators::MaxPassword))
        printer.receipts.operatorPasswords[*index] = std::string(fields[2]);
    return "";
}

std::string SetName(Printer& printer, std::string_view data) {
    const auto fields = Fields(data);
    if (const auto index = Authorised(printer, fields, Operators::MaxName))
        printer.operators.names[*index] = std::string(fields[2]);
    return "";
}

// The report needs no password; one that is given must be an operator's.
std::string PrintReport(Printer& printer, const std::string& password) {
    if (printer.receipts.receipt.open || (!password.empty() && !PasswordOfAnyOperator(printer, password))) {
        printer.Fail(st::NotPermitted);
        return "";
    }
    printer.PrintReceiptTop();
    printer.paper.push_back("OPERATORS REPORT");
    for (std::size_t i = 0; i < printer.operators.names.size(); ++i) {
        const std::string number = (i < 9 ? "0" : "") + std::to_string(i + 1);
        printer.paper.push_back(number + " " + printer.operators.names[i]);
    }
    printer.paper.push_back("END OF REPORT");
    printer.PrintReceiptBottom();
    return "";
}

// One line per operator: the escaped password, a TAB, the escaped name.
std::vector<std::string> SaveOperators(const Printer& printer) {
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < printer.operators.names.size(); ++i)
        lines.push_back(EscapeStateText(printer.receipts.operatorPasswords[i]) + "\t" +
                        EscapeStateText(printer.operators.names[i]));
    return lines;
}

bool LoadOperators(Printer& printer, const std::vector<std::string>& lines) {
    if (lines.size() != static_cast<std::size_t>(Receipts::Operators)) return false;
    std::array<std::string, Receipts::Operators> passwords, names;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::size_t tab = lines[i].find('\t');
        if (tab == std::string::npos) return false;
        const auto password = UnescapeStateText(lines[i].substr(0, tab));
        const auto name = UnescapeStateText(lines[i].substr(tab + 1));
        if (!password || !name) return false;
        passwords[i] = *password;
        names[i] = *name;
    }
    printer.receipts.operatorPasswords = passwords;
    printer.operators.names = names;
    return true;
}

}  // namespace

std::array<std::string, Receipts::Operators> Operators::DefaultNames() {
    std::array<std::string, Receipts::Operators> names;
    for (std::size_t i = 0; i < names.size(); ++i) names[i] = "OPERATOR " + std::to_string(i + 1);
    return names;
}

void RegisterOperatorsCommands(Printer& printer) {
    printer.SetHandler(qmr::SetOperatorPassword, [](Printer& p, const Request& q) { return SetPassword(p, q.data); });
    printer.SetHandler(qmr::SetOperatorName, [](Printer& p, const Request& q) { return SetName(p, q.data); });
    printer.SetHandler(qmr::PrintOperatorsReport, [](Printer& p, const Request& q) { return PrintReport(p, q.data); });
    printer.AddStateSection({"operators", SaveOperators, LoadOperators});
}

}  // namespace qmrsim
