// The operators dialog and its name and password dialogs, through the seam,
// against the simulated printer.
#include <gtest/gtest.h>

#include "Commands.h"
#include "Placement.h"
#include "PrendixFixture.h"

namespace prendix {
namespace {

using qmr::test::Type;
using qmrsim::Printer;

class OperatorsWindow : public PrendixWindow {
protected:
    // Opens the operators dialog from the main window and runs `inside` in it.
    void InOperators(std::function<void(TOperatorsDlg&)> inside) {
        script.OnNextModal([inside](QDialog& form) { inside(dynamic_cast<TOperatorsDlg&>(form)); });
        InitFP->OperBt->click();
    }
    // The name dialog from the operators dialog, with a name and password
    // typed and Update pressed; a refusal shows the link's status dialog.
    enum Answer { Takes, Refuses };
    void ChangeName(TOperatorsDlg& dlg, const QString& password, const QString& name, Answer printer = Takes) {
        script.OnNextModal([=, this](QDialog&) {
            Type(*OperNameDlg->OperPwd, password);
            Type(*OperNameDlg->OperName, name);
            if (printer == Refuses) script.OnNextModal([](QDialog&) {});
            OperNameDlg->OkBt->click();
        });
        dlg.OperName->click();
    }
    void ChangePassword(TOperatorsDlg& dlg, const QString& old, const QString& typed, const QString& again,
                        Answer printer = Takes) {
        script.OnNextModal([=, this](QDialog&) {
            Type(*OperPwdDlg->OldPwd, old);
            Type(*OperPwdDlg->NewPwd, typed);
            Type(*OperPwdDlg->CheckPwd, again);
            if (printer == Refuses) script.OnNextModal([](QDialog&) {});
            OperPwdDlg->OkBt->click();
        });
        dlg.OperPwd->click();
    }
};

TEST(OperatorsForms, ShowTheirCaptionsUncutHideThePasswordsAndLimitTyping) {
    TOperatorsDlg operators;
    EXPECT_EQ(operators.windowTitle(), "Operators");
    ASSERT_EQ(operators.OperNum->count(), 15);
    EXPECT_EQ(operators.OperNum->itemText(0), "Operator 1");
    EXPECT_EQ(operators.OperNum->itemText(14), "Operator 15");
    EXPECT_FALSE(operators.OperNum->isEditable());
    EXPECT_EQ(operators.OperNum->currentIndex(), 0);
    EXPECT_EQ(operators.OperPwd->text(), "Change Password");
    EXPECT_EQ(operators.OperName->text(), "Change Name");

    TOperNameDlg name;
    EXPECT_EQ(name.windowTitle(), "Change operator name");
    EXPECT_EQ(name.Label1->text(), "Password:");
    EXPECT_EQ(name.Label2->text(), "Name:");
    EXPECT_EQ(name.OkBt->text(), "Update");
    EXPECT_EQ(name.OperPwd->echoMode(), QLineEdit::Password);
    EXPECT_EQ(name.OperName->echoMode(), QLineEdit::Normal);

    TOperPwdDlg password;
    EXPECT_EQ(password.windowTitle(), "Change operator password");
    EXPECT_EQ(password.Label1->text(), "Old password:");
    EXPECT_EQ(password.Label2->text(), "New password:");
    EXPECT_EQ(password.Label3->text(), "Confirm password:");
    EXPECT_EQ(password.OkBt->text(), "Update");
    for (QLineEdit* edit : {password.OldPwd, password.NewPwd, password.CheckPwd})
        EXPECT_EQ(edit->echoMode(), QLineEdit::Password) << edit->objectName().toStdString();

    // Typing stops at 6 password characters and 24 name characters.
    Type(*name.OperPwd, "123456789");
    Type(*name.OperName, "ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    Type(*password.NewPwd, "abcdefgh");
    EXPECT_EQ(name.OperPwd->text(), "123456");
    EXPECT_EQ(name.OperName->text(), "ABCDEFGHIJKLMNOPQRSTUVWX");
    EXPECT_EQ(password.NewPwd->text(), "abcdef");
    for (const QWidget* form : std::initializer_list<const QWidget*>{&operators, &name, &password}) {
        EXPECT_EQ(qmr::test::ClippedCaptions(*form), std::vector<std::string>{});
        EXPECT_EQ(qmr::test::OverlappingControls(*form), std::vector<std::string>{});
    }
}

TEST_F(OperatorsWindow, NamesOperatorFifteenAndOneOnThePrinter) {
    Connect();
    InOperators([&](TOperatorsDlg& dlg) {
        ExpectPlacedOverTheWindow(script.modals.back().pos, *OperatorsDlg);
        dlg.OperNum->setCurrentIndex(14);
        ChangeName(dlg, "4826", "ANNA");
        dlg.OperNum->setCurrentIndex(0);
        ChangeName(dlg, "4826", "BORIS");
        EXPECT_TRUE(dlg.isVisible());  // the operators dialog stays for further changes
    });
    EXPECT_EQ(TakeRequests(),
              (std::vector<Sent>{{qmr::SetOperatorName, "15,4826,ANNA"}, {qmr::SetOperatorName, "1,4826,BORIS"}}));
    ASSERT_EQ(script.modals.size(), 3u);
    EXPECT_EQ(script.modals[1].objectName, "OperNameDlg");
    EXPECT_EQ(script.modals[1].caption, "Change operator name");
    // Over the main window, not over the operators dialog.
    ExpectPlacedOverTheWindow(script.modals[1].pos, *OperNameDlg);
    EXPECT_FALSE(OperNameDlg->isVisible());
    WithPrinter([](Printer& p) {
        EXPECT_EQ(p.operators.names[14], "ANNA");
        EXPECT_EQ(p.operators.names[0], "BORIS");
    });
    EXPECT_TRUE(script.messages.empty());
}

TEST_F(OperatorsWindow, AnEmptyPasswordIsSentAsAnEmptyFieldAndTheRefusalShownByTheLink) {
    Connect();
    InOperators([this](TOperatorsDlg& dlg) {
        dlg.OperNum->setCurrentIndex(2);
        ChangeName(dlg, "", "CLARA", Refuses);
    });
    EXPECT_EQ(TakeRequests(), (std::vector<Sent>{{qmr::SetOperatorName, "3,,CLARA"}}));
    ASSERT_EQ(script.modals.size(), 3u);
    EXPECT_EQ(script.modals[2].objectName, "StatusDlg");
    EXPECT_FALSE(OperNameDlg->isVisible());  // closed all the same
}

TEST_F(OperatorsWindow, APasswordChangesWhenTypedTheSameTwice) {
    Connect();
    InOperators([this](TOperatorsDlg& dlg) {
        dlg.OperNum->setCurrentIndex(14);
        ChangePassword(dlg, "4826", "Ab12", "Ab12");
    });
    EXPECT_EQ(TakeRequests(), (std::vector<Sent>{{qmr::SetOperatorPassword, "15,4826,Ab12"}}));
    EXPECT_EQ(script.modals[1].objectName, "OperPwdDlg");
    ExpectPlacedOverTheWindow(script.modals[1].pos, *OperPwdDlg);
    WithPrinter([](Printer& p) { EXPECT_EQ(p.receipts.operatorPasswords[14], "Ab12"); });
}

TEST_F(OperatorsWindow, ConfirmationsThatDifferInCaseAloneAreRefusedAndBothEmptyAreEqual) {
    Connect();
    InOperators([this](TOperatorsDlg& dlg) {
        script.OnNextModal([this](QDialog& form) {
            Type(*OperPwdDlg->OldPwd, "4826");
            Type(*OperPwdDlg->NewPwd, "abc");
            Type(*OperPwdDlg->CheckPwd, "ABC");
            OperPwdDlg->OkBt->click();
            EXPECT_EQ(script.MessageTexts(), std::vector<QString>{"New password and confirmation different"});
            EXPECT_EQ(script.messages[0].caption, "Error");
            EXPECT_TRUE(form.isVisible());
            EXPECT_EQ(OperPwdDlg->OldPwd->text(), "4826");
            EXPECT_EQ(OperPwdDlg->NewPwd->text(), "abc");
            EXPECT_EQ(OperPwdDlg->CheckPwd->text(), "ABC");
            form.close();  // the close box: nothing sent
        });
        dlg.OperPwd->click();
        // Reopened: three empty edits.
        script.OnNextModal([this](QDialog&) {
            EXPECT_EQ(OperPwdDlg->OldPwd->text(), "");
            EXPECT_EQ(OperPwdDlg->NewPwd->text(), "");
            EXPECT_EQ(OperPwdDlg->CheckPwd->text(), "");
        });
        dlg.OperPwd->click();
        // Both empty: the command goes with an empty new password, and the printer refuses it.
        ChangePassword(dlg, "4826", "", "", Refuses);
    });
    EXPECT_EQ(TakeRequests(), (std::vector<Sent>{{qmr::SetOperatorPassword, "1,4826,"}}));
    EXPECT_EQ(script.messages.size(), 1u);
}

TEST_F(OperatorsWindow, TheChoiceStaysAndTheEditsEmptyOnReopening) {
    Connect();
    InOperators([this](TOperatorsDlg& dlg) {
        dlg.OperNum->setCurrentIndex(6);
        script.OnNextModal([](QDialog& form) {
            Type(*OperNameDlg->OperPwd, "4826");
            Type(*OperNameDlg->OperName, "UNSENT");
            form.close();
        });
        dlg.OperName->click();
    });
    InOperators([this](TOperatorsDlg& dlg) {
        EXPECT_EQ(dlg.OperNum->currentIndex(), 6);
        script.OnNextModal([this](QDialog&) {
            EXPECT_EQ(OperNameDlg->OperPwd->text(), "");
            EXPECT_EQ(OperNameDlg->OperName->text(), "");
            script.OnNextModal([](QDialog&) {});  // the printer refuses an empty name
            OperNameDlg->OkBt->click();
        });
        dlg.OperName->click();
    });
    EXPECT_EQ(TakeRequests(), (std::vector<Sent>{{qmr::SetOperatorName, "7,,"}}));
}

TEST_F(OperatorsWindow, TheUnboundOperatorsReportPrintsWithoutAPassword) {
    Connect();
    OperatorsDlg->OperReportClick();
    EXPECT_EQ(TakeRequests(), (std::vector<Sent>{{qmr::PrintOperatorsReport, ""}}));
    WithPrinter([](Printer& p) {
        ASSERT_FALSE(p.paper.empty());
        EXPECT_EQ(p.paper.front(), "OPERATORS REPORT");
    });
}

TEST_F(OperatorsWindow, WithThePortClosedTheDialogsCloseAfterTheLinksMessage) {
    InOperators([this](TOperatorsDlg& dlg) { ChangeName(dlg, "4826", "X"); });
    EXPECT_EQ(script.MessageTexts(), std::vector<QString>{"Serial port not open"});
    EXPECT_FALSE(OperNameDlg->isVisible());
    EXPECT_TRUE(Commands().empty());
}

}  // namespace
}  // namespace prendix
