// Every control of each Vextora form reaches its handler: each is clicked,
// double-clicked, typed into or sent its key as a user would, and the
// handler's mark is looked for. A handler that is not connected fails here
// even where the handler's own tests pass.
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <algorithm>
#include <functional>

#include "VextoraFixture.h"

namespace vextora {
namespace {

struct Binding {
    const char* control;
    std::function<void()> act;
    // Whether the handler left its mark.
    std::function<bool()> ran;
};

void SendMouse(QWidget* target, QEvent::Type type, const QPoint& at, Qt::MouseButtons buttons) {
    QMouseEvent event(type, at, target->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

// A press and release, and a second press that the system makes a double click.
void DoubleClick(QWidget* target, const QPoint& at) {
    SendMouse(target, QEvent::MouseButtonPress, at, Qt::LeftButton);
    SendMouse(target, QEvent::MouseButtonRelease, at, Qt::NoButton);
    SendMouse(target, QEvent::MouseButtonDblClick, at, Qt::LeftButton);
    SendMouse(target, QEvent::MouseButtonRelease, at, Qt::NoButton);
}

void Press(QWidget* target, const QPoint& at) {
    SendMouse(target, QEvent::MouseButtonPress, at, Qt::LeftButton);
    SendMouse(target, QEvent::MouseButtonRelease, at, Qt::NoButton);
}

// A key as the focused control gets it; what it leaves goes on to its form.
void Key(QWidget* target, int key, const QString& text = {}) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &release);
}

class Bindings : public VextoraWindow {
protected:
    std::size_t modalsBefore_ = 0;
    std::size_t filesBefore_ = 0;

