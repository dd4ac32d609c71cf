// Prendix's reports menu and its dialogs, driven through the seam against
// the simulated printer on a pty.
#include <gtest/gtest.h>

#include <QApplication>
#include <QScreen>
#include <functional>

#include "Commands.h"
#include "Placement.h"
#include "PcClock.h"
#include "PrendixFixture.h"
#include "UiTestSupport.h"

namespace prendix {
namespace {

using qmrsim::Printer;
using ModalAction = qmr::ui::ScriptedSeam::ModalAction;
using Sent = std::pair<int, std::string>;
namespace st = qmrsim::st;

// What the user does in a dialog the seam shows.
ModalAction Click(QPushButton* TReportDlg::*button) {
    return [button](QDialog&) { (ReportDlg->*button)->click(); };
}
ModalAction Password(const char* password) {
    return [password](QDialog& form) {
        EXPECT_EQ(form.objectName(), "RepPwdDlg");
        RepPwdDlg->PwdBox->setText(QString::fromLatin1(password));
        RepPwdDlg->OkBt->click();
    };
}
ModalAction OkAlone() {
    return [](QDialog&) { RepPwdDlg->OkBt->click(); };
}
ModalAction CloseBox() {
    return [](QDialog& form) { form.reject(); };
}
// The status dialog the link shows for a refused command.
ModalAction StatusShown() {
    return [](QDialog& form) { EXPECT_EQ(form.objectName(), "StatusDlg"); };
}

void ZClosures(Printer& p, int count) {
    for (int i = 0; i < count; ++i) p.Handle({0x20, qmr::PrintDailyReport, "4826,0"});
}

bool Printed(const Printer& p, const std::string& line) {
    return std::find(p.paper.begin(), p.paper.end(), line) != p.paper.end();
}

class ReportsWindow : public PrendixWindow {
protected:
    void SetUp() override {
        PrendixWindow::SetUp();
        FixPcNow(QDateTime(QDate(2009, 3, 8), QTime(10, 0)));
        ServicedPrinter();
        Connect();
    }
    void TearDown() override {
        FixPcNow(QDateTime());
        PrendixWindow::TearDown();
    }
    // Opens the reports menu; the actions follow one another, the first in the menu.
    void InReports(const std::vector<ModalAction>& actions) {
        for (const ModalAction& action : actions) script.OnNextModal(action);
        sim.ClearRequests();
        InitFP->ClosureBt->click();
    }
    std::vector<QString> ModalNames() const {
        std::vector<QString> names;
        for (const auto& m : script.modals) names.push_back(m.objectName);
        return names;
    }
    // Where PlaceDialog puts a form over the main window.
    QPoint PlacedOverTheWindow(const QWidget& form) const {
        const QPoint origin = InitFP->mapToGlobal(QPoint(0, 0));
        const QSize size = form.frameGeometry().size();
        const qmr::Point at = qmr::PlaceDialog({origin.x(), origin.y()}, 497, 337, size.width(), size.height());
        return {at.x, at.y};
    }
};

// The menu's password reports: printer state, what the user does, and what
// reaches the printer and the screen.
struct PasswordReportCase {
    const char* name;
    std::function<void(Printer&)> state;
    std::vector<ModalAction> actions;  // after the menu: the prompt, the link's status dialog
    std::vector<Sent> sent;
    std::vector<QString> messages;
};

void ReadOnlyMemory(Printer& p) {
    p.fiscalMemory.readOnly = true;
    qmrsim::UpdateFiscalMemoryBits(p);
}
void FatalBit(Printer& p) { p.SetStatusBit(st::CommonError); }
void NothingMore(Printer&) {}

const Sent Status{qmr::ReadStatus, ""};
const QString ReadOnly = "Fiscal memory is Read Only";

class PasswordReports : public ReportsWindow, public ::testing::WithParamInterface<PasswordReportCase> {};

TEST_P(PasswordReports, SendTheirCommandsAfterTheStatusAndThePrompt) {
    const PasswordReportCase& c = GetParam();
    WithPrinter([&](Printer& p) {
        c.state(p);
        // The operators report stands in for the printer's own here.
        p.SetHandler(qmr::PrintOperatorsReport, [](Printer& printer, const qmrsim::Request&) {
            printer.paper.push_back("OPERATORS REPORT");
            return std::string();
        });
    });
    InReports(c.actions);
    EXPECT_EQ(TakeSent(), c.sent);
    EXPECT_EQ(script.MessageTexts(), c.messages);
    for (const auto& m : script.messages) EXPECT_EQ(m.caption, "Error");
    EXPECT_EQ(script.modals.size(), c.actions.size());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PasswordReports,
    ::testing::Values(
        PasswordReportCase{"Z", NothingMore, {Click(&TReportDlg::TypeZ), Password("4826")},
                           {Status, {qmr::PrintDailyReport, "4826,0"}}, {}},
        // The message, and the report is asked for all the same (the printer refuses it).
        PasswordReportCase{"ZOnAReadOnlyMemory", ReadOnlyMemory,
                           {Click(&TReportDlg::TypeZ), Password("4826"), StatusShown()},
                           {Status, {qmr::PrintDailyReport, "4826,0"}}, {ReadOnly}},
        PasswordReportCase{"ZWithAFatalBitAsksForNoPassword", FatalBit, {Click(&TReportDlg::TypeZ)}, {Status}, {}},
        PasswordReportCase{"ZWithAnEmptyPassword", NothingMore,
                           {Click(&TReportDlg::TypeZ), Password(""), StatusShown()},
                           {Status, {qmr::PrintDailyReport, ",0"}}, {}},
        PasswordReportCase{"ZPromptClosed", NothingMore, {Click(&TReportDlg::TypeZ), CloseBox()}, {Status}, {}},
        PasswordReportCase{"X", NothingMore, {Click(&TReportDlg::TypeX), Password("4826")},
                           {Status, {qmr::PrintDailyReport, "4826,2"}}, {}},
        // X does not stop on the status, and prints from a read-only memory.
        PasswordReportCase{"XOnAReadOnlyMemoryWithAFatalBit",
                           [](Printer& p) {
                               ReadOnlyMemory(p);
                               FatalBit(p);
                           },
                           {Click(&TReportDlg::TypeX), Password("4826")},
                           {Status, {qmr::PrintDailyReport, "4826,2"}}, {ReadOnly}},
        PasswordReportCase{"XWithAnEmptyPassword", NothingMore,
                           {Click(&TReportDlg::TypeX), Password(""), StatusShown()},
                           {Status, {qmr::PrintDailyReport, ",2"}}, {}},
        PasswordReportCase{"XPromptClosed", NothingMore, {Click(&TReportDlg::TypeX), CloseBox()}, {Status}, {}},
        PasswordReportCase{"Operators", NothingMore, {Click(&TReportDlg::TypeO), Password("4826")},
                           {Status, {qmr::PrintOperatorsReport, "4826"}}, {}},
        PasswordReportCase{"OperatorsWithAFatalBitAndAnEmptyPassword", FatalBit,
                           {Click(&TReportDlg::TypeO), Password("")}, {Status, {qmr::PrintOperatorsReport, ""}}, {}},
        PasswordReportCase{"OperatorsPromptClosed", NothingMore, {Click(&TReportDlg::TypeO), CloseBox()}, {Status},
                           {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ReportsWindow, TheMenuStandsOverTheWindowAndStaysOpenAfterAReport) {
    const QPoint placed = PlacedOverTheWindow(*ReportDlg);
    InReports({[](QDialog& form) {
                   ReportDlg->TypeX->click();
                   EXPECT_TRUE(form.isVisible());
                   ReportDlg->TypeX->click();
               },
               Password("4826"), OkAlone()});
    EXPECT_EQ(script.modals[0].pos, placed);
    // The prompt keeps what was typed: OK alone sends it again.
    EXPECT_EQ(TakeSent(), (std::vector<Sent>{Status, {qmr::PrintDailyReport, "4826,2"}, Status,
                                             {qmr::PrintDailyReport, "4826,2"}}));
    EXPECT_EQ(ModalNames(), (std::vector<QString>{"ReportDlg", "RepPwdDlg", "RepPwdDlg"}));
}

TEST_F(ReportsWindow, AZReportPrintsAClosureThatTheByNumberDialogThenOffers) {
    WithPrinter([](Printer& p) {
        ZClosures(p, 2);
        p.paper.clear();
    });
    InReports({Click(&TReportDlg::TypeZ), Password("4826")});
    WithPrinter([](Printer& p) {
        EXPECT_EQ(p.fiscalMemory.RecordCount(), 3);
        EXPECT_TRUE(Printed(p, "DAILY REPORT Z"));
        EXPECT_TRUE(Printed(p, "CLOSURE 0003"));
        p.SetStatusBit(st::Fiscalized);
    });
    script.modals.clear();
    const QPoint placed = PlacedOverTheWindow(*ByNumDlg);
    InReports({Click(&TReportDlg::TypeN), [](QDialog&) {
                   EXPECT_EQ(ByNumDlg->EndBox->text(), "3");
                   ByNumDlg->StartBox->setText("2");
                   ByNumDlg->PwdBox->setText("4826");
                   ByNumDlg->OkBt->click();
                   ByNumDlg->FullButton->setChecked(true);
                   ByNumDlg->OkBt->click();
               }});
    const Sent info{qmr::ReadDeviceInfo, ""}, last{qmr::ReadLastRecordNumber, ""};
    EXPECT_EQ(TakeSent(), (std::vector<Sent>{Status, last, info, last, info, {qmr::PrintShortReportByNumber, "4826,2,3"},
                                             info, {qmr::PrintDetailedReportByNumber, "4826,2,3"}}));
    EXPECT_TRUE(script.messages.empty());
    EXPECT_EQ(script.modals[1].pos, placed);
    WithPrinter([](Printer& p) {
        EXPECT_TRUE(Printed(p, "BY NUMBER 0002 - 0003"));
        EXPECT_TRUE(Printed(p, "DETAILED"));
    });
}

}  // namespace
}  // namespace prendix
