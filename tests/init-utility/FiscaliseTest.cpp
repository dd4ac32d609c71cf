// Non fiscal mode, fiscalisation and refiscalisation from Prendix's window,
// against the simulated printer.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>

#include "Commands.h"
#include "PrendixFixture.h"

namespace prendix {
namespace {

using qmr::Link;
using qmrsim::Printer;
namespace st = qmrsim::st;

class Fiscalise : public PrendixWindow {};

TEST_F(Fiscalise, AReadyPrinterIsFiscalisedWithTheTaxNumberAndShowsItAfterTheRefresh) {
    Start("ready");
    InitFP->IdNumBox->setText("1234567890");
    InitFP->IdBox->setChecked(true);
    sim.ClearRequests();
    Password("4826");
    script.AnswerNext(qmr::IdYes);
    // Each pause with the commands sent before it: the printer needs its time
    // after 72 before the refresh asks it anything.
    std::vector<std::pair<int, std::vector<int>>> pauses;
    clock.onSleep = [&](int ms) { pauses.emplace_back(ms, Commands()); };
    InitFP->FiscaliseBt->click();
    clock.onSleep = nullptr;
    EXPECT_EQ(pauses, (std::vector<std::pair<int, std::vector<int>>>{{3000, {74, 90, 98, 72}}}));
    EXPECT_EQ(Requests(), (std::vector<Sent>{{74, ""}, {90, ""}, {98, "1234567890,1"}, {72, "4826,50001234"},
                                             {74, ""}, {90, ""}, {83, ""}, {97, ""}, {99, ""}}));
    ASSERT_EQ(script.messages.size(), 2u);
    EXPECT_EQ(script.messages[0].text, "Printer will go to fiscal mode\nContinue?");
    EXPECT_EQ(script.messages[0].caption, "Warning");
    EXPECT_EQ(script.messages[0].defaultAnswer, qmr::IdNo);  // a Return does not fiscalise
    EXPECT_EQ(script.messages[1].text, "Printer is fiscalized");
    EXPECT_EQ(script.messages[1].caption, "Message");
    ASSERT_EQ(script.modals.size(), 1u);
    EXPECT_EQ(script.modals[0].objectName, "RepPwdDlg");
    WithPrinter([](Printer& p) { EXPECT_TRUE(p.StatusBit(st::Fiscalized)); });
    // The refresh shows the new state.
    EXPECT_FALSE(InitFP->IdNumBox->isEnabled());
    EXPECT_FALSE(InitFP->LearnBt->isEnabled());
    EXPECT_EQ(InitFP->IdNumBox->text(), "1234567890");
    EXPECT_TRUE(InitFP->IdBox->isChecked());
}

// A fatal refusal on the way ends the run before 72: the printer is not
// fiscalised with the tax number it had, nor with an identification it
// did not give.
TEST_F(Fiscalise, AFatalRefusalBeforeTheFiscalisationSendsNo72) {
    const struct {
        const char* name;
        const char* start;
        int refused;
        std::vector<int> sent;
        std::vector<QString> messages;
    } cases[] = {
        {"DeviceInfo", "ready", qmr::ReadDeviceInfo, {74, 90}, {}},
        {"SetTaxNumber", "ready", qmr::SetTaxNumber, {74, 90, 98}, {"Printer will go to fiscal mode\nContinue?"}},
        {"ReadTaxNumberOfTheRefiscalisation", "fiscalised", qmr::ReadTaxNumber, {74, 99}, {}},
        {"DeviceInfoOfTheRefiscalisation", "fiscalised", qmr::ReadDeviceInfo, {74, 99, 90}, {}},
    };
    Start("ready");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const bool fiscalised = std::string(c.start) == "fiscalised";
        WithPrinter([&](Printer& p) {
            p = Printer();
            qmrsim::SetUpStartState(p, c.start);
            p.SetHandler(c.refused, [answer = p.HandlerOf(c.refused)](Printer& printer, const qmrsim::Request& q) {
                const std::string reply = answer(printer, q);
                printer.Fail(st::CommonError);
                return reply;
            });
        });
        InitFP->IdNumBox->setText("1234567890");
        sim.ClearRequests();
        script.messages.clear();
        if (!fiscalised) Password("4826");
        if (c.refused == qmr::SetTaxNumber) script.AnswerNext(qmr::IdYes);
        if (fiscalised && c.refused == qmr::ReadDeviceInfo) {
            script.OnNextModal([this](QDialog&) {
                FiscaliseDlg->IdNumBox->setText("2222222222");
                Password("4826");
                FiscaliseDlg->OkBt->click();
            });
        }
        InitFP->FiscaliseBt->click();
        EXPECT_EQ(Commands(), c.sent);
        EXPECT_EQ(script.MessageTexts(), c.messages);
        EXPECT_TRUE(script.ScriptUsedUp());
        WithPrinter([&](Printer& p) {
            EXPECT_EQ(p.StatusBit(st::Fiscalized), fiscalised);
            EXPECT_NE(p.identification.taxNumber, "2222222222");
        });
    }
}

TEST_F(Fiscalise, EachMissingConditionIsToldInItsOrder) {
    const struct {
        const char* name;
        void (*setUp)(Printer&);
        const char* message;
    } cases[] = {
        {"NotFormatted", [](Printer&) {}, "Fiscal memory is not formatted"},
        {"NoSerial", [](Printer& p) { qmrsim::SetUpStartState(p, "blank"); }, "Serial number not set"},
        {"NoTaxRates",
         [](Printer& p) {
             qmrsim::SetUpStartState(p, "ready");
             p.SetStatusBit(st::TaxRatesSet, false);
         },
         "Tax rates not set"},
    };
    InitFP->ConnectBt->click();
    for (const auto& c : cases) {
        WithPrinter([&](Printer& p) {
            p = Printer();
            c.setUp(p);
        });
        sim.ClearRequests();
        script.messages.clear();
        InitFP->FiscaliseBt->click();
        EXPECT_EQ(script.MessageTexts(), std::vector<QString>{c.message}) << c.name;
        EXPECT_EQ(script.messages[0].caption, "Error");
        EXPECT_EQ(Commands(), std::vector<int>{74}) << c.name;
    }
}

TEST_F(Fiscalise, NoToTheQuestionAClosedPromptOrAnInvalidNumberStoreNothing) {
    Start("ready");
    InitFP->IdNumBox->setText("1234567890");
    sim.ClearRequests();
    Password("4826");
    script.AnswerNext(qmr::IdNo);
    InitFP->FiscaliseBt->click();
    EXPECT_EQ(Commands(), (std::vector<int>{74, 90}));

    sim.ClearRequests();
    script.OnNextModal([](QDialog& prompt) { prompt.reject(); });  // the close box
    InitFP->FiscaliseBt->click();
    EXPECT_EQ(Commands(), std::vector<int>{74});

    for (const char* number : {"0000000000", "123456789"}) {
        InitFP->IdNumBox->setText(number);
        sim.ClearRequests();
        script.messages.clear();
        script.OnNextModal([](QDialog& form) { dynamic_cast<TRepPwdDlg&>(form).OkBt->click(); });  // the same password again
        InitFP->FiscaliseBt->click();
        EXPECT_EQ(script.MessageTexts(), std::vector<QString>{"Tax registration number invalid"}) << number;
        EXPECT_EQ(Commands(), std::vector<int>{74}) << number;
    }
    WithPrinter([](Printer& p) { EXPECT_EQ(p.identification.taxNumber, ""); });
}

TEST_F(Fiscalise, AShortIdentificationReplySendsThePasswordAndALoneComma) {
    Start("ready");
    WithPrinter([](Printer& p) { p.SetReplyData(qmr::ReadDeviceInfo, "QMR-770 V1,4F2A,0,2"); });
    InitFP->IdNumBox->setText("000000000A");
    sim.ClearRequests();
    Password("4826");
    script.AnswerNext(qmr::IdYes);
    StatusDialog();  // the printer does not know that identification
    InitFP->FiscaliseBt->click();
    EXPECT_EQ(Requests(), (std::vector<Sent>{{74, ""}, {90, ""}, {98, "000000000A,0"}, {72, "4826,"}}));
    EXPECT_EQ(script.MessageTexts(), std::vector<QString>{"Printer will go to fiscal mode\nContinue?"});
}

TEST_F(Fiscalise, TextsTooLongForThePrinterAreRefusedBeforeTheTaxNumberIsStored) {
    Start("ready");
    InitFP->IdNumBox->setText(QString(62, '7'));
    sim.ClearRequests();
    Password("4826");
    InitFP->FiscaliseBt->click();
    EXPECT_EQ(script.MessageTexts(), std::vector<QString>{"VAT number is too long"});
    EXPECT_EQ(script.messages[0].caption, "Error");
    EXPECT_EQ(Commands(), (std::vector<int>{74, 90}));

    WithPrinter([](Printer& p) { p.SetReplyData(qmr::ReadDeviceInfo, "a,b,c,d,e," + std::string(60, 'i')); });
    InitFP->IdNumBox->setText("1234567890");
    sim.ClearRequests();
    script.messages.clear();
    Password("4826");
    InitFP->FiscaliseBt->click();
    EXPECT_EQ(script.MessageTexts(), std::vector<QString>{"Printer identification is too long"});
    EXPECT_EQ(Commands(), (std::vector<int>{74, 90}));
    WithPrinter([](Printer& p) { EXPECT_EQ(p.identification.taxNumber, ""); });
}

TEST_F(Fiscalise, WithThePortClosedOnlyTheLinkSpeaks) {
    InitFP->FiscaliseBt->click();
    InitFP->LearnBt->click();
    EXPECT_EQ(script.MessageTexts(), (std::vector<QString>{"Serial port not open", "Serial port not open"}));
    EXPECT_TRUE(script.modals.empty());
}

TEST_F(Fiscalise, NonFiscalModeStoresTheNumberAsTypedOnlyBeforeFiscalisation) {
    Start("ready");
    sim.ClearRequests();
    InitFP->LearnBt->click();  // an empty number with PN
    InitFP->IdNumBox->setText("12 AB");
    InitFP->IdBox->setChecked(true);
    InitFP->LearnBt->click();
    EXPECT_EQ(Requests(), (std::vector<Sent>{{74, ""}, {98, ",0"}, {74, ""}, {98, "12 AB,1"}}));
    EXPECT_TRUE(script.messages.empty());
    WithPrinter([](Printer& p) { EXPECT_EQ(p.identification.taxNumber, "12 AB"); });

    InitFP->IdNumBox->setText(QString(62, '1'));
    sim.ClearRequests();
    InitFP->LearnBt->click();
    EXPECT_EQ(script.MessageTexts(), std::vector<QString>{"VAT number is too long"});
    EXPECT_EQ(Commands(), std::vector<int>{74});

    WithPrinter([](Printer& p) { p.SetStatusBit(st::Fiscalized); });
    sim.ClearRequests();
    script.messages.clear();
    InitFP->LearnBt->click();
    EXPECT_EQ(script.MessageTexts(), std::vector<QString>{"Printer already fiscalised"});
    EXPECT_EQ(script.messages[0].caption, "Error");
    EXPECT_EQ(Commands(), std::vector<int>{74});
}

TEST_F(Fiscalise, AFiscalisedPrinterOpensTheRefiscalisationDialogFilledFromThePrinter) {
    Start("fiscalised");
    const struct {
        const char* reply;
        const char* number;
        bool idType;
    } cases[] = {{"0000000042,1", "0000000042", true}, {"0000000042,0", "0000000042", false},
                 {"123456789012345678901,1xyz", "123456789012345678901", true}, {"7,", "7", false}};
    for (const auto& c : cases) {
        WithPrinter([&](Printer& p) { p.SetReplyData(qmr::ReadTaxNumber, c.reply); });
        FiscaliseDlg->IdBox->setChecked(!c.idType);  // as the last showing left it
        sim.ClearRequests();
        script.OnNextModal([&](QDialog& form) {
            EXPECT_EQ(&form, FiscaliseDlg);
            EXPECT_EQ(FiscaliseDlg->IdNumBox->text(), c.number);
            EXPECT_EQ(FiscaliseDlg->IdBox->isChecked(), c.idType);
            EXPECT_EQ(FiscaliseDlg->PnBox->isChecked(), !c.idType);
            FiscaliseDlg->CancelBt->click();
        });
        InitFP->FiscaliseBt->click();
        EXPECT_EQ(Commands(), (std::vector<int>{74, 99})) << c.reply;  // no password before the dialog
        EXPECT_EQ(script.modals.back().caption, "Refiscalisation");
    }
    // A reply without a comma shows no dialog.
    WithPrinter([](Printer& p) { p.SetReplyData(qmr::ReadTaxNumber, "1234567890"); });
    InitFP->FiscaliseBt->click();
    EXPECT_EQ(script.modals.size(), 4u);
    EXPECT_TRUE(script.messages.empty());
}

TEST_F(Fiscalise, RefiscalisationSendsTheNewNumberAfterYesAndNothingAfterNo) {
    Start("fiscalised");
    const auto refiscalise = [this](int answer) {
        script.OnNextModal([this, answer](QDialog&) {
            FiscaliseDlg->IdNumBox->setText("2222222222");
            FiscaliseDlg->IdBox->setChecked(true);
            Password("4826");
            script.AnswerNext(answer);
            FiscaliseDlg->OkBt->click();
            EXPECT_FALSE(FiscaliseDlg->isVisible());  // closed after Yes and after No alike
        });
        sim.ClearRequests();
        InitFP->FiscaliseBt->click();
    };
    refiscalise(qmr::IdNo);
    EXPECT_EQ(Commands(), (std::vector<int>{74, 99, 90}));
    refiscalise(qmr::IdYes);
    EXPECT_EQ(Requests(), (std::vector<Sent>{{74, ""}, {99, ""}, {90, ""}, {72, "4826,50001234,2222222222,1"}}));
    EXPECT_EQ(script.messages.back().text, "Refiscalise?");
    EXPECT_EQ(script.messages.back().caption, "Warning");
    EXPECT_EQ(script.messages.back().defaultAnswer, qmr::IdNo);
    WithPrinter([](Printer& p) { EXPECT_EQ(p.identification.taxNumber, "2222222222"); });
}

TEST_F(Fiscalise, TheDialogStaysOpenAfterAnInvalidNumberOrAClosedPrompt) {
    Start("fiscalised");
    script.OnNextModal([this](QDialog&) {
        FiscaliseDlg->IdNumBox->setText("0000000000");
        Password("4826");
        FiscaliseDlg->OkBt->click();
        EXPECT_TRUE(FiscaliseDlg->isVisible());
        script.OnNextModal([](QDialog& prompt) { prompt.reject(); });
        FiscaliseDlg->OkBt->click();
        EXPECT_TRUE(FiscaliseDlg->isVisible());
    });
    sim.ClearRequests();
    InitFP->FiscaliseBt->click();
    EXPECT_EQ(script.MessageTexts(), std::vector<QString>{"Tax registration number invalid"});
    EXPECT_EQ(Commands(), (std::vector<int>{74, 99}));
}

// The README's walk: a blank printer put into service from the demo data file.
TEST_F(Fiscalise, ABlankPrinterIsPutIntoServiceFromTheDemoFile) {
    Start("blank");
    script.PickNextFile(QStringLiteral(EXAMPLES_DIR "/demo-shop.fpd"));
    InitFP->FromFileBt->click();
    InitFP->UpdateFM->click();
    Password("4826");
    InitFP->PgmBt->click();
    script.OnNextModal([](QDialog&) { HeaderDlg->OkBt->click(); });
    InitFP->HeaderBt->click();
    script.OnNextModal([](QDialog& prompt) { dynamic_cast<TRepPwdDlg&>(prompt).OkBt->click(); });
    script.AnswerNext(qmr::IdYes);
    InitFP->FiscaliseBt->click();
    EXPECT_EQ(script.messages.back().text, "Printer is fiscalized");
    EXPECT_EQ(InitFP->SerialBox->text(), "ZK000501");
    EXPECT_FALSE(InitFP->SerialBox->isEnabled());
    EXPECT_EQ(InitFP->TaxB->text(), "7.00");
    EXPECT_EQ(InitFP->ModuleBox->text(), "50000501");
    WithPrinter([](Printer& p) {
        EXPECT_TRUE(p.StatusBit(st::Fiscalized));
        EXPECT_EQ(p.identification.taxNumber, "1234567890");
        // The file's own spacing survives: each indented line starts with '%'.
        EXPECT_EQ(p.setup.lines[0], "     DEMO SHOP");
        EXPECT_EQ(p.setup.lines[1], "   12 Market Street");
        EXPECT_EQ(p.setup.lines[6], "   Thank you");
    });
}

TEST_F(Fiscalise, BothDialogsTakeTheirPlacesInTheStartUpList) {
    const QObjectList forms = InitFP->children();
    EXPECT_LT(forms.indexOf(StatusDlg), forms.indexOf(HeaderDlg));
    EXPECT_LT(forms.indexOf(HeaderDlg), forms.indexOf(RepPwdDlg));
    EXPECT_LT(forms.indexOf(RepPwdDlg), forms.indexOf(FiscaliseDlg));
    EXPECT_EQ(HeaderDlg->parent(), InitFP);
}

TEST(TFiscaliseDlgForm, ShowsItsCaptionsUncutOffersPnOrIdAndClosesOnEsc) {
    TFiscaliseDlg dlg;
    EXPECT_EQ(dlg.Label1->text(), "VAT Number:");
    EXPECT_EQ(dlg.RadioGroup1->title(), " Reg. Type ");
    EXPECT_EQ(dlg.PnBox->text(), "PN");
    EXPECT_EQ(dlg.IdBox->text(), "ID");
    EXPECT_EQ(dlg.PnBox->parent(), dlg.RadioGroup1);  // in the frame so titled
    EXPECT_EQ(dlg.IdBox->parent(), dlg.RadioGroup1);
    EXPECT_TRUE(dlg.PnBox->isChecked());
    EXPECT_EQ(dlg.OkBt->text(), "Fiscalize");
    EXPECT_EQ(dlg.CancelBt->text(), "CancelBt");
    dlg.IdNumBox->setText(QString(30, '1'));  // the program's own text is not cut
    EXPECT_EQ(dlg.IdNumBox->text().size(), 30);
    EXPECT_EQ(qmr::test::ClippedCaptions(dlg), std::vector<std::string>{});
    EXPECT_EQ(qmr::test::OverlappingControls(dlg), std::vector<std::string>{});
    // Esc presses CancelBt, which closes the dialog.
    dlg.show();
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&dlg, &esc);
    EXPECT_FALSE(dlg.isVisible());
}

}  // namespace
}  // namespace prendix