    void SetUp() override {
        VextoraWindow::SetUp();
        LoadArticles("15,1,2.50,2,MILK\r\n16,1,1.00,1,BREAD\r\n");
    }
    QPoint RowCentre(int row) const {
        return Form1->ArtTable->visualRect(Form1->ArtTable->model()->index(row - 1, ColName)).center();
    }
    bool WasSent(const Sent& request) {
        const auto received = TakeRequests();
        return std::find(received.begin(), received.end(), request) != received.end();
    }
    bool WasSent(int command) {
        const auto received = TakeCommands();
        return std::find(received.begin(), received.end(), command) != received.end();
    }
    // A form shown, or a file dialog put up, by this binding.
    bool ShownModal(const char* name) const {
        return script.modals.size() > modalsBefore_ && script.modals.back().objectName == name;
    }
    bool PutUpFileDialog(qmr::ui::FileDialog::Kind kind) const {
        return script.files.size() > filesBefore_ && script.files.back().kind == kind;
    }
    void Run(const std::vector<Binding>& table) {
        for (const Binding& b : table) {
            sim.ClearRequests();
            modalsBefore_ = script.modals.size();
            filesBefore_ = script.files.size();
            b.act();
            EXPECT_TRUE(b.ran()) << b.control;
        }
    }
};

TEST_F(Bindings, EveryControlOfTheMainWindowRunsItsHandler) {
    Form1->ArtTable->SelectRow(1);
    Run({
        {"ConnectBt", [] { Form1->ConnectBt->click(); }, [] { return qmr::Link().Connected; }},
        {"PortNum",
         [this] {
             qmr::test::PortsScope more({"/dev/ttyQMR0", "/dev/ttyQMR1", "/dev/ttyUSBQMR"}, sim.DevicePath());
             Form1->PortNum->showPopup();
             Form1->PortNum->hidePopup();
         },
         [] { return Form1->PortNum->count() == 4; }},
        {"RefreshBt", [] { Form1->RefreshBt->click(); }, [this] { return WasSent({qmr::ReadStatus, ""}); }},
        {"CancelBt",
         [] {
             StopFlag = false;
             Form1->CancelBt->setEnabled(true);  // as a running transfer has it
             Form1->CancelBt->click();
         },
         [] { return StopFlag; }},
        {"ArtTable press",
         [this] {
             Form1->PriceFld->clear();
             Press(Form1->ArtTable->viewport(), RowCentre(2));
         },
         [] { return Form1->PriceFld->text() == "1.00"; }},
        {"QuantityFld",
         [] {
             Form1->QuantityFld->setFocus();
             Form1->QuantityFld->selectAll();
             Key(Form1->QuantityFld, Qt::Key_3, QStringLiteral("3"));
         },
         [] { return Form1->PriceFld->text() == "3.00"; }},
        {"SelBt",
         [] {
             Form1->ArtTable->SelectRow(1);
             Form1->SelBt->click();
         },
         [this] { return WasSent({qmr::SellArticleWithDisplay, "15*3.000"}); }},
        {"ArtTable double click", [this] { DoubleClick(Form1->ArtTable->viewport(), RowCentre(1)); },
         [this] { return WasSent({qmr::SellArticleWithDisplay, "15*1.000"}); }},
        {"SumFld double click", [] { DoubleClick(Form1->SumFld, Form1->SumFld->rect().center()); },
         [this] { return WasSent({qmr::ReadReceiptTotals, "T"}); }},
        {"PayBt", [] { Form1->PayBt->click(); }, [this] { return WasSent(qmr::RegisterPayment); }},
        {"LoadM",
         [this] {
             script.PickNextFile(std::nullopt);
             Form1->LoadM->trigger();
         },
         [this] { return PutUpFileDialog(qmr::ui::FileDialog::Kind::Open); }},
        {"SaveM",
         [this] {
             script.PickNextFile(std::nullopt);
             Form1->SaveM->trigger();
         },
         [this] { return PutUpFileDialog(qmr::ui::FileDialog::Kind::Save); }},
        {"StoreM",
         [this] {
             script.OnNextModal([](QDialog&) {});
             Form1->StoreM->trigger();
         },
         [this] { return ShownModal("PwdDialog"); }},
        {"ArtTable Delete",
         [this] {
             Form1->ArtTable->SelectRow(1);
             script.OnNextModal([](QDialog&) {});
             Key(Form1->ArtTable, Qt::Key_Delete);
         },
         [this] { return ShownModal("PwdDialog"); }},
        {"ReadFMM",
         [this] {
             script.OnNextModal([](QDialog&) {});
             Form1->ReadFMM->trigger();
         },
         [this] { return ShownModal("MemForm") && script.modals.back().caption == "Read Fiscal Memory"; }},
        {"ReadCodeMM",
         [this] {
             script.OnNextModal([](QDialog&) {});
             Form1->ReadCodeMM->trigger();
         },
         [this] { return ShownModal("MemForm") && script.modals.back().caption == "Read Firmware"; }},
        {"ReadfromPrinter1", [] { Form1->ReadfromPrinter1->trigger(); },
         [this] { return WasSent({qmr::ProgramArticles, "F"}); }},
        {"OperatorM",
         [this] {
             script.OnNextModal([](QDialog&) {});
             Form1->OperatorM->trigger();
         },
         [this] { return ShownModal("OperatorDlg"); }},
        {"TestM",
         [this] {
             script.OnNextModal([](QDialog&) {});
             Form1->TestM->trigger();
         },
         [this] { return ShownModal("CommandFrm"); }},
    });
}

TEST_F(Bindings, EveryControlOfTheDumpWindowRunsItsHandler) {
    Connect();
    script.OnNextModal([this](QDialog&) {
        DuringRequest(qmr::ReadFirmwareBlock, "00000,64", 1, [] { MemForm->CancelBt->click(); });
        Run({
            {"ReadBt", [] { MemForm->ReadBt->click(); }, [this] { return WasSent({qmr::ReadFirmwareBlock, "00000,64"}); }},
            {"CancelBt",
             [] {
                 DumpStopFlag = false;
                 MemForm->CancelBt->setEnabled(true);  // as a running read has it
                 MemForm->CancelBt->click();
             },
             [] { return DumpStopFlag; }},
            {"SaveBt",
             [this] {
                 script.PickNextFile(std::nullopt);
                 MemForm->SaveBt->click();
             },
             [this] { return PutUpFileDialog(qmr::ui::FileDialog::Kind::Save); }},
        });
    });
    Form1->ReadCodeMM->trigger();
}

TEST_F(Bindings, EveryControlOfTheConsoleRunsItsHandler) {
    Connect();
    // Each one in its own showing, as the user opens the console for it.
    const auto inConsole = [this](std::function<void()> act) {
        return [this, act] {
            script.OnNextModal([act](QDialog&) { act(); });
            Form1->TestM->trigger();
        };
    };
    CommandFrm->CmdBox->setText("74");
    CommandFrm->StatusBt->setEnabled(true);
    Run({
        {"FormShow", inConsole([] {}), [] { return !CommandFrm->StatusBt->isEnabled(); }},
        {"ExecuteBt", inConsole([] { CommandFrm->ExecuteBt->click(); }), [this] { return WasSent({qmr::ReadStatus, ""}); }},
        {"Enter", inConsole([] { Key(CommandFrm->DataBox, Qt::Key_Return); }),
         [this] { return WasSent({qmr::ReadStatus, ""}); }},
        {"StatusBt",
         inConsole([this] {
             CommandFrm->ExecuteBt->click();
             script.OnNextModal([](QDialog&) {});
             CommandFrm->StatusBt->click();
         }),
         [this] { return ShownModal("StatusDlg"); }},
    });
}

TEST_F(Bindings, EveryControlOfThePasswordDialogRunsItsHandler) {
    const auto inDialog = [this](std::function<void()> act) {
        return [this, act] {
            PasswordConfirmed = true;
            EnteredPassword = "before";
            script.OnNextModal([act](QDialog&) {
                PwdDialog->PwdBox->setText("1234");
                act();
            });
            qmr::ui::ShowModal(*PwdDialog);
        };
    };
    Run({
        {"FormShow", inDialog([] {}), [] { return !PasswordConfirmed && EnteredPassword.empty(); }},
        {"OkBt", inDialog([] { PwdDialog->OkBt->click(); }), [] { return PasswordConfirmed && EnteredPassword == "1234"; }},
        {"Enter", inDialog([] { Key(PwdDialog->PwdBox, Qt::Key_Return); }),
         [] { return PasswordConfirmed && EnteredPassword == "1234"; }},
    });
}

TEST_F(Bindings, EveryControlOfTheOperatorDialogRunsItsHandler) {
    const auto inDialog = [this](std::function<void()> act) {
        return [this, act] {
            script.OnNextModal([act](QDialog&) {
                OperatorDlg->OperNmb->setCurrentIndex(4);
                OperatorDlg->OperP->setText("77");
                act();
            });
            Form1->OperatorM->trigger();
        };
    };
    OperatorDlg->OperNmb->setCurrentIndex(8);
    Run({
        {"FormShow",
         [this] {
             script.OnNextModal([](QDialog&) {});
             Form1->OperatorM->trigger();
         },
         [] { return OperatorDlg->OperNmb->currentIndex() == 0; }},
        {"OkBt", inDialog([] { OperatorDlg->OkBt->click(); }), [] { return OperatorNumber == 5 && OperatorPassword == "77"; }},
        {"Enter",
         inDialog([] {
             OperatorDlg->OperNmb->setCurrentIndex(6);
             Key(OperatorDlg->OperP, Qt::Key_Return);
         }),
         [] { return OperatorNumber == 7; }},
    });
}

}  // namespace
}  // namespace vextora
