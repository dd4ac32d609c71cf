// The command console and the operator and password dialogs.
#include <QApplication>
#include <QClipboard>
#include <QScreen>
#include <QScrollBar>

#include "VextoraFixture.h"

namespace vextora {
namespace {

class Console : public VextoraWindow {
protected:
    void SetUp() override {
        VextoraWindow::SetUp();
        Connect();
    }
    // Opens the console from its menu, types and executes, and closes it.
    void Execute(const QString& command, const QString& data) {
        script.OnNextModal([&](QDialog&) {
            CommandFrm->CmdBox->setText(command);
            CommandFrm->DataBox->setText(data);
            CommandFrm->ExecuteBt->click();
        });
        Form1->TestM->trigger();
    }
};

TEST_F(Console, OnlyDecimalNumbersFrom32To135AreSent) {
    for (const QString number : {"31", "136", "", "0x4A", "abc"}) Execute(number, "");
    EXPECT_EQ(script.MessageTexts(), (std::vector<QString>(5, "Command number out of range")));
    EXPECT_EQ(script.messages[0].caption, "Error");
    EXPECT_TRUE(TakeRequests().empty());
    Execute("32", "");
    Execute(" 135", "");
    Execute("74", "");
    EXPECT_EQ(TakeCommands(), (std::vector<int>{32, 135, 74}));
    EXPECT_EQ(script.messages.size(), 5u);  // the printer's "Invalid command" pops up nothing
    // A refused number leaves the last answer and status as they were.
    Execute("90", "");
    const QString answer = CommandFrm->AnswerBox->text(), status = CommandFrm->StatusTxt->text();
    ASSERT_FALSE(answer.isEmpty());
    Execute("136", "");
    EXPECT_EQ(CommandFrm->AnswerBox->text(), answer);
    EXPECT_EQ(CommandFrm->StatusTxt->text(), status);
}

TEST_F(Console, DataEscapesBecomeTabAndLineFeed) {
    for (const QString data : {"a\\tb", "end\\", "\\x", "\\\\t", "l1\\nl2", "\u0410\u0411"}) Execute("74", data);
    std::vector<std::string> sent;
    for (const auto& [cmd, data] : TakeRequests()) sent.push_back(data);
    EXPECT_EQ(sent, (std::vector<std::string>{"a\tb", "end\\", "\\x", "\\\t", "l1\nl2", "\xC0\xC1"}));
}

TEST_F(Console, TheAnswerAndTheStatusBytesAreShown) {
    WithPrinter([](qmrsim::Printer& p) {
        p.SetReplyData(90, "1,2,\xC0\xC1");
        p.SetStatusBit(2, 3);
        p.SetStatusBit(4, 1);
        p.SetStatusBit(4, 2);
    });
    Execute("90", "");
    EXPECT_EQ(CommandFrm->AnswerBox->text(), "1,2,АБ");
    EXPECT_EQ(CommandFrm->StatusTxt->text(), "00 00 08 00 06 00 ");
    EXPECT_TRUE(CommandFrm->StatusBt->isEnabled());
    EXPECT_TRUE(CommandFrm->ExecuteBt->isEnabled());
}

// 0xA0 is a no-break space, and 0x98 a byte the code page leaves without a letter.
TEST_F(Console, TheAnswerKeepsEveryByteInItsTextAndItsCopy) {
    WithPrinter([](qmrsim::Printer& p) { p.SetReplyData(90, "A\xA0" "B\x98" "C"); });
    Execute("90", "");
    const QString answer = QStringLiteral("A\u00A0B\u0098C");
    EXPECT_EQ(CommandFrm->AnswerBox->text(), answer);
    CommandFrm->AnswerBox->selectAll();
    CommandFrm->AnswerBox->copy();
    EXPECT_EQ(QApplication::clipboard()->text(), answer);
}

TEST_F(Console, TheLongestReplyShowsWhole) {
    // The identification, and a reply of all the bytes a frame carries.
    std::string longest;
    for (int i = 0; longest.size() < 212; ++i) longest += std::to_string(i % 10) + (i % 16 == 15 ? "," : "");
    longest.resize(212);
    WithPrinter([&](qmrsim::Printer& p) { p.SetReplyData(116, longest); });
    for (const auto& [command, reply] : {std::pair{QStringLiteral("90"), std::string()}, std::pair{QStringLiteral("116"), longest}}) {
        script.OnNextModal([&](QDialog&) {
            CommandFrm->CmdBox->setText(command);
            CommandFrm->ExecuteBt->click();
            const WrappingEdit& answer = *CommandFrm->AnswerBox;
            if (!reply.empty()) {
                EXPECT_EQ(answer.text(), QString::fromStdString(reply));
            }
            EXPECT_FALSE(answer.text().isEmpty());
            EXPECT_EQ(answer.verticalScrollBar()->maximum(), 0) << command.toStdString();
            EXPECT_TRUE(CommandFrm->rect().contains(answer.geometry()));
        });
        Form1->TestM->trigger();
    }
}

TEST_F(Console, StatusButtonOnlyAfterAReplyThatCameThroughTheLink) {
    // A syntax error: no dialog of its own, but the button shows it.
    WithPrinter([](qmrsim::Printer& p) {
        p.SetHandler(74, [](qmrsim::Printer& printer, const qmrsim::Request&) {
            printer.Fail(qmrsim::st::SyntaxError);
            return std::string("E");
        });
    });
    Execute("74", "");
    EXPECT_TRUE(CommandFrm->StatusBt->isEnabled());
    EXPECT_TRUE(script.modals.size() == 1u);  // the console alone
    script.OnNextModal([](QDialog& form) {
        auto& dlg = dynamic_cast<qmr::ui::TStatusDlg&>(form);
        EXPECT_TRUE(dlg.Status00->isChecked());
        EXPECT_FALSE(dlg.Status_Timeout->isChecked());
    });
    const QPoint where = StatusDlg->pos();
    CommandFrm->StatusBt->click();
    EXPECT_EQ(script.modals.back().pos, where);  // shown where it stands, not placed
    EXPECT_TRUE(TakeRequests().size() == 1u);         // and nothing more was sent

    // A time-out leaves it off.
    clock.racing = true;
    sim.InjectFault(qmrsim::Fault::Silence, 4);
    Execute("74", "");
    EXPECT_EQ(script.MessageTexts(), std::vector<QString>{"No printer response"});
    EXPECT_FALSE(CommandFrm->StatusBt->isEnabled());
    EXPECT_EQ(CommandFrm->StatusTxt->text(), "00 00 00 00 00 00 ");
    EXPECT_EQ(CommandFrm->AnswerBox->text(), "");  // nothing of the command before
}

TEST_F(Console, DataLongerThanAFrameCarriesIsRefusedByTheLink) {
    Execute("74", QString(220, 'x'));
    EXPECT_EQ(script.MessageTexts(), std::vector<QString>{"Data too long"});
    EXPECT_TRUE(TakeRequests().empty());
    EXPECT_FALSE(CommandFrm->StatusBt->isEnabled());
    // 300 typed characters that escape to 150 bytes do fit.
    QString tabs;
    for (int i = 0; i < 150; ++i) tabs += "\\t";
    Execute("74", tabs);
    ASSERT_EQ(TakeRequests().size(), 1u);
}

TEST_F(Console, TextsAreKeptOnReopeningAndAcrossARestart) {
    Execute("90", "x\\ty");
    const QString answer = CommandFrm->AnswerBox->text();
    EXPECT_FALSE(answer.isEmpty());
    script.OnNextModal([&](QDialog&) {
        EXPECT_EQ(CommandFrm->CmdBox->text(), "90");
        EXPECT_EQ(CommandFrm->DataBox->text(), "x\\ty");
        EXPECT_FALSE(CommandFrm->StatusBt->isEnabled());  // off again at every showing
        EXPECT_EQ(CommandFrm->AnswerBox->text(), answer);
    });
    Form1->TestM->trigger();
    RestartProgram();
    EXPECT_EQ(CommandFrm->CmdBox->text(), "90");
    EXPECT_EQ(CommandFrm->DataBox->text(), "x\\ty");
}

TEST_F(VextoraWindow, OperatorSevenWithAnEmptyPasswordOpensTheNextReceipt) {
    Connect();
    SelectArticle15();
    script.OnNextModal([](QDialog&) {
        EXPECT_EQ(OperatorDlg->OperNmb->count(), 13);
        OperatorDlg->OperNmb->setCurrentText("07");
        OperatorDlg->OkBt->click();
    });
    Form1->OperatorM->trigger();
    EXPECT_EQ(OperatorNumber, 7);
    EXPECT_EQ(OperatorPassword, "");
    EXPECT_TRUE(TakeRequests().empty());  // nothing goes to the printer until a receipt opens
    script.OnNextModal([](QDialog&) {});  // the printer refuses operator 7's password
    Sell("1");
    EXPECT_EQ(TakeRequests()[2], (Sent{qmr::OpenFiscalReceipt, "7,,123,I"}));
}

TEST_F(VextoraWindow, ClosingTheOperatorDialogWithoutOkChangesNothing) {
    script.OnNextModal([](QDialog& form) {
        OperatorDlg->OperNmb->setCurrentIndex(5);
        OperatorDlg->OperP->setText("secret");
        form.close();
    });
    Form1->OperatorM->trigger();
    EXPECT_EQ(OperatorNumber, 1);
    EXPECT_EQ(OperatorPassword, "4826");
    EXPECT_FALSE(PasswordConfirmed);
    script.OnNextModal([](QDialog&) {
        EXPECT_EQ(OperatorDlg->OperNmb->currentText(), "01");
        EXPECT_EQ(OperatorDlg->OperP->text(), "");
        EXPECT_EQ(OperatorDlg->OperP->echoMode(), QLineEdit::Password);
        OperatorDlg->OperP->setText("\u0410\u0411");
        OperatorDlg->OperNmb->setCurrentIndex(12);
        OperatorDlg->OkBt->click();
    });
    Form1->OperatorM->trigger();
    EXPECT_EQ(OperatorNumber, 13);
    EXPECT_EQ(OperatorPassword, "\xC0\xC1");
}

TEST_F(VextoraWindow, ThePasswordDialogConfirmsOnlyWithOk) {
    script.OnNextModal([](QDialog&) {
        PwdDialog->PwdBox->setText("1234");
        PwdDialog->OkBt->click();
    });
    qmr::ui::ShowModal(*PwdDialog);
    EXPECT_TRUE(PasswordConfirmed);
    EXPECT_EQ(EnteredPassword, "1234");
    script.OnNextModal([](QDialog& form) {
        EXPECT_EQ(PwdDialog->PwdBox->text(), "");
        EXPECT_EQ(form.windowTitle(), "Password");
        form.close();
    });
    qmr::ui::ShowModal(*PwdDialog);
    EXPECT_FALSE(PasswordConfirmed);
    EXPECT_EQ(EnteredPassword, "");
}

TEST_F(VextoraWindow, PasswordEditsShowAStarForEachCharacter) {
    for (QLineEdit* edit : {PwdDialog->PwdBox, OperatorDlg->OperP}) {
        edit->setText(QStringLiteral("48\u0410x"));
        EXPECT_EQ(edit->displayText(), "****") << edit->objectName().toStdString();
        EXPECT_EQ(edit->echoMode(), QLineEdit::Password);
        EXPECT_EQ(edit->maxLength(), 32767);  // no limit of its own
    }
}

TEST_F(VextoraWindow, ThePasswordDialogStandsInTheMiddleOfTheScreenWhereverTheWindowIs) {
    Form1->move(0, 0);
    for (int showing = 0; showing < 2; ++showing) {
        script.OnNextModal([](QDialog& form) {
            const QRect desk = QApplication::primaryScreen()->availableGeometry();
            EXPECT_LE((form.frameGeometry().center() - desk.center()).manhattanLength(), 4);
            form.move(desk.topLeft());  // moved away by the user
        });
        qmr::ui::ShowModal(*PwdDialog);
    }
}

}  // namespace
}  // namespace vextora
