// Preloading Prendix's window from a printer data file.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <functional>

#include "Commands.h"
#include "PrendixFixture.h"

namespace prendix {
namespace {

class DataFile : public PrendixWindow {
protected:
    // Loads the bytes through the From File button.
    void Load(const QByteArray& bytes) {
        const QString path = dir.filePath("printer.fpd");
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        file.close();
        script.PickNextFile(path);
        InitFP->FromFileBt->click();
    }
    QTemporaryDir dir;
};

struct LineCase {
    const char* name;
    QByteArray file;
    std::function<void()> check;
};

TEST_F(DataFile, EachLineActsOnItsField) {
    const LineCase cases[] = {
        {"SerialCaseAndBlanks", "serialnum = 123\n", [] { EXPECT_EQ(InitFP->SerialBox->text(), "123"); }},
        {"SerialBlankInKey", "SERIAL NUM=456", [] { EXPECT_EQ(InitFP->SerialBox->text(), "456"); }},
        {"LaterLineWins", "MODULENUM=1\r\nMODULENUM=2\r\n", [] { EXPECT_EQ(InitFP->ModuleBox->text(), "2"); }},
        {"Country", "COUNTRYNUM=6", [] { EXPECT_EQ(InitFP->CountryBox->currentText(), "Bulgaria"); }},
        {"CountryBeyondTheList", "COUNTRYNUM=11", [] { EXPECT_EQ(InitFP->CountryBox->currentIndex(), -1); }},
        {"TaxNumber", "TAXNUM= 1234567890 ", [] { EXPECT_EQ(InitFP->IdNumBox->text(), "1234567890"); }},
        {"RegTypeId", "REGTYPE=1", [] { EXPECT_TRUE(InitFP->IdBox->isChecked()); }},
        {"RegTypePn", "REGTYPE=1\nREGTYPE=0", [] { EXPECT_TRUE(InitFP->PnBox->isChecked()); }},
        {"DecimalsNotANumber", "DECIMALS=abc", [] { EXPECT_EQ(InitFP->Decimals->currentText(), "0"); }},
        {"TaxRates1010", "TAXRATES=1010",
         [] {
             for (std::size_t g = 0; g < 4; ++g) EXPECT_EQ(InitFP->TaxBoxes()[g]->isChecked(), g % 2 == 0) << g;
         }},
        {"TaxRatesShort", "TAXRATES=1",
         [] {
             EXPECT_TRUE(InitFP->TaxA_Box->isChecked());
             EXPECT_FALSE(InitFP->TaxB_Box->isChecked());
         }},
        {"RateUnformatted", "TAX_A=20\nTAX_D=abc", [] {
             EXPECT_EQ(InitFP->TaxA->text(), "20");
             EXPECT_EQ(InitFP->TaxD->text(), "abc");
         }},
        {"HeaderAfterLastEquals", "H1=A=B", [] { EXPECT_EQ(HeaderLines[0], "B"); }},
        {"HeaderPercentKeepsBlanks", "H2=%   Shop\nF2=   Shop", [] {
             EXPECT_EQ(HeaderLines[1], "   Shop");
             EXPECT_EQ(HeaderLines[7], "Shop");
         }},
        {"EmptyKeyAndUnknownKeyIgnored", "=SERIALNUM=9\nFOO=1\nSERIALNUM", [] { EXPECT_EQ(InitFP->SerialBox->text(), ""); }},
    };
    for (const LineCase& c : cases) {
        SCOPED_TRACE(c.name);
        InitFP->ClearPrinterFields();
        InitFP->PnBox->setChecked(true);
        InitFP->Decimals->setCurrentIndex(1);
        Load(c.file);
        c.check();
    }
    EXPECT_EQ(InitFP->OpenFileDlg.Filter, "Fiscal printer data (*.fpd)|*.FPD");
    EXPECT_EQ(InitFP->OpenFileDlg.DefaultExt, "FPD");
}

// Any number but 0 picks two decimals and an ID number, and the printer is
// told so by the programming and by the tax number.
TEST_F(DataFile, DecimalsAndRegTypeOfTwoReachTheTextsForThePrinter) {
    Start("ready");
    InitFP->Decimals->setCurrentIndex(0);
    InitFP->PnBox->setChecked(true);
    InitFP->IdNumBox->setText("1234567890");
    Load("DECIMALS=2\nREGTYPE=2\nTAXRATES=1000\nTAX_A=20\nTAX_B=0\nTAX_C=0\nTAX_D=0\n");
    sim.ClearRequests();
    Password("4826");
    InitFP->PgmBt->click();
    InitFP->LearnBt->click();
    const std::vector<Sent> sent = {{qmr::ReadStatus, ""},
                                          {qmr::SetTaxRatesAndDecimals, "4826,02,1000,20.00,00.00,00.00,00.00"},
                                          {qmr::ReadStatus, ""},
                                          {qmr::SetTaxNumber, "1234567890,1"}};
    EXPECT_EQ(Requests(), sent);
    EXPECT_EQ(script.MessageTexts(), std::vector<QString>{"Turn the printer off and then on"});
}

TEST_F(DataFile, APrinterWithItsSerialSetKeepsSerialCountryAndTaxNumber) {
    Start("ready");
    InitFP->RefreshBt->click();
    ASSERT_FALSE(InitFP->SerialBox->isEnabled());
    Load("SERIALNUM=X1\nCOUNTRYNUM=0\nTAXNUM=5555555555\nMODULENUM=M1\nTAX_B=9\n");
    EXPECT_EQ(InitFP->SerialBox->text(), "ZK000417");
    EXPECT_EQ(InitFP->CountryBox->currentText(), "Ukraine");
    EXPECT_EQ(InitFP->IdNumBox->text(), "");
    EXPECT_EQ(InitFP->ModuleBox->text(), "50001234");  // ModuleBox follows UpdateFM, unticked
    EXPECT_EQ(InitFP->TaxB->text(), "9");

    InitFP->UpdateFM->click();
    Load("MODULENUM=M1\n");
    EXPECT_EQ(InitFP->ModuleBox->text(), "M1");
}

TEST_F(DataFile, AnEmptyFileEmptiesTheHeaderLinesAndNothingElse) {
    HeaderLines = {"a", "b", "c", "d", "e", "f", "g", "h"};
    InitFP->SerialBox->setText("kept");
    Load("");
    EXPECT_EQ(HeaderLines, HeaderSlots{});
    EXPECT_EQ(InitFP->SerialBox->text(), "kept");

    // A cancelled dialog, or a file that is gone, changes nothing.
    HeaderLines[0] = "a";
    script.PickNextFile(std::nullopt);
    InitFP->FromFileBt->click();
    InitFP->LoadPrinterDataFile(dir.filePath("gone.fpd"));
    EXPECT_EQ(HeaderLines[0], "a");
}

TEST_F(DataFile, LinesOfAnyLengthAndBytesLoadWithinTheirLimits) {
    QByteArray noise;
    for (int i = 0; i < 20000; ++i) noise += static_cast<char>((i * 131) % 256);
    Load("H1=" + QByteArray(500, 'x') + QByteArray("\nH2=a\0b\n", 9) + noise + "\nSERIALNUM=" + QByteArray(3000, '9'));
    EXPECT_EQ(HeaderLines[0], std::string(124, 'x'));
    EXPECT_EQ(HeaderLines[1], "a");
    EXPECT_EQ(InitFP->SerialBox->text(), QString(117, '9'));
    // The header dialog then shows what the file gave.
    script.OnNextModal([](QDialog&) {
        EXPECT_EQ(MemoLines(*HeaderDlg->HeaderData).value(1), "a");
    });
    InitFP->HeaderBt->click();
}

}  // namespace
}  // namespace prendix
