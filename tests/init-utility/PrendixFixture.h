// Prendix's windows driven through the seam, against the simulated printer
// on a pty, with the settings in the tests' temporary folder, and the
// scripted answers its setup flows need.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include "LinkState.h"
#include "Prendix.h"
#include "SimulatedPrinterFixture.h"
#include "TStatusDlg.h"

namespace prendix {

using qmr::test::Sent;

// What a control shows the user: a caption, a title, a list's items joined
// by '|', an edit's text.
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
    // The simulator's pty, after two system ports, at 19200.
    PrendixWindow() : SimulatedPrinterFixture({"/dev/ttyS1", "/dev/ttyS0"}, 2, 1) {}

    void SetUp() override {
        SimulatedPrinterFixture::SetUp();
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

    void ServicedPrinter() {
        WithPrinter([](qmrsim::Printer& p) { qmrsim::SetUpServicedPrinter(p); });
    }
    void Connect() {
        InitFP->ConnectBt->click();
        ASSERT_TRUE(qmr::Link().Connected);
    }
    // Puts the printer in a start state ("blank", "ready", "fiscalised") and connects.
    void Start(const char* state) {
        WithPrinter([state](qmrsim::Printer& p) { ASSERT_TRUE(qmrsim::SetUpStartState(p, state)); });
        Connect();
    }
    // A refresh on a connected window, from a clean request log.
    void Refresh() {
        sim.ClearRequests();
        InitFP->RefreshBt->click();
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

    // A dialog shown at `pos` stands over the client area as placed: as much
    // room left as right, a quarter of the free height above it.
    void ExpectPlacedOverTheWindow(QPoint pos, const QWidget& form) { qmr::test::ExpectPlacedOver(*InitFP, pos, form); }
};

}  // namespace prendix
