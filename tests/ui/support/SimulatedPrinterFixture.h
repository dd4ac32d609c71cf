// What a program's window tests share: the simulated printer on a pty, offered
// after a fixed list of system ports, the line and the quick clock the
// program's link is installed with, and the scripted seam, which must be used
// up when the test ends.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "Simulator.h"
#include "TermiosLine.h"
#include "UiTestSupport.h"

namespace qmr::test {

class SimulatedPrinterFixture : public ::testing::Test {
protected:
    explicit SimulatedPrinterFixture(std::vector<std::string> systemPorts)
        : ports(std::move(systemPorts), sim.DevicePath()) {}

    // A program's TearDown deletes its main window first, then calls this.
    void TearDown() override { EXPECT_TRUE(script.ScriptUsedUp()); }

    template <class F>
    void WithPrinter(F&& f) {
        sim.WithPrinter([&](qmrsim::Printer& p) {
            f(p);
            return 0;
        });
    }

    qmrsim::Simulator sim;
    PortsScope ports;
    qmr::TermiosLine line;
    QuickClock clock;
    TestSeam script;
};

}  // namespace qmr::test
