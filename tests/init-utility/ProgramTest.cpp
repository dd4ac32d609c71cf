// Programming the identification and tax settings from Prendix's window,
// against the simulated printer.
#include <gtest/gtest.h>

#include "Commands.h"
#include "PrendixFixture.h"

namespace prendix {
namespace {

using qmrsim::Printer;
namespace st = qmrsim::st;

const QString TurnOffAndOn = "Turn the printer off and then on";

class Program : public PrendixWindow {
protected:
    void FillTaxes() {
        InitFP->Decimals->setCurrentIndex(1);
        InitFP->TaxA_Box->setChecked(true);
        InitFP->TaxB_Box->setChecked(true);
        InitFP->TaxA->setText("20");
        InitFP->TaxB->setText("7");
    }
    std::vector<QString> Boxes() { return script.MessageTexts(); }
};

struct StepCase {
    const char* name;
    const char* start;
    bool updateFM;
    std::vector<int> sent;
};

class ProgramSteps : public Program, public ::testing::WithParamInterface<StepCase> {};

TEST_P(ProgramSteps, SendWhatTheStatusAndTheTickBoxAskForWithABoxAfterEach) {
    const StepCase& c = GetParam();
    Start(c.start);
    InitFP->SerialBox->setText("AB123456");
    InitFP->CountryBox->setCurrentIndex(6);
    InitFP->ModuleBox->setText("77000001");
    if (c.updateFM) InitFP->UpdateFM->click();
    FillTaxes();
    sim.ClearRequests();
    Password("4826");
    InitFP->PgmBt->click();
    EXPECT_EQ(Commands(), c.sent);
    EXPECT_EQ(Boxes(), std::vector<QString>(c.sent.size() - 1, TurnOffAndOn));
    for (const auto& m : script.messages) EXPECT_EQ(m.caption, "Init QMR-770");
    WithPrinter([](Printer& p) {
        EXPECT_EQ(p.identification.taxRates, (std::array<int, 4>{2000, 700, 0, 0}));
        EXPECT_TRUE(p.StatusBit(st::TaxRatesSet));
    });
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProgramSteps,
    ::testing::Values(StepCase{"SerialNotSet", "blank", false, {74, 91, 83}},
                      StepCase{"SerialNotSetWithFmNumber", "blank", true, {74, 91, 92, 83}},
                      StepCase{"SerialSet", "ready", false, {74, 83}},
                      StepCase{"SerialSetWithFmNumber", "ready", true, {74, 92, 83}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Program, ABlankPrinterTakesTheTextsAsTheWindowHoldsThem) {
    Start("blank");
    InitFP->SerialBox->setText("AB123456");
    InitFP->CountryBox->setCurrentIndex(2);
    InitFP->UpdateFM->click();
    InitFP->ModuleBox->setText("77000001");
    FillTaxes();
    sim.ClearRequests();
    Password("4826");
    InitFP->PgmBt->click();
    EXPECT_EQ(Requests(), (std::vector<Sent>{{74, ""}, {91, "2,AB123456"}, {92, "77000001"},
                                             {83, "4826,02,1100,20.00,07.00,00.00,00.00"}}));
    WithPrinter([](Printer& p) {
        EXPECT_EQ(p.identification.serialNumber, "AB123456");
        EXPECT_EQ(p.identification.fmNumber, "77000001");
        EXPECT_TRUE(p.StatusBit(st::SerialSet));
    });
}

TEST_F(Program, NoCountryAndNoFmNumberAreSentAsTheyAreAndThePrinterJudges) {
    Start("blank");
    InitFP->SerialBox->setText("AB1");
    InitFP->CountryBox->setCurrentIndex(-1);
    InitFP->UpdateFM->click();
    sim.ClearRequests();
    Password("4826");
    StatusDialog();  // the printer refuses the country -1
    StatusDialog();  // and the empty number
    InitFP->PgmBt->click();
    EXPECT_EQ(Requests(), (std::vector<Sent>{{74, ""}, {91, "-1,AB1"}, {92, ""}, {83, "4826,02,0000,00.00,00.00,00.00,00.00"}}));
    EXPECT_EQ(Boxes(), std::vector<QString>(3, TurnOffAndOn));  // a refusal outside the fatal bits goes on
}

TEST_F(Program, AStopOnAFatalStatusEndsTheRunAtThatStep) {
    Start("ready");
    InitFP->UpdateFM->click();
    InitFP->ModuleBox->setText("1");
    WithPrinter([](Printer& p) {
        p.SetHandler(qmr::SetFiscalMemoryNumber, [](Printer& printer, const qmrsim::Request&) {
            printer.Fail(st::CommonError);
            return std::string();
        });
    });
    sim.ClearRequests();
    Password("4826");
    InitFP->PgmBt->click();
    EXPECT_EQ(Commands(), (std::vector<int>{74, 92}));
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(Program, RefusalsBeforeAnythingIsSent) {
    InitFP->PgmBt->click();  // the port closed: the link's message alone, no prompt
    EXPECT_EQ(Boxes(), std::vector<QString>{"Serial port not open"});
    EXPECT_TRUE(script.modals.empty());

    WithPrinter([](Printer& p) { p.SetStatusBit(st::FmFormatted, false); });
    InitFP->ConnectBt->click();
    script.messages.clear();
    InitFP->PgmBt->click();
    EXPECT_EQ(Boxes(), std::vector<QString>{"Fiscal memory is not formatted"});
    EXPECT_EQ(script.messages[0].caption, "Error");
    EXPECT_TRUE(script.modals.empty());

    WithPrinter([](Printer& p) { qmrsim::SetUpStartState(p, "blank"); });
    const struct {
        const char* name;
        void (*fill)();
        const char* message;
    } cases[] = {
        {"SerialTooLong", [] { InitFP->SerialBox->setText(QString(218, 'S')); }, "Serial number is too long"},
        {"FmNumberTooLong",
         [] {
             InitFP->SerialBox->setText("AB1");
             InitFP->UpdateFM->setChecked(true);
             InitFP->ModuleBox->setText(QString(220, '1'));
         },
         "FM number is too long"},
        {"RateInExponentForm",
         [] {
             InitFP->ModuleBox->setText("1");
             InitFP->TaxD->setText("1e300");
         },
         "Tax rates are too large"},
    };
    for (const auto& c : cases) {
        c.fill();
        sim.ClearRequests();
        script.messages.clear();
        Password("4826");
        InitFP->PgmBt->click();
        EXPECT_EQ(Boxes(), std::vector<QString>{c.message}) << c.name;
        EXPECT_EQ(Commands(), std::vector<int>{74}) << c.name;
    }
    WithPrinter([](Printer& p) { EXPECT_FALSE(p.StatusBit(st::SerialSet)); });
}

TEST_F(Program, ThePasswordPromptClosedEndsTheRun) {
    Start("ready");
    sim.ClearRequests();
    script.OnNextModal([](QDialog& prompt) { prompt.reject(); });
    InitFP->PgmBt->click();
    EXPECT_EQ(Commands(), std::vector<int>{74});
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(Program, TheFmTickBoxUnlocksTheNumber) {
    Start("ready");
    InitFP->RefreshBt->click();
    EXPECT_FALSE(InitFP->ModuleBox->isEnabled());
    InitFP->UpdateFM->click();
    EXPECT_TRUE(InitFP->ModuleBox->isEnabled());
    InitFP->UpdateFM->click();
    EXPECT_FALSE(InitFP->ModuleBox->isEnabled());
}

}  // namespace
}  // namespace prendix
