// Prendix's windows driven through the seam, against the simulated printer
// on a pty, with the settings in the tests' temporary folder.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <string>
#include <utility>
#include <vector>

#include "LinkState.h"
#include "Prendix.h"
#include "SimulatedPrinterFixture.h"

namespace prendix {

// What a control shows as designed: a caption, a title, a list's items
// joined by '|', an edit's text.
inline QString CaptionOf(const QWidget& w) {
    if (const auto* label = qobject_cast<const QLabel*>(&w)) return label->text();
    if (const auto* button = qobject_cast<const QAbstractButton*>(&w)) return button->text();
    if (const auto* group = qobject_cast<const QGroupBox*>(&w)) return group->title();
    if (const auto* combo = qobject_cast<const QComboBox*>(&w)) return qmr::test::ItemsOf(*combo).join('|');
    if (const auto* edit = qobject_cast<const QLineEdit*>(&w)) return edit->text();
    return {};
}

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
    void ExpectPlacedOverTheWindow(QPoint pos, const QWidget& form) { qmr::test::ExpectPlacedOver(*InitFP, pos, form); }
    // A refresh on a connected window, from a clean request log.
    void Refresh() {
        sim.ClearRequests();
        InitFP->RefreshBt->click();
    }
};

}  // namespace prendix
