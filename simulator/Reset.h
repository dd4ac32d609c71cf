// The printer's reset: it loses what its working memory held (an open
// receipt, the time of day) and writes a reset record into the fiscal
// memory, so a series of resets fills the memory as closures do. After a
// reset every reply says "clock not set" until SetDateTime sets it again.
#pragma once

namespace qmrsim {

class Printer;

struct Reset {
    int resets = 0;  // resets done since the printer was made
};

// Registers PerformReset. A full or read-only fiscal memory refuses the
// reset (not permitted, with its near-full / full / read-only bits).
void RegisterResetCommands(Printer& printer);

}  // namespace qmrsim
