// Prendix's reports menu and its dialogs, driven through the seam against
// the simulated printer on a pty.
#include <gtest/gtest.h>

#include <QApplication>
#include <QScreen>
#include <functional>

#include "Commands.h"
#include "PcClock.h"
#include "Placement.h"
#include "PrendixFixture.h"
#include "ReportTexts.h"
#include "UiTestSupport.h"

namespace prendix {
namespace {

using qmrsim::Printer;
using ModalAction = qmr::ui::ScriptedSeam::ModalAction;
namespace st = qmrsim::st;

// What the user does in a dialog the seam shows.
ModalAction Click(QPushButton* TReportDlg::*button) {
    return [button](QDialog&) { (ReportDlg->*button)->click(); };
}
ModalAction EnterPassword(const char* password) {
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
    void ExpectOverTheWindow(const QPoint& shownAt, const QWidget& form) const {
        qmr::test::ExpectPlacedOver(*InitFP, shownAt, form);
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
    const char* printed;  // a line of the report on the paper; nothing printed at all
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
    WithPrinter([&](Printer& p) { c.state(p); });
    InReports(c.actions);
    EXPECT_EQ(TakeRequests(), c.sent);
    WithPrinter([&](Printer& p) {
        if (c.printed)
            EXPECT_TRUE(Printed(p, c.printed));
        else
            EXPECT_EQ(p.paper, std::vector<std::string>{});
    });
    EXPECT_EQ(script.MessageTexts(), c.messages);
    for (const auto& m : script.messages) EXPECT_EQ(m.caption, "Error");
    EXPECT_EQ(script.modals.size(), c.actions.size());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PasswordReports,
    ::testing::Values(
        PasswordReportCase{"Z",
                           NothingMore,
                           {Click(&TReportDlg::TypeZ), EnterPassword("4826")},
                           {Status, {qmr::PrintDailyReport, "4826,0"}},
                           {},
                           "DAILY REPORT Z"},
        // The message, and the report is asked for all the same (the printer refuses it).
        PasswordReportCase{"ZOnAReadOnlyMemory",
                           ReadOnlyMemory,
                           {Click(&TReportDlg::TypeZ), EnterPassword("4826"), StatusShown()},
                           {Status, {qmr::PrintDailyReport, "4826,0"}},
                           {ReadOnly},
                           nullptr},
        PasswordReportCase{
            "ZWithAFatalBitAsksForNoPassword", FatalBit, {Click(&TReportDlg::TypeZ)}, {Status}, {}, nullptr},
        PasswordReportCase{"ZWithAnEmptyPassword",
                           NothingMore,
                           {Click(&TReportDlg::TypeZ), EnterPassword(""), StatusShown()},
                           {Status, {qmr::PrintDailyReport, ",0"}},
                           {},
                           nullptr},
        PasswordReportCase{
            "ZPromptClosed", NothingMore, {Click(&TReportDlg::TypeZ), CloseBox()}, {Status}, {}, nullptr},
        PasswordReportCase{"X",
                           NothingMore,
                           {Click(&TReportDlg::TypeX), EnterPassword("4826")},
                           {Status, {qmr::PrintDailyReport, "4826,2"}},
                           {},
                           "DAILY REPORT X"},
        // X does not stop on the status, and prints from a read-only memory.
        PasswordReportCase{"XOnAReadOnlyMemoryWithAFatalBit",
                           [](Printer& p) {
                               ReadOnlyMemory(p);
                               FatalBit(p);
                           },
                           {Click(&TReportDlg::TypeX), EnterPassword("4826")},
                           {Status, {qmr::PrintDailyReport, "4826,2"}},
                           {ReadOnly},
                           "DAILY REPORT X"},
        PasswordReportCase{"XWithAnEmptyPassword",
                           NothingMore,
                           {Click(&TReportDlg::TypeX), EnterPassword(""), StatusShown()},
                           {Status, {qmr::PrintDailyReport, ",2"}},
                           {},
                           nullptr},
        PasswordReportCase{
            "XPromptClosed", NothingMore, {Click(&TReportDlg::TypeX), CloseBox()}, {Status}, {}, nullptr},
        PasswordReportCase{"Operators",
                           NothingMore,
                           {Click(&TReportDlg::TypeO), EnterPassword("4826")},
                           {Status, {qmr::PrintOperatorsReport, "4826"}},
                           {},
                           "OPERATORS REPORT"},
        PasswordReportCase{"OperatorsWithAFatalBitAndAnEmptyPassword",
                           FatalBit,
                           {Click(&TReportDlg::TypeO), EnterPassword("")},
                           {Status, {qmr::PrintOperatorsReport, ""}},
                           {},
                           "OPERATORS REPORT"},
        PasswordReportCase{
            "OperatorsPromptClosed", NothingMore, {Click(&TReportDlg::TypeO), CloseBox()}, {Status}, {}, nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ReportsWindow, TheMenuStandsOverTheWindowAndStaysOpenAfterAReport) {
    InReports({[](QDialog& form) {
                   ReportDlg->TypeX->click();
                   EXPECT_TRUE(form.isVisible());
                   ReportDlg->TypeX->click();
               },
               EnterPassword("4826"), OkAlone()});
    ExpectOverTheWindow(script.modals[0].pos, *ReportDlg);
    // The prompt keeps what was typed: OK alone sends it again.
    EXPECT_EQ(TakeRequests(),
              (std::vector<Sent>{Status, {qmr::PrintDailyReport, "4826,2"}, Status, {qmr::PrintDailyReport, "4826,2"}}));
    EXPECT_EQ(ModalNames(), (std::vector<QString>{"ReportDlg", "RepPwdDlg", "RepPwdDlg"}));
}

TEST_F(ReportsWindow, AZReportPrintsAClosureThatTheByNumberDialogThenOffers) {
    WithPrinter([](Printer& p) {
        ZClosures(p, 2);
        p.paper.clear();
    });
    InReports({Click(&TReportDlg::TypeZ), EnterPassword("4826")});
    WithPrinter([](Printer& p) {
        EXPECT_EQ(p.fiscalMemory.RecordCount(), 3);
        EXPECT_TRUE(Printed(p, "DAILY REPORT Z"));
        EXPECT_TRUE(Printed(p, "CLOSURE 0003"));
        p.SetStatusBit(st::Fiscalized);
    });
    script.modals.clear();
    InReports({Click(&TReportDlg::TypeN), [](QDialog&) {
                   EXPECT_EQ(ByNumDlg->EndBox->text(), "3");
                   ByNumDlg->StartBox->setText("2");
                   ByNumDlg->PwdBox->setText("4826");
                   ByNumDlg->OkBt->click();
                   ByNumDlg->FullButton->setChecked(true);
                   ByNumDlg->OkBt->click();
               }});
    const Sent info{qmr::ReadDeviceInfo, ""}, last{qmr::ReadLastRecordNumber, ""};
    EXPECT_EQ(TakeRequests(), (std::vector<Sent>{Status,
                                                 last,
                                                 info,
                                                 last,
                                                 info,
                                                 {qmr::PrintShortReportByNumber, "4826,2,3"},
                                                 info,
                                                 {qmr::PrintDetailedReportByNumber, "4826,2,3"}}));
    EXPECT_TRUE(script.messages.empty());
    ExpectOverTheWindow(script.modals[1].pos, *ByNumDlg);
    WithPrinter([](Printer& p) {
        EXPECT_TRUE(Printed(p, "BY NUMBER 0002 - 0003"));
        EXPECT_TRUE(Printed(p, "DETAILED"));
    });
}

TEST_F(ReportsWindow, XWithoutAnAnswerStillAsksForThePasswordAndSends) {
    clock.racing = true;
    sim.InjectFault(qmrsim::Fault::Silence, 8);
    InReports({Click(&TReportDlg::TypeX), EnterPassword("4826")});
    EXPECT_EQ(Commands(), (std::vector<int>{74, 74, 74, 74, 69, 69, 69, 69}));
    EXPECT_EQ(script.MessageTexts(), (std::vector<QString>{"No printer response", "No printer response"}));
}

// The choices that stop on a failed link: the port closed, then silence.
TEST_F(ReportsWindow, ByNumberByDateAndHistoryStopWhenTheLinkFails) {
    InitFP->ConnectBt->click();  // disconnected
    for (QPushButton* TReportDlg::*choice : {&TReportDlg::TypeN, &TReportDlg::TypeD, &TReportDlg::TypeT}) {
        script.messages.clear();
        InReports({Click(choice)});
        EXPECT_EQ(script.MessageTexts(), std::vector<QString>{"Serial port not open"});
    }
    Connect();
    // A refused status is no link failure; then the number read goes unanswered.
    WithPrinter([](Printer& p) {
        p.SetHandler(qmr::ReadStatus, [](Printer& printer, const qmrsim::Request&) {
            printer.Fail(st::InvalidCommand);
            return std::string();
        });
    });
    script.messages.clear();
    script.modals.clear();
    InReports({Click(&TReportDlg::TypeN), [this](QDialog&) {
                   sim.InjectFault(qmrsim::Fault::Silence, 4);
                   clock.racing = true;
               }});
    EXPECT_EQ(Commands(), (std::vector<int>{74, 64, 64, 64, 64}));
    EXPECT_EQ(script.MessageTexts(), std::vector<QString>{"No printer response"});
    EXPECT_EQ(ModalNames(), (std::vector<QString>{"ReportDlg", "StatusDlg"}));
}

// A fatal bit that is no link failure stops none of the date and number
// reports; a failed link stops Print by number before it judges the printer.
TEST_F(ReportsWindow, OnlyALinkFailureStopsTheDateAndNumberReports) {
    WithPrinter([](Printer& p) {
        ZClosures(p, 1);
        p.SetStatusBit(st::Fiscalized);
        FatalBit(p);
    });
    const std::pair<QPushButton* TReportDlg::*, QString> choices[] = {
        {&TReportDlg::TypeD, "ByDateDlg"}, {&TReportDlg::TypeT, "ByDateDlg"}, {&TReportDlg::TypeN, "ByNumDlg"}};
    for (const auto& [choice, dialog] : choices) {
        script.modals.clear();
        InReports({Click(choice), [](QDialog&) {}});
        EXPECT_EQ(ModalNames(), (std::vector<QString>{"ReportDlg", dialog}));
    }
    ByNumDlg->PwdBox->setText("4826");
    ByNumDlg->StartBox->setText("1");
    ByNumDlg->EndBox->setText("1");
    ByNumDlg->ShortButton->setChecked(true);
    TakeRequests();
    ByNumDlg->OkBt->click();
    EXPECT_EQ(TakeRequests(), (std::vector<Sent>{{qmr::ReadDeviceInfo, ""}, {qmr::PrintShortReportByNumber, "4826,1,1"}}));
    InitFP->ConnectBt->click();  // disconnected
    ByNumDlg->OkBt->click();
    EXPECT_EQ(script.MessageTexts(), std::vector<QString>{"Serial port not open"});
}

// What the by-number dialog's end shows for the printer's last record number.
TEST_F(ReportsWindow, TheByNumberDialogOffersTheNumberTheReplyBeginsWith) {
    for (const auto& [reply, shown] : {std::pair{"245", "245"}, std::pair{"", "0"}, std::pair{" 17,x", "17"}}) {
        WithPrinter([reply = std::string(reply)](Printer& p) { p.SetReplyData(qmr::ReadLastRecordNumber, reply); });
        ByNumDlg->StartBox->setText("9");
        ByNumDlg->FullButton->setChecked(true);
        InReports({Click(&TReportDlg::TypeN), [shown = QString(shown)](QDialog&) {
                       EXPECT_EQ(ByNumDlg->EndBox->text(), shown);
                       EXPECT_EQ(ByNumDlg->StartBox->text(), "1");
                       EXPECT_TRUE(ByNumDlg->ShortButton->isChecked());
                   }});
    }
}

TEST_F(ReportsWindow, PrintByNumberNeedsAFiscalisedPrinterAndReadsDigitlessNumbersAsZero) {
    ByNumDlg->PwdBox->setText("4826");
    ByNumDlg->OkBt->click();
    EXPECT_EQ(TakeRequests(), (std::vector<Sent>{{qmr::ReadDeviceInfo, ""}}));
    EXPECT_EQ(script.MessageTexts(), std::vector<QString>{"QMR-770 is not fiscalised"});
    EXPECT_EQ(script.messages[0].caption, "Error");

    WithPrinter([](Printer& p) {
        p.SetStatusBit(st::Fiscalized);
        ZClosures(p, 3);
    });
    ByNumDlg->StartBox->setText("abc");
    ByNumDlg->EndBox->setText(" 2x");
    script.OnNextModal(StatusShown());  // the printer refuses a start of 0
    ByNumDlg->OkBt->click();
    EXPECT_EQ(TakeRequests(),
              (std::vector<Sent>{{qmr::ReadDeviceInfo, ""}, {qmr::PrintShortReportByNumber, "4826,0,2"}}));
    EXPECT_EQ(script.messages.size(), 1u);

    // Neither bound is checked against the other.
    ByNumDlg->StartBox->setText("3");
    ByNumDlg->EndBox->setText("1");
    ByNumDlg->FullButton->setChecked(true);
    script.OnNextModal(StatusShown());
    ByNumDlg->OkBt->click();
    EXPECT_EQ(TakeRequests(),
              (std::vector<Sent>{{qmr::ReadDeviceInfo, ""}, {qmr::PrintDetailedReportByNumber, "4826,3,1"}}));
}

TEST_F(ReportsWindow, TheDateChoicesResetTheDatesAndShowTheHistoryWithoutItsKinds) {
    ByDateDlg->FullButton->setChecked(true);
    QPoint shownAt;
    InReports({Click(&TReportDlg::TypeT), [&shownAt](QDialog& form) {
                   shownAt = form.pos();
                   EXPECT_EQ(form.windowTitle(), "Tax rates history");
                   EXPECT_FALSE(ByDateDlg->Panel1->isVisible());
                   // Print stands where the hidden choice was, with no hole above it.
                   EXPECT_LT(ByDateDlg->OkBt->y() - ByDateDlg->EndDate->geometry().bottom(), 20);
                   EXPECT_LE(ByDateDlg->OkBt->geometry().bottom(), form.height());
                   EXPECT_EQ(ByDateDlg->StartDate->text(), "01-01-04");
                   EXPECT_EQ(ByDateDlg->EndDate->text(), "08-03-09");
                   EXPECT_TRUE(ByDateDlg->FullButton->isChecked());  // left as it was
                   ByDateDlg->PwdBox->setText("4826");
                   ByDateDlg->OkBt->click();
                   ByDateDlg->StartDate->setText("x");
               }});
    ExpectOverTheWindow(shownAt, *ByDateDlg);  // at the history's own height
    EXPECT_EQ(TakeRequests(), (std::vector<Sent>{Status, {qmr::PrintTaxRateHistory, "4826,010104,080309"}}));
    WithPrinter([](Printer& p) { EXPECT_TRUE(Printed(p, "TAX RATES HISTORY")); });

    FixPcNow(QDateTime(QDate(2025, 12, 31), QTime(23, 59)));
    InReports({Click(&TReportDlg::TypeD), [&shownAt](QDialog& form) {
                   shownAt = form.pos();
                   EXPECT_EQ(form.windowTitle(), "Periodical report by date");
                   EXPECT_TRUE(ByDateDlg->Panel1->isVisible());
                   EXPECT_GT(ByDateDlg->OkBt->y(), ByDateDlg->Panel1->geometry().bottom());
                   EXPECT_LE(ByDateDlg->OkBt->geometry().bottom(), form.height());
                   EXPECT_EQ(ByDateDlg->StartDate->text(), "01-01-04");
                   EXPECT_EQ(ByDateDlg->EndDate->text(), "31-12-25");
                   EXPECT_TRUE(ByDateDlg->ShortButton->isChecked());
                   EXPECT_EQ(ByDateDlg->PwdBox->text(), "4826");  // kept from the last showing
               }});
    ExpectOverTheWindow(shownAt, *ByDateDlg);
    EXPECT_EQ(TakeRequests(), std::vector<Sent>{Status});
}

// Print in the date dialog: the dates, the mode and the kind against what is sent.
struct DateCase {
    const char* start;
    const char* end;
    bool history;
    bool detailed;
    std::vector<Sent> sent;
};

TEST_F(ReportsWindow, PrintByDateSendsTheDatePairOfEightCharacterDatesOnly) {
    WithPrinter([](Printer& p) {
        qmrsim::SetClock(p, *qmrsim::ParseClockText("08-03-09 09:00"));
        ZClosures(p, 1);  // a closure of that day, for the reports to print
    });
    const QString today = "08-03-09";
    const std::string pair = "010104,080309";
    const DateCase cases[] = {
        {"01-01-04", "", false, false, {{qmr::PrintShortReportByDate, "4826," + pair}}},
        {"01-01-04", "", false, true, {{qmr::PrintDetailedReportByDate, "4826," + pair}}},
        // In history mode the kinds have no effect.
        {"01-01-04", "", true, true, {{qmr::PrintTaxRateHistory, "4826," + pair}}},
        {"01/01/04", "", false, false, {{qmr::PrintShortReportByDate, "4826," + pair}}},
        {"1-1-04", "", false, false, {}},
        {"01-01-04", "8-3-09", true, false, {}},
        {"01-01-2004", "", false, false, {}},
    };
    ByDateDlg->PwdBox->setText("4826");
    for (const DateCase& c : cases) {
        SCOPED_TRACE(c.start);
        ByDateDlg->StartDate->setText(c.start);
        ByDateDlg->EndDate->setText(*c.end ? QString(c.end) : today);
        HistoryMode = c.history ? 1 : 0;
        (c.detailed ? ByDateDlg->FullButton : ByDateDlg->ShortButton)->setChecked(true);
        ByDateDlg->OkBt->click();
        EXPECT_EQ(TakeRequests(), c.sent);
    }
    EXPECT_TRUE(script.messages.empty());
    WithPrinter([](Printer& p) { EXPECT_TRUE(Printed(p, "FISCAL MEMORY REPORT")); });

    // Any text of 8 characters goes as it is; the printer refuses what is no date.
    ByDateDlg->StartDate->setText("ab-cd-ef");
    HistoryMode = 0;
    script.OnNextModal(StatusShown());
    ByDateDlg->OkBt->click();
    EXPECT_EQ(TakeRequests(), (std::vector<Sent>{{qmr::PrintShortReportByDate, "4826,abcdef,080309"}}));
}

TEST_F(ReportsWindow, TheArticlesFormStandsMidScreenAndSendsItsKindAndRange) {
    InitFP->move(0, 0);
    InReports({Click(&TReportDlg::TypeA), [](QDialog& form) {
                   const QRect desk = QApplication::primaryScreen()->availableGeometry();
                   EXPECT_LE((form.frameGeometry().center() - desk.center()).manhattanLength(), 4);
                   ArtForm->PwdBox->setText("4826");
                   ArtForm->OkBt->click();
                   EXPECT_TRUE(form.isVisible());
               }});
    EXPECT_EQ(TakeRequests(), (std::vector<Sent>{Status, {qmr::PrintArticlesReport, "4826,P1,999999999"}}));
    WithPrinter([](Printer& p) { EXPECT_TRUE(Printed(p, "PROGRAMMED ARTICLES")); });

    struct Case {
        QRadioButton* TArtForm::*kind;
        const char* from;
        const char* to;
        const char* data;
        bool refused;
    };
    const Case cases[] = {
        {&TArtForm::PgmArt, "500", "20", "4826,P20,500", false},
        {&TArtForm::PgmArt, "0", "20", "4826,P", false},
        {&TArtForm::SoldArt, "1", "x", "4826,S", false},
        {&TArtForm::SoldArtV, "5", "1", "4826,S#1,5", false},
        {&TArtForm::GroupArt, "500", "20", "4826,G", false},
        {&TArtForm::GroupArtV, "1", "5", "4826,G#", false},
        // "-5" is the largest unsigned bound, more digits than the printer takes.
        {&TArtForm::PgmArt, "-5", "10", "4826,P10,4294967291", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.data);
        (ArtForm->*c.kind)->setChecked(true);
        ArtForm->FromBox->setText(c.from);
        ArtForm->ToBox->setText(c.to);
        if (c.refused) script.OnNextModal(StatusShown());
        ArtForm->OkBt->click();
        EXPECT_EQ(TakeRequests(), (std::vector<Sent>{{qmr::PrintArticlesReport, c.data}}));
    }
}

// What a report dialog's control shows, and how far typing goes in an edit.
struct ControlRow {
    const char* name;
    QString caption;
    int maxLength;  // typing limit of an edit, 0 for other controls
};

void ExpectControls(const QWidget& form, const std::vector<ControlRow>& rows) {
    for (const ControlRow& row : rows) {
        SCOPED_TRACE(row.name);
        const auto* control = form.findChild<QWidget*>(row.name);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(CaptionOf(*control), row.caption);
        if (const auto* edit = qobject_cast<const QLineEdit*>(control)) {
            // Typing stops at the limit.
            auto* typed = const_cast<QLineEdit*>(edit);
            const QString kept = typed->text();
            typed->clear();
            qmr::test::Type(*typed, QString(20, '7'));
            EXPECT_EQ(typed->text().size(), row.maxLength);
            typed->setText(kept);
        }
    }
    EXPECT_EQ(qmr::test::ClippedCaptions(form), std::vector<std::string>{});
    EXPECT_EQ(qmr::test::OverlappingControls(form), std::vector<std::string>{});
}

// Short or detailed is one choice, short to begin with.
void ExpectOneChoice(QRadioButton& first, QRadioButton& second) {
    EXPECT_TRUE(first.isChecked());
    second.click();
    EXPECT_FALSE(first.isChecked());
    first.click();
    EXPECT_FALSE(second.isChecked());
}

TEST_F(ReportsWindow, TheReportDialogsShowTheirCaptionsUncutLimitTypingAndHideThePasswords) {
    EXPECT_EQ(ReportDlg->windowTitle(), "Reports");
    ExpectControls(*ReportDlg, {{"TypeZ", "Z - report", 0},
                                {"TypeX", "X - report", 0},
                                {"TypeT", "Report \"Tax rates history\"", 0},
                                {"TypeN", "Preiodical report by number", 0},
                                {"TypeD", "Periodical report by date", 0},
                                {"TypeO", "Operators report", 0},
                                {"TypeA", "Articles report", 0}});
    int top = -1;
    for (QPushButton* b : {ReportDlg->TypeZ, ReportDlg->TypeX, ReportDlg->TypeT, ReportDlg->TypeN, ReportDlg->TypeD,
                           ReportDlg->TypeO, ReportDlg->TypeA}) {
        EXPECT_GT(b->y(), top) << b->objectName().toStdString();  // top to bottom
        top = b->y();
    }

    EXPECT_EQ(ByNumDlg->windowTitle(), "Report by number");
    ExpectControls(*ByNumDlg, {{"Label1", "Password:", 0},
                               {"PwdBox", "", 8},
                               {"Label2", "Start number:", 0},
                               {"StartBox", "1", 4},
                               {"Label3", "End number:", 0},
                               {"EndBox", "1", 4},
                               {"ShortButton", "Short report", 0},
                               {"FullButton", "Detailed report", 0},
                               {"OkBt", "Print", 0}});
    EXPECT_EQ(ByDateDlg->windowTitle(), "Periodical report by date");
    ExpectControls(*ByDateDlg, {{"Label1", "Password:", 0},
                                {"PwdBox", "", 8},
                                {"Label2", "Start date (DD-MM-YY):", 0},
                                {"StartDate", "", 12},
                                {"Label3", "End date (DD-MM-YY):", 0},
                                {"EndDate", "", 12},
                                {"ShortButton", "Short report", 0},
                                {"FullButton", "Detailed report", 0},
                                {"OkBt", "Print", 0}});
    EXPECT_EQ(ArtForm->windowTitle(), "Articles report");
    ExpectControls(*ArtForm, {{"GroupBox1", " Report type ", 0},
                              {"PgmArt", "Programmed articles", 0},
                              {"SoldArt", "Sold articles", 0},
                              {"SoldArtV", "Sold articles (storno receipts)", 0},
                              {"GroupArt", "By group", 0},
                              {"GroupArtV", "By group (storno receipts)", 0},
                              {"Label1", "From:", 0},
                              {"FromBox", "1", 9},
                              {"Label2", "To:", 0},
                              {"ToBox", "999999999", 9},
                              {"Label3", "Password:", 0},
                              {"PwdBox", "", 8},
                              {"OkBt", "Print", 0}});
    ExpectOneChoice(*ByNumDlg->ShortButton, *ByNumDlg->FullButton);
    ExpectOneChoice(*ByDateDlg->ShortButton, *ByDateDlg->FullButton);
    EXPECT_TRUE(ArtForm->PgmArt->isChecked());
    for (QLineEdit* pwd : {ByNumDlg->PwdBox, ByDateDlg->PwdBox, ArtForm->PwdBox})
        EXPECT_EQ(pwd->echoMode(), QLineEdit::Password);
    // The program's own text is not cut by the typing limit.
    ByNumDlg->EndBox->setText("123456");
    EXPECT_EQ(ByNumDlg->EndBox->text(), "123456");
}

}  // namespace
}  // namespace prendix
