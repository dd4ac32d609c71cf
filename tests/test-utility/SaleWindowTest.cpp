// Selling, paying and the receipt's amounts from the main window.
#include <algorithm>

#include "Placement.h"
#include "VextoraFixture.h"

namespace vextora {
namespace {

using qmr::CloseFiscalReceipt;
using qmr::OpenFiscalReceipt;
using qmr::OpenStornoReceipt;
using qmr::ReadReceiptTotals;
using qmr::ReadStatus;
using qmr::RegisterPayment;
using qmr::SellArticleWithDisplay;

class Sale : public VextoraWindow {
protected:
    void SetUp() override {
        VextoraWindow::SetUp();
        ReadyToSell();
    }
    bool ReceiptOpen() {
        return sim.WithPrinter([](qmrsim::Printer& p) { return p.receipts.receipt.open; });
    }
    void Pay(const QString& mode, const QString& sum) {
        Form1->PayMode->setCurrentText(mode);
        Form1->SumFld->setText(sum);
        Form1->PayBt->click();
    }
    // The printer answers a totals request "T" with these amounts while it
    // says a receipt is open.
    void TotalsReplyOf(int due, int paid) {
        WithPrinter([due, paid](qmrsim::Printer& p) {
            p.SetStatusBit(qmrsim::st::FiscalReceiptOpen);
            p.SetReplyData(ReadReceiptTotals, "1,0001," + std::to_string(due) + "," + std::to_string(paid));
        });
    }
};

TEST_F(Sale, NothingIsSentWithoutASelectedArticle) {
    Form1->ArtTable->SelectRow(0);
    Form1->SelBt->click();
    Form1->PriceFld->setText("9.99");
    Form1->QuantityFld->setText("3");
    EXPECT_EQ(Form1->PriceFld->text(), "9.99");
    // The empty table's one row has no PLU either.
    LoadArticles("");
    Form1->ArtTable->SelectRow(1);
    Form1->SelBt->click();
    EXPECT_TRUE(TakeRequests().empty());
}

TEST_F(Sale, TheFirstSaleOpensAReceiptAsOperatorOneWithTheDefaultPassword) {
    Form1->RestoFld->setText("7.00");
    Sell("1");
    EXPECT_EQ(TakeRequests(), (std::vector<Sent>{{ReadStatus, ""},
                                                 {ReadStatus, ""},
                                                 {OpenFiscalReceipt, "1,4826,123,I"},
                                                 {SellArticleWithDisplay, "15*1.000"},
                                                 {ReadReceiptTotals, ""}}));
    EXPECT_EQ(Form1->TotalFld->text(), " 2.50");
    EXPECT_EQ(Form1->RestoFld->text(), "0.00");
    // Into the open receipt: no opening.
    Sell("3");
    EXPECT_EQ(TakeRequests(), (std::vector<Sent>{{ReadStatus, ""},
                                                 {ReadStatus, ""},
                                                 {SellArticleWithDisplay, "15*3.000"},
                                                 {ReadReceiptTotals, ""}}));
    EXPECT_EQ(Form1->TotalFld->text(), "10.00");
    EXPECT_TRUE(script.messages.empty());
}

TEST_F(Sale, QuantitiesTravelWithThreeDecimalsAndALeadingMinus) {
    for (const auto& [typed, sent] : std::vector<std::pair<QString, std::string>>{
             {"3", "15*3.000"}, {"0.5", "15*0.500"}, {"-2", "-15*2.000"}, {" 1.25kg", "15*1.250"}, {"", "15*0.000"}}) {
        Sell(typed);
        const auto received = TakeRequests();
        ASSERT_GE(received.size(), 3u);
        EXPECT_EQ(received[received.size() - 2], (Sent{SellArticleWithDisplay, sent})) << typed.toStdString();
    }
    EXPECT_EQ(Form1->TotalFld->text(), " 6.88");  // 3 + 0.5 - 2 + 1.25 units at 2.50
}

TEST_F(Sale, AHugeQuantityIsRefusedBeforeAnythingIsSent) {
    for (const QString typed : {"1e300", "1e39", "-1e999"}) {
        Sell(typed);
        EXPECT_TRUE(TakeRequests().empty()) << typed.toStdString();
    }
    EXPECT_EQ(script.MessageTexts(), (std::vector<QString>(3, "Quantity out of range")));
    EXPECT_EQ(script.messages[0].caption, "Error");
}

TEST_F(Sale, AStornoReceiptIsOpenedOnceAndTheBoxUnchecked) {
    Form1->StornoType->setChecked(true);
    Sell("1");
    EXPECT_EQ(TakeRequests()[2], (Sent{OpenStornoReceipt, "1,4826,123,I"}));
    EXPECT_FALSE(Form1->StornoType->isChecked());
    EXPECT_TRUE(sim.WithPrinter([](qmrsim::Printer& p) { return p.receipts.receipt.storno; }));
    Form1->StornoType->setChecked(true);  // read only when a receipt is to be opened
    Sell("1");
    EXPECT_EQ(TakeCommands(), (std::vector<int>{ReadStatus, ReadStatus, SellArticleWithDisplay, ReadReceiptTotals}));
    EXPECT_TRUE(Form1->StornoType->isChecked());
}

TEST_F(Sale, ARefusedOpeningKeepsTheStornoBoxAndStops) {
    WithPrinter([](qmrsim::Printer& p) { p.receipts.operatorPasswords[0] = "1111"; });
    Form1->StornoType->setChecked(true);
    script.OnNextModal([](QDialog& form) { EXPECT_EQ(form.objectName(), "StatusDlg"); });
    Sell("1");
    EXPECT_EQ(TakeCommands(), (std::vector<int>{ReadStatus, ReadStatus, OpenStornoReceipt}));
    EXPECT_TRUE(Form1->StornoType->isChecked());
}

TEST_F(Sale, AnUnknownArticleIsRefusedByThePrinterAndTheSaleStops) {
    LoadArticles("999,1,1.00,1,UNKNOWN\r\n");
    Form1->ArtTable->SelectRow(1);
    sim.ClearRequests();
    Form1->TotalFld->setText("5.00");
    script.OnNextModal([](QDialog& form) {
        auto& dlg = dynamic_cast<qmr::ui::TStatusDlg&>(form);
        EXPECT_TRUE(dlg.Status11->isChecked());  // "Command not permited"
    });
    Sell("1");
    EXPECT_EQ(TakeCommands(), (std::vector<int>{ReadStatus, ReadStatus, OpenFiscalReceipt, SellArticleWithDisplay}));
    EXPECT_EQ(Form1->TotalFld->text(), "5.00");
    // Placed over the client area below the menu bar.
    const QPoint origin = Form1->Client->mapToGlobal(QPoint(0, 0));
    const QSize size = StatusDlg->frameGeometry().size();  // placed with the frame it was shown with
    const qmr::Point at = qmr::PlaceDialog({origin.x(), origin.y()}, 542, 361, size.width(), size.height());
    EXPECT_EQ(script.modals.back().pos, QPoint(at.x, at.y));
}

TEST_F(Sale, TotalsAreShownInHundredthsThroughSinglePrecision) {
    WithPrinter([](qmrsim::Printer& p) { p.receipts.articles[15].price = 12345; });
    Sell("1");
    EXPECT_EQ(Form1->TotalFld->text(), "123.45");
}

TEST_F(Sale, ADoubleClickSellsOneUnitAndKeepsTheQuantityText) {
    Form1->QuantityFld->setText("7");
    Form1->ArtTableDblClick();
    EXPECT_EQ(TakeRequests()[3], (Sent{SellArticleWithDisplay, "15*1.000"}));
    EXPECT_EQ(Form1->QuantityFld->text(), "7");
    EXPECT_EQ(Form1->PriceFld->text(), "17.50");  // the change handler ran for the kept text too
}

TEST_F(Sale, TheLineAmountFollowsTheQuantityAndTheRow) {
    Form1->QuantityFld->setText("3");
    EXPECT_EQ(Form1->PriceFld->text(), "7.50");
    Form1->QuantityFld->setText("-0.5");
    EXPECT_EQ(Form1->PriceFld->text(), "-1.25");
    Form1->QuantityFld->setText("1e300");
    EXPECT_EQ(Form1->PriceFld->text(), "");  // no amount fits the field
    LoadArticles("15,1,2.50,2,MILK\r\n16,1,4.00,2,CREAM\r\n");
    Form1->QuantityFld->setText("2");
    Form1->ArtTable->SelectRow(2);
    Form1->ArtTableMouseDown();
    EXPECT_EQ(Form1->PriceFld->text(), "8.00");
    EXPECT_TRUE(TakeRequests().empty());
}

TEST_F(Sale, PaymentWithoutAnOpenReceiptOnlyAsksForTheStatus) {
    Pay("Cash", "10");
    EXPECT_EQ(TakeCommands(), (std::vector<int>{ReadStatus, ReadStatus}));
}

TEST_F(Sale, ChangeIsShownAndTheReceiptClosed) {
    Sell("1");
    Form1->StornoType->setChecked(true);
    sim.ClearRequests();
    Pay("Cash", "4");
    EXPECT_EQ(TakeRequests(), (std::vector<Sent>{{ReadStatus, ""}, {ReadStatus, ""}, {RegisterPayment, "\tP4.00"}, {CloseFiscalReceipt, ""}}));
    EXPECT_EQ(Form1->RestoFld->text(), "1.50");
    EXPECT_EQ(Form1->TotalFld->text(), "0.00");
    EXPECT_FALSE(Form1->StornoType->isChecked());
    EXPECT_FALSE(ReceiptOpen());
    EXPECT_EQ(sim.WithPrinter([](qmrsim::Printer& p) { return p.paper.back(); }), "RECEIPT 1 CLOSED");
}

TEST_F(Sale, AnExactPaymentClosesAndAShortOneLeavesTheReceiptOpen) {
    Sell("1");
    Form1->RestoFld->setText("9.99");
    sim.ClearRequests();
    Pay("Card", "");  // pays 0.00 of 2.50: D250
    EXPECT_EQ(TakeRequests(), (std::vector<Sent>{{ReadStatus, ""}, {ReadStatus, ""}, {RegisterPayment, "\tD0.00"}}));
    EXPECT_EQ(Form1->RestoFld->text(), "9.99");
    EXPECT_EQ(Form1->TotalFld->text(), " 2.50");
    EXPECT_TRUE(ReceiptOpen());
    Pay("Credit", " 2.5 ");  // D0
    EXPECT_EQ(TakeRequests(), (std::vector<Sent>{{ReadStatus, ""}, {ReadStatus, ""}, {RegisterPayment, "\tN2.50"}, {CloseFiscalReceipt, ""}}));
    EXPECT_EQ(Form1->RestoFld->text(), "0.00");
    EXPECT_FALSE(ReceiptOpen());
    EXPECT_TRUE(script.messages.empty());
}

TEST_F(Sale, ARefusedPaymentOpensNoStatusDialog) {
    Sell("1");
    sim.ClearRequests();
    // Cheque refused: the printer's syntax error, and no reply text.
    WithPrinter([](qmrsim::Printer& p) {
        p.SetHandler(RegisterPayment, [](qmrsim::Printer& printer, const qmrsim::Request&) {
            printer.Fail(qmrsim::st::SyntaxError);
            return std::string();
        });
    });
    Pay("Cheque", "1");
    EXPECT_EQ(TakeCommands(), (std::vector<int>{ReadStatus, ReadStatus, RegisterPayment}));
    EXPECT_TRUE(ReceiptOpen());
}

TEST_F(Sale, APaymentReplyThatFailsTheFrameCheckClosesNothing) {
    Sell("1");
    sim.ClearRequests();
    // A reply that says "change 1.50" but holds an end byte in its data: each
    // try ends there and fails the frame check, though the link has already
    // copied the text.
    WithPrinter([](qmrsim::Printer& p) { p.SetReplyData(RegisterPayment, std::string("R150\x03" "9")); });
    Pay("Cash", "4");
    EXPECT_EQ(script.MessageTexts(), std::vector<QString>{"Protocol error"});
    EXPECT_EQ(qmr::Link().ReplyText().substr(0, 4), "R150");
    // (Later tries can end on the leftovers of earlier replies before the
    // printer has even read them, so how many it saw is not counted.)
    const auto sent = TakeCommands();
    EXPECT_EQ(std::count(sent.begin(), sent.end(), CloseFiscalReceipt), 0);
    EXPECT_EQ(Form1->RestoFld->text(), "0.00");
    EXPECT_TRUE(ReceiptOpen());
}

TEST_F(Sale, AHugeAmountIsRefusedBeforeAnythingIsSent) {
    Pay("Cash", "1e200");
    EXPECT_EQ(script.MessageTexts(), std::vector<QString>{"Amount out of range"});
    EXPECT_TRUE(TakeRequests().empty());
}

TEST_F(Sale, RefreshAndTheSumDoubleClickShowWhatIsDueOrOverpaid) {
    TotalsReplyOf(1000, 1250);
    Form1->RefreshBt->click();
    EXPECT_EQ(TakeRequests(), (std::vector<Sent>{{ReadStatus, ""}, {ReadStatus, ""}, {ReadReceiptTotals, "T"}}));
    EXPECT_EQ(Form1->RestoFld->text(), "2.50");
    EXPECT_EQ(Form1->TotalFld->text(), "0.00");
    Form1->SumFldDblClick();
    EXPECT_EQ(TakeRequests(), (std::vector<Sent>{{ReadStatus, ""}, {ReadReceiptTotals, "T"}}));
    EXPECT_EQ(Form1->SumFld->text(), " 0.00");

    TotalsReplyOf(1250, 1000);
    Form1->RefreshBt->click();
    EXPECT_EQ(Form1->TotalFld->text(), "12.50");
    EXPECT_EQ(Form1->RestoFld->text(), "0.00");
    Form1->SumFldDblClick();
    EXPECT_EQ(Form1->SumFld->text(), " 2.50");
}

TEST_F(Sale, RefreshWithoutAReceiptOrWithAShortReplyKeepsTheFields) {
    Form1->TotalFld->setText("1.00");
    Form1->RefreshBt->click();
    EXPECT_EQ(TakeCommands(), (std::vector<int>{ReadStatus, ReadStatus}));
    WithPrinter([](qmrsim::Printer& p) {
        p.SetStatusBit(qmrsim::st::FiscalReceiptOpen);
        p.SetReplyData(ReadReceiptTotals, "1,00");
    });
    Form1->SumFld->setText("3");
    Form1->RefreshBt->click();
    Form1->SumFldDblClick();
    EXPECT_EQ(Form1->TotalFld->text(), "1.00");
    EXPECT_EQ(Form1->SumFld->text(), "3");
}

TEST_F(Sale, TwoArticlesSoldAndPaidMakeOneReceipt) {
    LoadArticles("1,1,1.20,1,BREAD\r\n2,1,0.95,2,MILK 1L\r\n");
    Form1->ArtTable->SelectRow(1);
    Sell("2");
    Form1->ArtTable->SelectRow(2);
    Sell("1");
    EXPECT_EQ(Form1->TotalFld->text(), " 3.35");
    Form1->SumFldDblClick();
    EXPECT_EQ(Form1->SumFld->text(), " 3.35");
    Pay("Cash", "5");
    EXPECT_EQ(Form1->RestoFld->text(), "1.65");
    const auto paper = sim.WithPrinter([](qmrsim::Printer& p) { return p.paper; });
    EXPECT_EQ(paper, (std::vector<std::string>{"FISCAL RECEIPT", "OPERATOR 01", "2.000 x 1.20", "BREAD  2.40 \xC0",
                                               "1.000 x 0.95", "MILK 1L  0.95 \xC1", "CASH  5.00", "CHANGE  1.65",
                                               "TOTAL  3.35", "RECEIPT 1 CLOSED"}));
    EXPECT_TRUE(script.messages.empty());
}

// The button is on only while a long article loop runs, so its handler is called directly.
TEST_F(Sale, CancelOnlyRaisesTheStopFlag) {
    ASSERT_FALSE(StopFlag);
    Form1->CancelBtClick();
    EXPECT_TRUE(StopFlag);
    EXPECT_TRUE(TakeRequests().empty());
    EXPECT_TRUE(script.messages.empty());
}

TEST_F(Sale, WhileDisconnectedTheFirstStatusRequestFailsAlone) {
    Form1->ConnectBt->click();
    Sell("1");
    Pay("Cash", "1");
    EXPECT_EQ(script.MessageTexts(), (std::vector<QString>{"Serial port not open", "Serial port not open"}));
    EXPECT_TRUE(TakeRequests().empty());
}

}  // namespace
}  // namespace vextora
