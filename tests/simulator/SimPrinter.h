// A simulated printer handled without a line: send a command, look at the
// reply's status bits.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "Printer.h"

namespace qmrsim {

class SimPrinter : public ::testing::Test {
protected:
    Reply Send(int command, const std::string& data = "") { return printer.Handle({seq++, static_cast<std::uint8_t>(command), data}); }
    // The status bits of a reply without the marker bit.
    static std::array<int, 6> Bits(const Reply& r) {
        std::array<int, 6> bits{};
        for (std::size_t i = 0; i < 6; ++i) bits[i] = r.status[i] & 0x3F;
        return bits;
    }
    static bool Refused(const Reply& r, StatusPos pos) { return (Bits(r)[static_cast<std::size_t>(pos.byte)] >> pos.bit) & 1; }
    // No error bit of a command in the reply.
    static bool Done(const Reply& r) { return (Bits(r)[0] & 0x03) == 0 && (Bits(r)[1] & 0x03) == 0; }

    Printer printer;
    std::uint8_t seq = 0x20;
};

}  // namespace qmrsim
