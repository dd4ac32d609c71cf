// The Emergency Button against the simulated printer, through the seam.
#include <gtest/gtest.h>

#include <QApplication>
#include <functional>

#include "Commands.h"
#include "Executor.h"
#include "PrendixFixture.h"

namespace prendix {
namespace {

using qmr::Link;
using qmrsim::Printer;
namespace st = qmrsim::st;

// A command the printer takes before the test begins, as a program would have sent it.
void Took(Printer& p, int command, const std::string& data) { p.Handle({0x20, static_cast<std::uint8_t>(command), data}); }

// A receipt with 10.50 of sales, as a program may leave it.
void OpenReceipt(Printer& p) {
    Took(p, qmr::OpenFiscalReceipt, "1,4826,1");
    Took(p, qmr::RegisterSale, "TEST 1\tA10.50");
}

struct Box {
    QString text;
    QString caption;
    bool operator==(const Box&) const = default;
};
void PrintTo(const Box& box, std::ostream* os) { *os << box.caption.toStdString() << ": " << box.text.toStdString(); }

const std::vector<Sent> TwoStatusReads = {{qmr::ReadStatus, ""}, {qmr::ReadStatus, ""}};
const std::vector<Sent> ReceiptReads = {{qmr::ReadStatus, ""}, {qmr::ReadStatus, ""}, {qmr::ReadReceiptTotals, "T"},
                                        {qmr::ReadReceiptInfo, ""}};

std::vector<Sent> Then(std::vector<Sent> first, const std::vector<Sent>& more) {
    first.insert(first.end(), more.begin(), more.end());
    return first;
}

const Box CloseIt{"Close it?", "Non-fiscal receipt is open"};
const Box PayAndClose{"Void not permited.\nPay and close?", "Fiscal receipt is open"};
const Box CancelIt{"Void is possible.\nCancel the receipt?", "Fiscal receipt is open"};
const Box EndIt{"End the receipt?", "Fiscal receipt open"};

struct RecoverCase {
    const char* name;
    std::function<void(Printer&)> state;
    std::vector<int> answers;
    std::vector<Box> boxes;
    std::vector<Sent> sent;
    // The receipt is still open afterwards.
    bool receiptOpen;
};

void PrintTo(const RecoverCase& c, std::ostream* os) { *os << c.name; }

class Recovery : public PrendixWindow, public ::testing::WithParamInterface<RecoverCase> {};

TEST_P(Recovery, TellsAsksAndSendsAsThePrinterStands) {
    const RecoverCase& c = GetParam();
    ServicedPrinter();
    WithPrinter(c.state);
    Connect();
    for (int answer : c.answers) script.AnswerNext(answer);
    InitFP->RecoverBt->click();
    std::vector<Box> boxes;
    for (const auto& m : script.messages) boxes.push_back({m.text, m.caption});
    EXPECT_EQ(boxes, c.boxes);
    for (const auto& m : script.messages)
        EXPECT_EQ(m.buttons, m.caption == "Error" ? qmr::MbOk : qmr::MbYesNo) << m.text.toStdString();
    EXPECT_EQ(TakeRequests(), c.sent);
    EXPECT_FALSE(Link().SuppressStatusDlg);
    WithPrinter([&](Printer& p) { EXPECT_EQ(p.receipts.receipt.open, c.receiptOpen); });
}

INSTANTIATE_TEST_SUITE_P(
    States, Recovery,
    ::testing::Values(
        RecoverCase{"NothingWrong", [](Printer&) {}, {}, {}, TwoStatusReads, false},
        RecoverCase{"PaperOutWithAnOpenReceipt",
                    [](Printer& p) {
                        OpenReceipt(p);
                        p.SetStatusBit(st::PaperOut);
                    },
                    {}, {{"Out of paper", "Error"}}, TwoStatusReads, true},
        RecoverCase{"ClockNotSet", [](Printer& p) { qmrsim::UnsetClock(p); }, {}, {{"Set the clock !", "Error"}},
                    TwoStatusReads, false},
        RecoverCase{"MemoryFullAndReadOnly",
                    [](Printer& p) {
                        p.SetStatusBit(st::FmFull);
                        p.SetStatusBit(st::FmReadOnly);
                    },
                    {}, {{"Fiscal memory is full", "Error"}}, TwoStatusReads, false},
        RecoverCase{"MemoryReadOnly", [](Printer& p) { p.SetStatusBit(st::FmReadOnly); }, {},
                    {{"Fiscal memory is Read Only", "Error"}}, TwoStatusReads, false},
        // Both receipt bits: only the non-fiscal receipt is offered.
        RecoverCase{"BothReceiptsCloseTheNonFiscalOne",
                    [](Printer& p) {
                        qmrsim::OpenNonFiscalReceipt(p);
                        p.SetStatusBit(st::FiscalReceiptOpen);
                    },
                    {qmr::IdYes}, {CloseIt}, Then(TwoStatusReads, {{qmr::CloseNonFiscalReceipt, ""}}), false},
        RecoverCase{"NonFiscalReceiptLeftOpen", [](Printer& p) { qmrsim::OpenNonFiscalReceipt(p); }, {qmr::IdNo},
                    {CloseIt}, TwoStatusReads, false},
        RecoverCase{"VoidPossibleCancelled", OpenReceipt, {qmr::IdYes}, {CancelIt},
                    Then(ReceiptReads, {{qmr::CancelFiscalReceipt, ""}}), false},
        RecoverCase{"VoidPossibleEndedInstead", OpenReceipt, {qmr::IdNo, qmr::IdYes}, {CancelIt, EndIt},
                    Then(ReceiptReads, {{qmr::RegisterPayment, "\t10.50"}, {qmr::CloseFiscalReceipt, ""}}), false},
        RecoverCase{"VoidPossibleLeftOpen", OpenReceipt, {qmr::IdNo, qmr::IdNo}, {CancelIt, EndIt}, ReceiptReads, true},
        // A payment began: the rest is paid and the receipt closed.
        RecoverCase{"VoidNotPermittedPaidAndClosed",
                    [](Printer& p) {
                        OpenReceipt(p);
                        Took(p, qmr::RegisterPayment, "\t4.00");
                    },
                    {qmr::IdYes}, {PayAndClose},
                    Then(ReceiptReads, {{qmr::RegisterPayment, "\t6.50"}, {qmr::CloseFiscalReceipt, ""}}), false},
        RecoverCase{"VoidNotPermittedLeftOpen",
                    [](Printer& p) {
                        OpenReceipt(p);
                        Took(p, qmr::RegisterPayment, "\t0.00");
                    },
                    {qmr::IdNo}, {PayAndClose}, ReceiptReads, true},
        RecoverCase{"VoidPermissionNeitherAsksNothing",
                    [](Printer& p) {
                        OpenReceipt(p);
                        p.SetReplyData(qmr::ReadReceiptInfo, "X,1");
                    },
                    {}, {}, ReceiptReads, true},
        RecoverCase{"VoidPermissionEmptyAsksNothing",
                    [](Printer& p) {
                        OpenReceipt(p);
                        p.SetReplyData(qmr::ReadReceiptInfo, "");
                    },
                    {}, {}, ReceiptReads, true},
        RecoverCase{"TotalsOf1050And1000PayFiftyCents",
                    [](Printer& p) {
                        OpenReceipt(p);
                        p.SetReplyData(qmr::ReadReceiptTotals, "1,0001,1050,1000");
                        p.SetReplyData(qmr::ReadReceiptInfo, "0");
                    },
                    {qmr::IdYes}, {PayAndClose},
                    Then(ReceiptReads, {{qmr::RegisterPayment, "\t0.50"}, {qmr::CloseFiscalReceipt, ""}}), true},
        RecoverCase{"TotalsWithFewerThanTwoCommasPayNothing",
                    [](Printer& p) {
                        OpenReceipt(p);
                        p.SetReplyData(qmr::ReadReceiptTotals, "1,0001");
                        p.SetReplyData(qmr::ReadReceiptInfo, "0");
                    },
                    {qmr::IdYes}, {PayAndClose},
                    Then(ReceiptReads, {{qmr::RegisterPayment, "\t0.00"}, {qmr::CloseFiscalReceipt, ""}}), true},
        // The printer refuses the negative payment and the close; no status dialog is shown.
        RecoverCase{"PaidAboveDueSendsANegativeRest",
                    [](Printer& p) {
                        OpenReceipt(p);
                        p.SetReplyData(qmr::ReadReceiptTotals, "1,0001,1000,1050");
                        p.SetReplyData(qmr::ReadReceiptInfo, "0");
                    },
                    {qmr::IdYes}, {PayAndClose},
                    Then(ReceiptReads, {{qmr::RegisterPayment, "\t-0.50"}, {qmr::CloseFiscalReceipt, ""}}), true},
        RecoverCase{"CommonErrorOnTheTotalsStops",
                    [](Printer& p) {
                        OpenReceipt(p);
                        p.SetHandler(qmr::ReadReceiptTotals, [](Printer& printer, const qmrsim::Request&) {
                            printer.Fail(st::CommonError);
                            return std::string("1,0001,1050,0");
                        });
                    },
                    {}, {},
                    {{qmr::ReadStatus, ""}, {qmr::ReadStatus, ""}, {qmr::ReadReceiptTotals, "T"}}, true},
        RecoverCase{"CommonFiscalErrorOnTheInfoStops",
                    [](Printer& p) {
                        OpenReceipt(p);
                        p.SetHandler(qmr::ReadReceiptInfo, [](Printer& printer, const qmrsim::Request&) {
                            printer.Fail(st::CommonFiscalError);
                            return std::string("1");
                        });
                    },
                    {}, {}, ReceiptReads, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PrendixWindow, RecoveryWithThePortClosedOnlySaysSo) {
    InitFP->RecoverBt->click();
    EXPECT_EQ(script.MessageTexts(), std::vector<QString>{"Serial port not open"});
    EXPECT_TRUE(Commands().empty());
    EXPECT_FALSE(Link().SuppressStatusDlg);
}

// The second read fails its frame check on every try, with paper out in the
// status bytes it still carries: the recovery ends on the link's message.
TEST_F(PrendixWindow, ALinkFailureOnTheSecondStatusReadEndsTheRecovery) {
    ServicedPrinter();
    WithPrinter([](Printer& p) { p.SetStatusBit(st::PaperOut); });
    Connect();
    sim.ClearRequests();
    sim.SetObserver([this, seen = 0](const qmrsim::ReceivedRequest& r, const qmrsim::Reply&, const Printer&) mutable {
        // Runs on the window's thread while the first reply comes in, so it
        // spoils the four tries of the second read and nothing before.
        if (r.cmd == qmr::ReadStatus && ++seen == 1)
            QMetaObject::invokeMethod(qApp, [this] { sim.InjectFault(qmrsim::Fault::BadChecksum, 4); },
                                      Qt::QueuedConnection);
    });
    InitFP->RecoverBt->click();
    sim.SetObserver(nullptr);
    EXPECT_EQ(script.MessageTexts(), std::vector<QString>{"Protocol error"});
    EXPECT_EQ(Commands(), (std::vector<int>(5, qmr::ReadStatus)));
}

// After a recovery, whichever way it ended, a refused command shows the status dialog again.
TEST_F(PrendixWindow, TheStatusDialogComesBackAfterEveryRecovery) {
    ServicedPrinter();
    WithPrinter([](Printer& p) { OpenReceipt(p); });
    Connect();
    const auto refusedCommandShowsTheDialog = [this] {
        script.OnNextModal([](QDialog&) {});
        qmr::ExecCommand(qmr::OpenFiscalReceipt, "1,4826,1");  // already open: not permitted
        ASSERT_EQ(script.modals.size(), 1u);
        EXPECT_EQ(script.modals[0].objectName, "StatusDlg");
        script.modals.clear();
    };

    // A printer error inside the recovery opens no dialog: the refused close.
    Link().SuppressStatusDlg = false;
    script.AnswerNext(qmr::IdNo);
    script.AnswerNext(qmr::IdYes);
    WithPrinter([](Printer& p) { p.SetReplyData(qmr::RegisterPayment, "D100"); });
    InitFP->RecoverBt->click();
    EXPECT_TRUE(script.modals.empty());
    refusedCommandShowsTheDialog();

    clock.racing = true;
    sim.InjectFault(qmrsim::Fault::Silence, 4);
    InitFP->RecoverBt->click();
    EXPECT_EQ(script.MessageTexts().back(), "No printer response");
    EXPECT_EQ(Commands().size(), 6u + 1u + 4u);  // the earlier run, the refused open, then four tries
    clock.racing = false;
    refusedCommandShowsTheDialog();
}

}  // namespace
}  // namespace prendix
