// The printer's fifteen operators: a name each, and the password each opens
// receipts with (kept with the receipts, Receipts::operatorPasswords, where
// the receipts and reports look it up). SetOperatorPassword changes a
// password given the old one, SetOperatorName sets a name given the
// operator's password, and PrintOperatorsReport prints them all on the paper.
#pragma once

#include <array>
#include <string>

#include "Receipts.h"

namespace qmrsim {

class Printer;

struct Operators {
    static constexpr std::size_t MaxName = 24;
    static constexpr std::size_t MaxPassword = 6;

    // Operator n's name at [n - 1] (cp1251).
    std::array<std::string, Receipts::Operators> names = DefaultNames();

    static std::array<std::string, Receipts::Operators> DefaultNames();
};

// Registers SetOperatorPassword, SetOperatorName, PrintOperatorsReport and
// the operators' lasting state (names and passwords).
void RegisterOperatorsCommands(Printer& printer);

}  // namespace qmrsim
