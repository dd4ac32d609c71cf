#include "FlowSteps.h"

#include "Executor.h"
#include "LinkState.h"

namespace prendix {

bool FailsFatally(int command, std::string_view data) {
    qmr::ExecCommand(command, data);
    return (qmr::Link().StatusWord & qmr::FatalStatusMask) != 0;
}

}  // namespace prendix
