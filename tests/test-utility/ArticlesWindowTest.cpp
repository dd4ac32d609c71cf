// The printer's article table from the main window: read into the grid,
// sent back, and deleted with the Delete key.
#include <QApplication>
#include <QKeyEvent>

#include "VextoraFixture.h"

namespace vextora {
namespace {

using qmr::ProgramArticles;
using qmr::ReadStatus;

class Articles : public VextoraWindow {
protected:
    void SetUp() override {
        VextoraWindow::SetUp();
        Connect();
        sim.ClearRequests();
    }
    void SetPrinterArticles(std::vector<qmrsim::Article> articles) {
        WithPrinter([&](qmrsim::Printer& p) {
            p.receipts.articles.clear();
            for (const auto& a : articles) p.receipts.articles[a.plu] = a;
        });
    }
    std::map<int, qmrsim::Article> PrinterArticles() {
        return sim.WithPrinter([](qmrsim::Printer& p) { return p.receipts.articles; });
    }
    // The password dialog's next showing: OK with this password.
    void TypePassword(const QString& password) {
        script.OnNextModal([password](QDialog& form) {
            EXPECT_EQ(form.objectName(), "PwdDialog");
            PwdDialog->PwdBox->setText(password);
            PwdDialog->OkBt->click();
        });
    }
    void PressKey(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QKeyEvent press(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(Form1->ArtTable, &press);
    }
    void SetGrid(const std::vector<ArticleRow>& rows) {
        ArticleTable table;
        int n = 0;
        for (const auto& row : rows) table.Append(n, row);
        Form1->ArtTable->Model().SetTable(table);
    }
    // The printer answers the next request of the command with this data as
    // it would, but flags it as not permitted.
    void FlagNext(int command, const std::string& data) {
        WithPrinter([&](qmrsim::Printer& p) {
            p.SetHandler(command, [inner = p.HandlerOf(command), data, done = false](qmrsim::Printer& q,
                                                                                   const qmrsim::Request& r) mutable {
                std::string reply = inner(q, r);
                if (r.data == data && !std::exchange(done, true)) q.Fail(qmrsim::st::NotPermitted);
                return reply;
            });
        });
    }
    // A printer error sent outside the flows pops up the status dialog again.
    void ExpectStatusPopUpsBack() {
        EXPECT_FALSE(qmr::Link().SuppressStatusDlg);
        script.OnNextModal([](QDialog& form) { EXPECT_EQ(form.objectName(), "StatusDlg"); });
        qmr::ExecCommand(ProgramArticles, "X");
    }
};

TEST_F(Articles, AnEmptyPrinterLeavesTheEmptyTableAndTheCountAsItWas) {
    SetPrinterArticles({});
    LoadArticles("15,1,2.50,2,MILK\r\n");
    Form1->ArtCnt->setText("7");
    sim.ClearRequests();
    Form1->ReadfromPrinter1->trigger();
    EXPECT_EQ(TakeRequests(), (std::vector<Sent>{{ReadStatus, ""}, {ProgramArticles, "F"}}));
    EXPECT_EQ(Grid(), (std::vector<QStringList>{{"", "", "", "", "", ""}}));
    EXPECT_EQ(Form1->ArtCnt->text(), "7");
    EXPECT_FALSE(Form1->CancelBt->isEnabled());
}

TEST_F(Articles, ThreeArticlesAreReadWithTheirTabsShownAndSentBackAsTabs) {
    SetPrinterArticles({{3, '\xC2', 2, 450, "CHEESE"}, {12, '\xC0', 1, 250, "MILK\tFRESH, 1L"}, {40, '\xC4', 9, 5, "X"}});
    bool cancelOnDuringRead = false;
    DuringRequest(ProgramArticles, "N", 1, [&] { cancelOnDuringRead = Form1->CancelBt->isEnabled(); });
    Form1->ReadfromPrinter1->trigger();
    EXPECT_EQ(TakeRequests(), (std::vector<Sent>{{ReadStatus, ""}, {ProgramArticles, "F"}, {ProgramArticles, "N"},
                                                 {ProgramArticles, "N"}, {ProgramArticles, "N"}}));
    EXPECT_EQ(Grid(), (std::vector<QStringList>{{"3", "\u0412", "2", "4.50", "0.000", "CHEESE"},
                                                {"12", "\u0410", "1", "2.50", "0.000", "MILK\\tFRESH, 1L"},
                                                {"40", "\u0414", "9", "0.05", "0.000", "X"}}));
    EXPECT_EQ(Form1->ArtCnt->text(), "3");
    EXPECT_TRUE(cancelOnDuringRead);
    EXPECT_FALSE(Form1->CancelBt->isEnabled());

    SetPrinterArticles({});
    TypePassword("4826");
    Form1->StoreM->trigger();
    EXPECT_EQ(TakeRequests(), (std::vector<Sent>{{ReadStatus, ""},
                                                 {ProgramArticles, "P\xC2" "3,2,4.50,4826,CHEESE"},
                                                 {ProgramArticles, "P\xC0" "12,1,2.50,4826,MILK\tFRESH, 1L"},
                                                 {ProgramArticles, "P\xC4" "40,9,0.05,4826,X"}}));
    EXPECT_EQ(PrinterArticles().at(12).name, "MILK\tFRESH, 1L");
    EXPECT_EQ(PrinterArticles().size(), 3u);
    EXPECT_EQ(Form1->ArtCnt->text(), "3");
    EXPECT_FALSE(Form1->CancelBt->isEnabled());
    EXPECT_TRUE(script.messages.empty());
}

TEST_F(Articles, APrinterErrorShowsTheStatusDialogAndReadAndSendGoOn) {
    SetPrinterArticles({{3, '\xC2', 2, 450, "CHEESE"}, {12, '\xC0', 1, 250, "MILK"}, {40, '\xC4', 9, 5, "X"}});
    StopFlag = true;  // as a cancelled flow leaves it
    FlagNext(ProgramArticles, "N");
    script.OnNextModal([](QDialog& form) { EXPECT_EQ(form.objectName(), "StatusDlg"); });
    Form1->ReadfromPrinter1->trigger();
    EXPECT_EQ(TakeRequests(), (std::vector<Sent>{{ReadStatus, ""}, {ProgramArticles, "F"}, {ProgramArticles, "N"},
                                             {ProgramArticles, "N"}, {ProgramArticles, "N"}}));
    EXPECT_EQ(Grid().size(), 3u);
    EXPECT_EQ(Form1->ArtCnt->text(), "3");

    FlagNext(ReadStatus, "");
    TypePassword("4826");
    script.OnNextModal([](QDialog& form) { EXPECT_EQ(form.objectName(), "StatusDlg"); });
    Form1->StoreM->trigger();
    const auto sent = TakeRequests();
    ASSERT_EQ(sent.size(), 4u);
    EXPECT_EQ(sent[0], (Sent{ReadStatus, ""}));
    EXPECT_EQ(sent[3], (Sent{ProgramArticles, "P\xC4" "40,9,0.05,4826,X"}));
}

TEST_F(Articles, CancelDuringTheFifthArticleLeavesFiveRows) {
    std::vector<qmrsim::Article> eight;
    for (int plu = 1; plu <= 8; ++plu) eight.push_back({plu, '\xC0', 1, 100, "A" + std::to_string(plu)});
    SetPrinterArticles(eight);
    // The fifth "N" asks for article 6, after article 5 is shown.
    DuringRequest(ProgramArticles, "N", 5, [] { Form1->CancelBt->click(); });
    Form1->ReadfromPrinter1->trigger();
    EXPECT_EQ(TakeRequests().size(), 2u + 5u);
    EXPECT_EQ(Grid().size(), 5u);
    EXPECT_EQ(Grid().back()[5], "A5");
    EXPECT_EQ(Form1->ArtCnt->text(), "5");
    EXPECT_FALSE(Form1->CancelBt->isEnabled());
    EXPECT_TRUE(StopFlag);
}

TEST_F(Articles, ALinkFailureOnTheThirdNextKeepsTheRowsReadAndEmptiesTheCount) {
    // Silence from the third "N" on: injected while the second is answered.
    DuringRequest(ProgramArticles, "N", 2, [this] {
        clock.racing = true;
        sim.InjectFault(qmrsim::Fault::Silence, 4);
    });
    Form1->ReadfromPrinter1->trigger();
    EXPECT_EQ(Grid().size(), 3u);
    EXPECT_EQ(Grid()[2][0], "3");
    EXPECT_EQ(Form1->ArtCnt->text(), "");
    EXPECT_FALSE(Form1->CancelBt->isEnabled());
    EXPECT_EQ(script.MessageTexts(), std::vector<QString>{"No printer response"});
}

TEST_F(Articles, ReadingStopsAtOnceWhenTheLinkFailsOnTheFirstCommands) {
    LoadArticles("15,1,2.50,2,MILK\r\n");
    Form1->ConnectBt->click();  // the port closed
    Form1->ReadfromPrinter1->trigger();
    EXPECT_EQ(script.MessageTexts(), std::vector<QString>{"Serial port not open"});
    EXPECT_EQ(Grid(), (std::vector<QStringList>{{"", "", "", "", "", ""}}));
    EXPECT_FALSE(Form1->CancelBt->isEnabled());
}

TEST_F(Articles, SendingSendsTheRowByteForByteAndPassesOverRowsThePrinterCannotTake) {
    SetGrid({{"0", "\xC0", "1", "1.00", "", "PLU ZERO"},
             {"7", "", "1", "1.00", "", "NO TAX"},
             {"8", "A", "1", "1.00", "", "LATIN A"},
             {"12", "\xC0", "1", "2.50", "0.000", "MILK"},
             {"9", "\xC5", "1", "1.00", "", "NOT A TAX LETTER"}});
    TypePassword("4826");
    Form1->StoreM->trigger();
    EXPECT_EQ(TakeRequests(),
              (std::vector<Sent>{{ReadStatus, ""}, {ProgramArticles, std::string("P\xC0" "12,1,2.50,4826,MILK")}}));
    // The grid row of the last row sent, not a count.
    EXPECT_EQ(Form1->ArtCnt->text(), "4");
    EXPECT_EQ(PrinterArticles().at(12).name, "MILK");
}

TEST_F(Articles, RowsThePrinterRefusesArePassedOverWithoutADialog) {
    LoadArticles("12,1,2.50,1,MILK\r\n13,1,3.00,1,CREAM\r\n");
    TypePassword("1111");  // not the service password
    Form1->StoreM->trigger();
    EXPECT_EQ(TakeCommands(), (std::vector<int>{ReadStatus, ProgramArticles, ProgramArticles}));
    EXPECT_EQ(Form1->ArtCnt->text(), "2");
    EXPECT_EQ(PrinterArticles().count(12), 0u);
    EXPECT_EQ(script.modals.size(), 1u);  // the password dialog alone
    ExpectStatusPopUpsBack();
}

TEST_F(Articles, SendingWithThePasswordDialogClosedSendsNothing) {
    LoadArticles("12,1,2.50,1,MILK\r\n");
    script.OnNextModal([](QDialog& form) { form.close(); });
    Form1->StoreM->trigger();
    EXPECT_TRUE(TakeRequests().empty());
}

TEST_F(Articles, ATextTooLongForTheLinkStopsTheSendLikeAnyLinkFailure) {
    // Sent whole, with no name cut at 128 bytes: the printer judges it.
    const std::string name150(150, 'N');
    SetGrid({{"12", "\xC0", "1", "2.50", "", name150}, {"13", "\xC0", "1", "2.50", "", std::string(220, 'L')},
             {"14", "\xC0", "1", "2.50", "", "AFTER"}});
    TypePassword("4826");
    Form1->StoreM->trigger();
    EXPECT_EQ(TakeRequests(),
              (std::vector<Sent>{{ReadStatus, ""}, {ProgramArticles, "P\xC0" "12,1,2.50,4826," + name150}}));
    EXPECT_EQ(script.MessageTexts(), std::vector<QString>{"Data too long"});
    EXPECT_EQ(Form1->ArtCnt->text(), "1");
    EXPECT_FALSE(Form1->CancelBt->isEnabled());
    ExpectStatusPopUpsBack();
}

TEST_F(Articles, CancelStopsTheSendAfterTheCurrentRow) {
    LoadArticles("12,1,2.50,1,A\r\n13,1,2.50,1,B\r\n14,1,2.50,1,C\r\n");
    TypePassword("4826");
    DuringRequest(ProgramArticles, "P\xC0" "13,1,2.50,4826,B", 1, [] { Form1->CancelBt->click(); });
    Form1->StoreM->trigger();
    EXPECT_EQ(TakeCommands(), (std::vector<int>{ReadStatus, ProgramArticles, ProgramArticles}));
    EXPECT_EQ(Form1->ArtCnt->text(), "2");
}

TEST_F(Articles, DeleteRemovesTheOnlyRowAndTheHeaderBecomesCurrent) {
    LoadArticles("2,1,0.95,2,MILK 1L\r\n");
    sim.ClearRequests();
    TypePassword("4826");
    PressKey(Qt::Key_Delete);
    EXPECT_EQ(TakeRequests(), (std::vector<Sent>{{ReadStatus, ""}, {ProgramArticles, "D2,4826"}}));
    EXPECT_TRUE(Grid().empty());
    EXPECT_EQ(Form1->ArtTable->Model().Table().RowCount(), 1);
    EXPECT_EQ(Form1->ArtTable->SelectedRow(), 0);
    EXPECT_EQ(PrinterArticles().count(2), 0u);
    // Nothing is left to delete.
    PressKey(Qt::Key_Delete);
    EXPECT_TRUE(TakeRequests().empty());
}

TEST_F(Articles, DeleteWithAnyModifierDeletesAndTheRowAboveBecomesCurrent) {
    for (const Qt::KeyboardModifiers modifiers : {Qt::KeyboardModifiers(Qt::ControlModifier),
                                                  Qt::KeyboardModifiers(Qt::ShiftModifier)}) {
        SetPrinterArticles({{1, '\xC0', 1, 120, "BREAD"}, {3, '\xC1', 2, 450, "CHEESE"}});
        LoadArticles("1,1,1.20,1,BREAD\r\n3,2,4.50,2,CHEESE\r\n");
        Form1->ArtTable->SelectRow(2);
        sim.ClearRequests();
        TypePassword("4826");
        PressKey(Qt::Key_Delete, modifiers);
        EXPECT_EQ(TakeRequests(), (std::vector<Sent>{{ReadStatus, ""}, {ProgramArticles, "D3,4826"}}));
        EXPECT_EQ(Grid().size(), 1u);
        EXPECT_EQ(Form1->ArtTable->SelectedRow(), 1);
    }
    EXPECT_TRUE(script.messages.empty());
}

TEST_F(Articles, DeleteSendsNothingOnTheHeaderTheEmptyRowOrAnotherKey) {
    Form1->ArtTable->SelectRow(1);  // the empty table's empty row
    PressKey(Qt::Key_Delete);
    LoadArticles("1,1,1.20,1,BREAD\r\n");
    Form1->ArtTable->SelectRow(0);  // the header
    PressKey(Qt::Key_Delete);
    Form1->ArtTable->SelectRow(1);
    PressKey(Qt::Key_Backspace);
    PressKey(Qt::Key_D);
    EXPECT_TRUE(TakeRequests().empty());
    EXPECT_EQ(Grid().size(), 1u);
}

TEST_F(Articles, ARefusedDeleteSaysSoAndLeavesTheGrid) {
    LoadArticles("999,1,1.00,1,UNKNOWN\r\n");
    sim.ClearRequests();
    TypePassword("4826");
    PressKey(Qt::Key_Delete);
    EXPECT_EQ(TakeRequests(), (std::vector<Sent>{{ReadStatus, ""}, {ProgramArticles, "D999,4826"}}));
    EXPECT_EQ(script.MessageTexts(), std::vector<QString>{"Can't delete article"});
    EXPECT_EQ(script.messages[0].caption, "Error");
    EXPECT_EQ(Grid().size(), 1u);
    // A wrong password: refused by the printer's bits, without a status dialog.
    TypePassword("1111");
    PressKey(Qt::Key_Delete);
    EXPECT_EQ(script.MessageTexts().size(), 2u);
    EXPECT_EQ(script.modals.size(), 2u);
    ExpectStatusPopUpsBack();
}

TEST_F(Articles, DeleteWithThePasswordDialogClosedSendsNoDelete) {
    LoadArticles("1,1,1.20,1,BREAD\r\n");
    sim.ClearRequests();
    script.OnNextModal([](QDialog& form) { form.close(); });
    PressKey(Qt::Key_Delete);
    EXPECT_EQ(TakeCommands(), std::vector<int>{ReadStatus});
    EXPECT_EQ(Grid().size(), 1u);
    ExpectStatusPopUpsBack();
}

TEST_F(Articles, APrinterErrorAtTheDeletesStatusReadStopsWithoutADialog) {
    LoadArticles("1,1,1.20,1,BREAD\r\n");
    WithPrinter([](qmrsim::Printer& p) {
        p.SetHandler(ReadStatus, [](qmrsim::Printer& q, const qmrsim::Request&) {
            q.Fail(qmrsim::st::NotPermitted);
            return std::string();
        });
    });
    sim.ClearRequests();
    PressKey(Qt::Key_Delete);
    EXPECT_EQ(TakeCommands(), std::vector<int>{ReadStatus});
    EXPECT_TRUE(script.modals.empty());
}

}  // namespace
}  // namespace vextora
