// Prendix's window connected to a simulated printer in one of its start
// states, and the scripted answers its setup flows need.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "Prendix.h"
#include "SimulatedPrinterFixture.h"
#include "TStatusDlg.h"

namespace prendix::test {

// A command as the printer received it.
using Sent = std::pair<int, std::string>;

class PrendixSetupFixture : public qmr::test::SimulatedPrinterFixture {
protected:
    PrendixSetupFixture() : SimulatedPrinterFixture({"/dev/ttyS0"}) {}

    void SetUp() override {
        qmr::test::ClearSettings();
        qmr::test::WriteSettings(1, 3);  // the simulator's pty at 115200
        HeaderLines = {};
        CreateForms();
        InstallProgramLink(line, clock);
        InitFP->show();
    }
    void TearDown() override {
        delete InitFP;
        HeaderLines = {};
        SimulatedPrinterFixture::TearDown();
    }

    // Puts the printer in a start state ("blank", "ready", "fiscalised") and connects.
    void Start(const char* state) {
        WithPrinter([state](qmrsim::Printer& p) { ASSERT_TRUE(qmrsim::SetUpStartState(p, state)); });
        InitFP->ConnectBt->click();
        ASSERT_TRUE(qmr::Link().Connected);
    }
    std::vector<Sent> Received() {
        std::vector<Sent> sent;
        for (const auto& r : sim.Requests()) sent.emplace_back(r.cmd, r.data);
        return sent;
    }
    std::vector<int> Commands() {
        std::vector<int> commands;
        for (const auto& r : sim.Requests()) commands.push_back(r.cmd);
        return commands;
    }
    // The password prompt answers OK with this password.
    void Password(const QString& text) {
        script.OnNextModal([text](QDialog& form) {
            auto& prompt = dynamic_cast<TRepPwdDlg&>(form);
            prompt.PwdBox->setText(text);
            prompt.OkBt->click();
        });
    }
    // The link's status dialog for a command the printer refused.
    void StatusDialog() {
        script.OnNextModal([](QDialog& form) { EXPECT_NE(dynamic_cast<qmr::ui::TStatusDlg*>(&form), nullptr); });
    }
};

}  // namespace prendix::test
