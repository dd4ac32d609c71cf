// The link state at start, code page conversion, dialog placement and the
// command table.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>

#include "Commands.h"
#include "Cp1251.h"
#include "LinkState.h"
#include "Placement.h"

namespace qmrtest {
namespace {

// The state a program starts with, and that InstallLink puts back.
TEST(LinkStateTest, StartsClosedAtTheFirstSequenceWithEverythingElseEmpty) {
    qmr::Link().SeqNumber = 0x55;
    qmr::Link().PortHandle = 3;
    qmr::Link().ReceiveBuffer[8191] = 0x01;
    qmr::InstallLink({});
    const qmr::LinkState& s = qmr::Link();

    EXPECT_TRUE(s.PortList.empty());
    EXPECT_FALSE(s.LinkError);
    EXPECT_FALSE(s.Connected);
    EXPECT_FALSE(s.SuppressStatusDlg);
    EXPECT_EQ(s.PortIndex, 0);
    EXPECT_EQ(s.BaudIndex, 3);
    EXPECT_EQ(s.BaudRate, 0);
    EXPECT_EQ(s.CommandResult, 0);
    EXPECT_EQ(s.PortHandle, -1);
    EXPECT_EQ(s.SeqNumber, 0x20);
    EXPECT_EQ(s.LastCommand, 0);
    EXPECT_EQ(s.StatusBytes, (std::array<std::uint8_t, 6>{}));
    EXPECT_EQ(s.SendChecksum, 0u);
    EXPECT_EQ(s.StatusWord, 0u);
    EXPECT_EQ(s.ReceiveBuffer.size(), 8192u);
    EXPECT_TRUE(std::all_of(s.ReceiveBuffer.begin(), s.ReceiveBuffer.end(), [](std::uint8_t b) { return b == 0; }));
    EXPECT_EQ(s.ReplyData.size(), 256u);
    EXPECT_EQ(s.ReplyText(), "");
}

TEST(Cp1251Test, EveryPrintableByteSurvivesTheRoundTrip) {
    std::string all;
    for (int b = 0x20; b <= 0xFF; ++b) all.push_back(static_cast<char>(b));
    const QString text = qmr::FromCp1251(all);
    EXPECT_EQ(text.size(), static_cast<qsizetype>(all.size()));
    EXPECT_EQ(qmr::ToCp1251(text), all);
}

TEST(Cp1251Test, CyrillicCapitalsStartAtC0) {
    const QString text = qmr::FromCp1251("\xC0\xC1\xC2\xC3\xC4");
    ASSERT_EQ(text.size(), 5);
    for (int k = 0; k < 5; ++k) EXPECT_EQ(text[k].unicode(), 0x0410 + k);
    EXPECT_EQ(qmr::FromCp1251("\xFF")[0].unicode(), 0x044F);
}

TEST(Cp1251Test, CharacterOutsideTheCodePageBecomesQuestionMark) {
    EXPECT_EQ(qmr::ToCp1251(QString::fromUtf8("a\xE4\xB8\xAD" "b")), "a?b");
}

struct PlaceCase {
    int clientWidth, clientHeight, formWidth, formHeight;
    int dx, dy;
};

class PlaceDialogTest : public ::testing::TestWithParam<PlaceCase> {};

TEST_P(PlaceDialogTest, CentresAcrossAndAQuarterDown) {
    const PlaceCase& c = GetParam();
    const qmr::Point at = qmr::PlaceDialog({40, 70}, c.clientWidth, c.clientHeight, c.formWidth, c.formHeight);
    EXPECT_EQ(at.x, 40 + c.dx);
    EXPECT_EQ(at.y, 70 + c.dy);
}

INSTANTIATE_TEST_SUITE_P(Sizes, PlaceDialogTest,
                         ::testing::Values(PlaceCase{500, 400, 301, 201, 99, 49},
                                           PlaceCase{500, 400, 601, 503, -50, -25},
                                           PlaceCase{300, 200, 300, 200, 0, 0}),
                         [](const auto& info) {
                             const PlaceCase& c = info.param;
                             return "Form" + std::to_string(c.formWidth) + "x" + std::to_string(c.formHeight) + "In" +
                                    std::to_string(c.clientWidth) + "x" + std::to_string(c.clientHeight);
                         });

struct CommandCase {
    int number;
    const char* name;
};

class CommandNameTest : public ::testing::TestWithParam<CommandCase> {};

TEST_P(CommandNameTest, NumberHasItsName) {
    EXPECT_EQ(qmr::CommandNameOf(GetParam().number), GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(
    SpotChecks, CommandNameTest,
    ::testing::Values(CommandCase{35, "SendProgressText"}, CommandCase{43, "ConfigureReceiptLayout"},
                      CommandCase{52, "SellArticleWithDisplay"}, CommandCase{74, "ReadStatus"},
                      CommandCase{76, "ReadReceiptTotals"}, CommandCase{83, "SetTaxRatesAndDecimals"},
                      CommandCase{107, "ProgramArticles"}, CommandCase{116, "ReadFiscalMemoryBlock"},
                      CommandCase{132, "ReadFirmwareBlock"}, CommandCase{133, "SetTestSwitch"},
                      CommandCase{36, ""}, CommandCase{134, ""}),
    [](const auto& info) {
        const CommandCase& c = info.param;
        return *c.name ? std::string(c.name) : "NoCommand" + std::to_string(c.number);
    });

TEST(CommandTableTest, FortyFiveCommandsInAscendingOrderMatchingTheEnum) {
    ASSERT_EQ(std::size(qmr::CommandTable), 45u);
    for (std::size_t k = 1; k < std::size(qmr::CommandTable); ++k)
        EXPECT_LT(qmr::CommandTable[k - 1].number, qmr::CommandTable[k].number);
    // Every command: its enumerator, its number and its name in the table.
    struct Row {
        qmr::Command command;
        int number;
        std::string_view name;
    };
    const Row expected[] = {
        {qmr::SendProgressText, 35, "SendProgressText"},
        {qmr::CloseNonFiscalReceipt, 39, "CloseNonFiscalReceipt"},
        {qmr::ConfigureReceiptLayout, 43, "ConfigureReceiptLayout"},
        {qmr::CutPaper, 45, "CutPaper"},
        {qmr::SendDigitText, 47, "SendDigitText"},
        {qmr::OpenFiscalReceipt, 48, "OpenFiscalReceipt"},
        {qmr::RegisterSale, 49, "RegisterSale"},
        {qmr::PrintTaxRateHistory, 50, "PrintTaxRateHistory"},
        {qmr::SellArticleWithDisplay, 52, "SellArticleWithDisplay"},
        {qmr::RegisterPayment, 53, "RegisterPayment"},
        {qmr::PrintFiscalText, 54, "PrintFiscalText"},
        {qmr::CloseFiscalReceipt, 56, "CloseFiscalReceipt"},
        {qmr::CancelFiscalReceipt, 57, "CancelFiscalReceipt"},
        {qmr::SellArticle, 58, "SellArticle"},
        {qmr::SetDateTime, 61, "SetDateTime"},
        {qmr::ReadDateTime, 62, "ReadDateTime"},
        {qmr::ReadLastRecordNumber, 64, "ReadLastRecordNumber"},
        {qmr::PrintDailyReport, 69, "PrintDailyReport"},
        {qmr::RunDiagnostics, 71, "RunDiagnostics"},
        {qmr::FiscalisePrinter, 72, "FiscalisePrinter"},
        {qmr::PrintDetailedReportByNumber, 73, "PrintDetailedReportByNumber"},
        {qmr::ReadStatus, 74, "ReadStatus"},
        {qmr::ReadReceiptTotals, 76, "ReadReceiptTotals"},
        {qmr::PrintShortReportByDate, 79, "PrintShortReportByDate"},
        {qmr::SetTaxRatesAndDecimals, 83, "SetTaxRatesAndDecimals"},
        {qmr::OpenStornoReceipt, 85, "OpenStornoReceipt"},
        {qmr::ReadDeviceInfo, 90, "ReadDeviceInfo"},
        {qmr::SetSerialAndCountry, 91, "SetSerialAndCountry"},
        {qmr::SetFiscalMemoryNumber, 92, "SetFiscalMemoryNumber"},
        {qmr::PrintDetailedReportByDate, 94, "PrintDetailedReportByDate"},
        {qmr::PrintShortReportByNumber, 95, "PrintShortReportByNumber"},
        {qmr::ReadTaxRates, 97, "ReadTaxRates"},
        {qmr::SetTaxNumber, 98, "SetTaxNumber"},
        {qmr::ReadTaxNumber, 99, "ReadTaxNumber"},
        {qmr::SetOperatorPassword, 101, "SetOperatorPassword"},
        {qmr::SetOperatorName, 102, "SetOperatorName"},
        {qmr::ReadReceiptInfo, 103, "ReadReceiptInfo"},
        {qmr::PrintOperatorsReport, 105, "PrintOperatorsReport"},
        {qmr::ProgramArticles, 107, "ProgramArticles"},
        {qmr::PrintArticlesReport, 111, "PrintArticlesReport"},
        {qmr::LoadLogoRow, 115, "LoadLogoRow"},
        {qmr::ReadFiscalMemoryBlock, 116, "ReadFiscalMemoryBlock"},
        {qmr::PerformReset, 128, "PerformReset"},
        {qmr::ReadFirmwareBlock, 132, "ReadFirmwareBlock"},
        {qmr::SetTestSwitch, 133, "SetTestSwitch"},
    };
    ASSERT_EQ(std::size(expected), std::size(qmr::CommandTable));
    for (std::size_t k = 0; k < std::size(expected); ++k) {
        EXPECT_EQ(int{expected[k].command}, expected[k].number) << expected[k].name;
        EXPECT_EQ(qmr::CommandTable[k].number, expected[k].number) << expected[k].name;
        EXPECT_EQ(qmr::CommandTable[k].name, expected[k].name) << expected[k].number;
    }
}

}  // namespace
}  // namespace qmrtest
