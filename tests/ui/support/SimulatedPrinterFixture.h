// What a program's window tests share: the simulated printer on a pty, offered
// after a fixed list of system ports, a settings store that holds only the
// saved port and speed, the line and the quick clock the
// program's link is installed with, the scripted seam, which must be used up
// when the test ends, and the log of what the printer received.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QTimer>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "Executor.h"
#include "Simulator.h"
#include "TermiosLine.h"
#include "UiTestSupport.h"

namespace qmr::test {

// A request as the printer received it: its command and its data.
using Sent = std::pair<int, std::string>;

class SimulatedPrinterFixture : public ::testing::Test {
protected:
    // The saved choices are indexes into the port and speed lists.
    SimulatedPrinterFixture(std::vector<std::string> systemPorts, int savedPort, int savedBauds)
        : ports(std::move(systemPorts), sim.DevicePath()), savedPort_(savedPort), savedBauds_(savedBauds) {}

    // A program's SetUp calls this first, then starts the program.
    void SetUp() override {
        ClearSettings();
        WriteSettings(savedPort_, savedBauds_);
    }
    // A program's TearDown deletes its main window first, then calls this.
    void TearDown() override { EXPECT_TRUE(script.ScriptUsedUp()); }

    template <class F>
    void WithPrinter(F&& f) {
        sim.WithPrinter([&](qmrsim::Printer& p) {
            f(p);
            return 0;
        });
    }

    // The printer's request log, repeats included, in the order received.
    // The Take forms clear the log, so the next look sees only what follows;
    // the others leave it as it is.
    std::vector<Sent> Requests() const {
        std::vector<Sent> sent;
        for (const auto& r : sim.Requests()) sent.emplace_back(r.cmd, r.data);
        return sent;
    }
    std::vector<Sent> TakeRequests() {
        std::vector<Sent> sent = Requests();
        sim.ClearRequests();
        return sent;
    }
    // The commands alone.
    std::vector<int> Commands() const {
        std::vector<int> commands;
        for (const auto& r : sim.Requests()) commands.push_back(r.cmd);
        return commands;
    }
    // The sequence byte of each request.
    std::vector<std::uint8_t> Sequences() const {
        std::vector<std::uint8_t> seqs;
        for (const auto& r : sim.Requests()) seqs.push_back(r.seq);
        return seqs;
    }
    std::vector<int> TakeCommands() {
        std::vector<int> commands = Commands();
        sim.ClearRequests();
        return commands;
    }

    // Silences the printer for the next command's four tries and clicks the
    // button at that command's first pump, while the hold has not greyed it
    // yet; the silence then times out at once. `clickedDuringExchange` says
    // the click came where it should.
    void ClickDuringTheNextExchange(QAbstractButton& button) {
        sim.InjectFault(qmrsim::Fault::Silence, 4);
        QTimer::singleShot(0, &button, [this, &button] {
            clickedDuringExchange = qmr::ExchangeRunning() && button.isEnabled();
            button.click();
            clock.racing = true;
        });
    }

    qmrsim::Simulator sim;
    PortsScope ports;
    qmr::TermiosLine line;
    QuickClock clock;
    TestSeam script;
    bool clickedDuringExchange = false;

private:
    int savedPort_;
    int savedBauds_;
};

}  // namespace qmr::test
