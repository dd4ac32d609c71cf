// What the printer offers for testing it: the test switch, a progress text
// on its display, the cutter and a digit string on the paper.
#pragma once

#include <string>

namespace qmrsim {

class Printer;

struct TestAids {
    bool testMode = false;     // SetTestSwitch "1" until "0"
    std::string progressText;  // the last SendProgressText
    // Cuts the cutter still makes ('P'); after them it answers 'E', as a
    // jammed cutter does. Below 0: it never jams.
    int cutsLeft = -1;
    int cuts = 0;
};

// Registers SetTestSwitch, SendProgressText, CutPaper and SendDigitText.
void RegisterTestAidsCommands(Printer& printer);

}  // namespace qmrsim
