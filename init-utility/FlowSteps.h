// One step of a handler's sequence of commands.
#pragma once

#include <string_view>

namespace prendix {

// Sends the command; true when the status word then has a bit of
// FatalStatusMask, and the sequence stops (the link has told the user).
bool FailsFatally(int command, std::string_view data);

}  // namespace prendix
