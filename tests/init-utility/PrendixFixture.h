// Prendix's windows driven through the seam, against the simulated printer
// on a pty, with the settings in the tests' temporary folder.
#pragma once

#include <gtest/gtest.h>

#include <QRect>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "LinkState.h"
#include "Prendix.h"
#include "SimulatedPrinterFixture.h"

namespace prendix {

class PrendixWindow : public qmr::test::SimulatedPrinterFixture {
protected:
    PrendixWindow() : SimulatedPrinterFixture({"/dev/ttyS1", "/dev/ttyS0"}) {}

    void SetUp() override {
        qmr::test::ClearSettings();
        qmr::test::WriteSettings(2, 1);  // the simulator's pty at 19200
        CreateForms();
        InstallProgramLink(line, clock);
        InitFP->show();
    }

    void TearDown() override {
        delete InitFP;
        SimulatedPrinterFixture::TearDown();
    }

    void ServicedPrinter() {
        WithPrinter([](qmrsim::Printer& p) { qmrsim::SetUpServicedPrinter(p); });
    }
    void Connect() {
        InitFP->ConnectBt->click();
        ASSERT_TRUE(qmr::Link().Connected);
    }
    // The commands the printer received, repeats included.
    std::vector<int> Received() {
        std::vector<int> commands;
        for (const auto& r : sim.Requests()) commands.push_back(r.cmd);
        return commands;
    }
    // The commands with their data, since the last look.
    using Sent = std::pair<int, std::string>;
    std::vector<Sent> TakeSent() {
        std::vector<Sent> sent;
        for (const auto& r : sim.Requests()) sent.emplace_back(r.cmd, r.data);
        sim.ClearRequests();
        return sent;
    }
    // A dialog shown at `pos` stands over the client area as placed: as much
    // room left as right, a quarter of the free height above it.
    void ExpectPlacedOverTheWindow(QPoint pos, const QWidget& form) {
        const QRect client(InitFP->mapToGlobal(QPoint(0, 0)), InitFP->size());
        const QRect dlg(pos, form.frameGeometry().size());
        EXPECT_LE(std::abs((dlg.left() - client.left()) - (client.right() - dlg.right())), 1) << form.objectName().toStdString();
        const int above = dlg.top() - client.top(), below = client.bottom() - dlg.bottom();
        EXPECT_LE(std::abs(3 * above - below), 3) << form.objectName().toStdString();
    }
    // A refresh on a connected window, from a clean request log.
    void Refresh() {
        sim.ClearRequests();
        InitFP->RefreshBt->click();
    }
};

}  // namespace prendix
