// The test receipts form and the fixed test receipt against the simulated printer.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>

#include "Commands.h"
#include "PrendixFixture.h"

namespace prendix {
namespace {

using qmr::test::Type;
using qmrsim::Printer;

// The commands of one test receipt with its sale and void lines.
std::vector<Sent> TestReceipt(std::vector<std::string> lines) {
    std::vector<Sent> sent = {{qmr::OpenFiscalReceipt, "1,4826,1"}};
    for (auto& line : lines) sent.emplace_back(qmr::RegisterSale, std::move(line));
    sent.emplace_back(qmr::RegisterPayment, "\t0.00");
    sent.emplace_back(qmr::CloseFiscalReceipt, "");
    return sent;
}

class TestReceipts : public PrendixWindow {
protected:
    void Print(int sales, int receipts) {
        TestFrm->RecUD->SetPosition(sales);
        TestFrm->ClosUD->SetPosition(receipts);
        TestFrm->PrintBt->click();
    }
};

TEST(TestForm, StartsWithOneSaleAndOneReceipt) {
    TTestFrm frm;
    EXPECT_EQ(frm.windowTitle(), "QM-770F Test");
    EXPECT_EQ(frm.Label1->text(), "Sales:");
    EXPECT_EQ(frm.Label2->text(), "Receipts:");
    EXPECT_EQ(frm.PrintBt->text(), "Print");
    for (const auto& [edit, upDown] : {std::pair{frm.RecBt, frm.RecUD}, std::pair{frm.ClosBt, frm.ClosUD}}) {
        EXPECT_EQ(edit->text(), "1");
        EXPECT_EQ(upDown->Position(), 1);
        EXPECT_EQ(upDown->Min(), 1);
        EXPECT_EQ(upDown->Max(), 100);
    }
    EXPECT_EQ(qmr::test::ClippedCaptions(frm), std::vector<std::string>{});
    EXPECT_EQ(qmr::test::OverlappingControls(frm), std::vector<std::string>{});
}

TEST(TestForm, CountsStayWithinOneToAHundredWhateverIsTyped) {
    TTestFrm frm;
    struct Case {
        const char* typed;
        int position;
    };
    const Case cases[] = {{"7", 7}, {"250", 100}, {"0", 1}, {"-5", 1}, {"abc", 1}, {"12abc", 12}, {"99999999999", 100}};
    for (const Case& c : cases) {
        frm.RecBt->clear();
        Type(*frm.RecBt, c.typed);
        EXPECT_EQ(frm.RecUD->Position(), c.position) << c.typed;
        EXPECT_EQ(frm.RecBt->text(), QString::number(c.position)) << c.typed;
    }
    // A text that is no number keeps the position there was.
    frm.ClosBt->setText("42");
    frm.ClosBt->setText("x");
    EXPECT_EQ(frm.ClosUD->Position(), 1);
    frm.ClosUD->SetPosition(100);
    QKeyEvent up(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier);
    QApplication::sendEvent(frm.ClosBt, &up);
    EXPECT_EQ(frm.ClosUD->Position(), 100);  // no wrap
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(frm.ClosBt, &down);
    EXPECT_EQ(frm.ClosBt->text(), "99");
}

TEST_F(TestReceipts, OneSaleVoidsGroupAAlone) {
    ServicedPrinter();
    Connect();
    Print(1, 1);
    std::vector<Sent> expected = {{qmr::ReadStatus, ""}};
    for (const Sent& s : TestReceipt({"TEST 1\tA0.01", "VOID GR. A\tA-0.01"})) expected.push_back(s);
    EXPECT_EQ(TakeRequests(), expected);
    EXPECT_TRUE(script.messages.empty());
    WithPrinter([](Printer& p) {
        EXPECT_FALSE(p.receipts.receipt.open);
        EXPECT_EQ(p.receipts.fiscalReceiptCount, 1);
    });
}

TEST_F(TestReceipts, ThreeSalesInTwoReceipts) {
    ServicedPrinter();
    Connect();
    Print(3, 2);
    const auto receipt = TestReceipt({"TEST 1\tA0.01", "TEST 2\tB0.01", "TEST 3\tA0.01", "VOID GR. A\tA-0.02",
                                      "VOID GR B\tB-0.01"});
    std::vector<Sent> expected = {{qmr::ReadStatus, ""}};
    for (int r = 0; r < 2; ++r) expected.insert(expected.end(), receipt.begin(), receipt.end());
    EXPECT_EQ(TakeRequests(), expected);
    WithPrinter([](Printer& p) { EXPECT_EQ(p.receipts.fiscalReceiptCount, 2); });
}

TEST_F(TestReceipts, AFailureOnTheThirdSaleOfTheSecondReceiptEndsTheRun) {
    ServicedPrinter();
    WithPrinter([](Printer& p) {
        // Five lines make the first receipt; the eighth is the second receipt's third sale.
        p.SetHandler(qmr::RegisterSale, [lines = 0](Printer& printer, const qmrsim::Request&) mutable {
            if (++lines == 8) printer.Fail(qmrsim::st::CommonError);
            return std::string();
        });
    });
    Connect();
    Print(3, 3);
    const auto first = TestReceipt({"TEST 1\tA0.01", "TEST 2\tB0.01", "TEST 3\tA0.01", "VOID GR. A\tA-0.02",
                                    "VOID GR B\tB-0.01"});
    std::vector<Sent> expected = {{qmr::ReadStatus, ""}};
    expected.insert(expected.end(), first.begin(), first.end());
    expected.insert(expected.end(), first.begin(), first.begin() + 4);  // open and three sales
    EXPECT_EQ(TakeRequests(), expected);
    WithPrinter([](Printer& p) { EXPECT_TRUE(p.receipts.receipt.open); });  // for the Emergency Button
}

// The close is not judged: the next receipt follows a close that failed.
TEST_F(TestReceipts, AFailedCloseDoesNotEndTheRun) {
    ServicedPrinter();
    WithPrinter([](Printer& p) {
        p.SetHandler(qmr::CloseFiscalReceipt, [close = p.HandlerOf(qmr::CloseFiscalReceipt), closes = 0](
                                                  Printer& printer, const qmrsim::Request& q) mutable {
            const std::string reply = close(printer, q);
            if (++closes == 1) printer.Fail(qmrsim::st::CommonError);
            return reply;
        });
    });
    Connect();
    Print(1, 2);
    const auto receipt = TestReceipt({"TEST 1\tA0.01", "VOID GR. A\tA-0.01"});
    std::vector<Sent> expected = {{qmr::ReadStatus, ""}};
    for (int r = 0; r < 2; ++r) expected.insert(expected.end(), receipt.begin(), receipt.end());
    EXPECT_EQ(TakeRequests(), expected);
    WithPrinter([](Printer& p) { EXPECT_EQ(p.receipts.fiscalReceiptCount, 2); });
}

TEST_F(TestReceipts, WithThePortClosedPrintOnlySaysSo) {
    Print(2, 2);
    EXPECT_EQ(script.MessageTexts(), std::vector<QString>{"Serial port not open"});
    EXPECT_TRUE(Commands().empty());
}

TEST_F(TestReceipts, TheHiddenButtonOpensTheFormInTheMiddleOfTheScreen) {
    EXPECT_FALSE(InitFP->TestBt->isVisible());
    QPoint shownAt;
    script.OnNextModal([&](QDialog& form) { shownAt = form.pos(); });
    InitFP->TestBt->click();
    ASSERT_EQ(script.modals.size(), 1u);
    EXPECT_EQ(script.modals[0].objectName, "TestFrm");
    EXPECT_EQ(script.modals[0].caption, "QM-770F Test");
    QWidget probe;
    probe.resize(TestFrm->frameGeometry().size());
    qmr::ui::CentreOnScreen(probe);
    EXPECT_EQ(shownAt, probe.pos());
    EXPECT_TRUE(Commands().empty());
}

TEST_F(TestReceipts, TheFixedTestReceiptSellsTenCentsInGroupB) {
    ServicedPrinter();
    Connect();
    InitFP->SalesBtClick();
    EXPECT_EQ(TakeRequests(), (std::vector<Sent>{{qmr::OpenFiscalReceipt, "1,4826,0001"},
                                                 {qmr::PrintFiscalText, "TEST AFTER FISCALIZATION"},
                                                 {qmr::RegisterSale, "TEST\tB0.10"},
                                                 {qmr::RegisterPayment, "\t0.10"},
                                                 {qmr::CloseFiscalReceipt, ""}}));
    EXPECT_TRUE(script.messages.empty());
    WithPrinter([](Printer& p) {
        EXPECT_FALSE(p.receipts.receipt.open);
        EXPECT_EQ(p.fiscalMemory.day.byTax[1], 10);
    });

    // A receipt left open: the refused open shows the status dialog but stops
    // nothing, and the lines go into the receipt that was open.
    WithPrinter([](Printer& p) { p.Handle({0x20, qmr::OpenFiscalReceipt, "1,4826,1"}); });
    script.OnNextModal([](QDialog&) {});
    InitFP->SalesBtClick();
    EXPECT_EQ(TakeRequests().size(), 5u);
    EXPECT_EQ(script.modals.back().objectName, "StatusDlg");
}

}  // namespace
}  // namespace prendix
