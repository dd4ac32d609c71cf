// Prendix's setup texts, printer data lines and header file lines, apart from
// the windows.
#include <gtest/gtest.h>

#include "HeaderFile.h"
#include "PrinterData.h"
#include "SetupTexts.h"

namespace prendix {
namespace {

TEST(TaxNumberRule, TenCharactersWithOneThatIsNotZero) {
    const struct {
        const char* number;
        bool valid;
    } cases[] = {
        {"0000000000", false}, {"0000000001", true}, {"000000000A", true}, {"000000000 ", true},
        {"-000000000", true},  {"123456789", false}, {"ABCDEFGHI", false}, {"", false},
        {"00000000000000000000", false}, {"1234567890123", true},
    };
    for (const auto& c : cases) EXPECT_EQ(ValidTaxNumber(c.number), c.valid) << '"' << c.number << '"';
}

TEST(IdentificationFieldOfTheDeviceInfo, IsTheSixthCommaFieldOrEmpty) {
    EXPECT_EQ(IdentificationField("QMR-770 V1.00 10Dec26,4F2A,00000000,2,ZK000417,50001234"), "50001234");
    EXPECT_EQ(IdentificationField("a,b,c,d,e, f g ,h"), " f g ");  // blanks are ordinary characters
    EXPECT_EQ(IdentificationField("a,b,c,d,e,"), "");
    EXPECT_EQ(IdentificationField("a,b,c,d,e"), "");  // four commas
    EXPECT_EQ(IdentificationField(""), "");
}

TEST(FiscalisationTexts, AreBuiltAsTheCommandsTakeThemWithin63Characters) {
    EXPECT_EQ(TaxNumberData("1234567890", true), "1234567890,1");
    EXPECT_EQ(TaxNumberData("", false), ",0");
    EXPECT_EQ(TaxNumberData(std::string(61, '1'), false), std::string(61, '1') + ",0");
    EXPECT_EQ(TaxNumberData(std::string(62, '1'), false), std::nullopt);
    EXPECT_EQ(FiscaliseData("4826", ""), "4826,");
    EXPECT_EQ(FiscaliseData("4826", std::string(59, 'x')), std::nullopt);
    EXPECT_EQ(RefiscaliseData("4826", "50001234", "2222222222", true), "4826,50001234,2222222222,1");
    EXPECT_EQ(RefiscaliseData("4826", "50001234", "", false), "4826,50001234,,0");
    EXPECT_EQ(RefiscaliseData("4826", std::string(40, 'x'), std::string(18, '1'), false), std::nullopt);
}

TEST(ProgrammingTexts, FollowTheirFormatsAndTheDataLimit) {
    EXPECT_EQ(SerialAndCountryData(-1, "ZK1"), "-1,ZK1");
    EXPECT_EQ(SerialAndCountryData(2, std::string(217, 's'))->size(), 219u);
    EXPECT_EQ(SerialAndCountryData(2, std::string(218, 's')), std::nullopt);
    EXPECT_EQ(FiscalMemoryNumberData(""), "");
    EXPECT_EQ(FiscalMemoryNumberData(std::string(220, '1')), std::nullopt);
    EXPECT_EQ(TaxRatesData("4826", "2", {true, true, false, false}, {"20", "7", "", ""}),
              "4826,02,1100,20.00,07.00,00.00,00.00");
    EXPECT_EQ(TaxRatesData("", "", {false, false, false, true}, {"x", "", "", "9.999"}), ",00,0001,00.00,00.00,00.00,10.00");
    EXPECT_EQ(TaxRatesData("4826", "0", {}, {"1e300", "", "", ""}), std::nullopt);
    EXPECT_EQ(TaxRatesData("4826", "0", {}, {"1e999", "", "", ""}), std::nullopt);
}

TEST(ProgrammingTexts, RatesAreZeroPaddedToFiveAfterTheSign) {
    const struct {
        const char* typed;
        const char* sent;
    } cases[] = {{"7", "07.00"}, {"20", "20.00"}, {"5,5", "05.00"}, {"-5", "-5.00"}, {"-0.5", "-0.50"},
                 {"100", "100.00"}, {" 7.125", "07.12"}, {"1e2", "100.00"}, {"abc", "00.00"}};
    for (const auto& c : cases) {
        const auto data = TaxRatesData("", "", {}, {c.typed, "", "", ""});
        ASSERT_TRUE(data) << c.typed;
        EXPECT_EQ(data->substr(9, data->find(',', 9) - 9), c.sent) << c.typed;
    }
}

TEST(PrinterDataLines, ReadAKnownKeyBeforeTheEqualsAndTheValueAfterTheLast) {
    using K = DataKey;
    const struct {
        const char* name;
        std::string file;
        std::vector<DataLine> lines;
    } cases[] = {
        {"CaseAndBlanksBeforeTheEquals", "serialnum = 123\nSERIAL NUM=123\n", {{K::SerialNum, "123"}, {K::SerialNum, "123"}}},
        {"ValueAfterTheLastEquals", "H1=A=B", {{K::H1, "B"}}},
        {"PercentAndBlanksKept", "H1=%   Shop\r\nH2=   Shop  \r\n", {{K::H1, "%   Shop"}, {K::H2, "Shop"}}},
        {"EmptyKeyNoEqualsUnknownKey", "=5\nSERIALNUM\n\nFOO=1\nTAX_E=1\n", {}},
        {"EveryKeyInItsPlace",
         "MODULENUM=1\nCOUNTRYNUM=2\nTAXNUM=3\nREGTYPE=4\nDECIMALS=5\nTAXRATES=6\nTAX_A=7\nTAX_B=8\nTAX_C=9\nTAX_D=10\n"
         "H3=a\nH4=b\nH5=c\nH6=d\nF1=e\nF2=f",
         {{K::ModuleNum, "1"}, {K::CountryNum, "2"}, {K::TaxNum, "3"}, {K::RegType, "4"}, {K::Decimals, "5"},
          {K::TaxRates, "6"}, {K::TaxA, "7"}, {K::TaxB, "8"}, {K::TaxC, "9"}, {K::TaxD, "10"}, {K::H3, "a"},
          {K::H4, "b"}, {K::H5, "c"}, {K::H6, "d"}, {K::F1, "e"}, {K::F2, "f"}}},
        // 127 kept bytes end a line; what follows is a line of its own.
        {"LongLineSplit", "H1=" + std::string(124, 'x') + "F1=y", {{K::H1, std::string(124, 'x')}, {K::F1, "y"}}},
        {"DroppedBytesDoNotCount", std::string(200, ' ') + "H1=" + std::string(124, 'x'), {{K::H1, std::string(124, 'x')}}},
        // A NUL ends the line's text; bytes from 128 up are kept.
        {"NulAndHighBytes", std::string("H1=ab\0cd\nH2=\xC0\xFF\n", 15), {{K::H1, "ab"}, {K::H2, "\xC0\xFF"}}},
    };
    for (const auto& c : cases) EXPECT_EQ(ReadPrinterData(c.file), c.lines) << c.name;
}

TEST(PrinterDataLines, AnyBytesAtAllReadWithinTheirLength) {
    std::string noise;
    for (int i = 0; i < 5000; ++i) noise += static_cast<char>((i * 7919) % 256);
    for (const DataLine& line : ReadPrinterData(noise)) EXPECT_LE(line.value.size(), MaxDataLine);
    EXPECT_TRUE(ReadPrinterData(std::string(100000, '=')).empty());
    EXPECT_TRUE(ReadPrinterData("").empty());
}

TEST(PrinterDataLines, StripPercentAndTaxRateFlags) {
    EXPECT_EQ(StripPercent("%   Shop"), "   Shop");
    EXPECT_EQ(StripPercent("%%x"), "%x");
    EXPECT_EQ(StripPercent(""), "");
    EXPECT_EQ(TaxRateFlags("1010"), (std::array<bool, 4>{true, false, true, false}));
    EXPECT_EQ(TaxRateFlags("11"), (std::array<bool, 4>{true, true, false, false}));
    EXPECT_EQ(TaxRateFlags(""), (std::array<bool, 4>{}));
}

TEST(HeaderFileLines, FillTheSlotTheirNumberNamesTheLaterLineWinning) {
    const struct {
        const char* name;
        std::string file;
        HeaderSlots slots;
    } cases[] = {
        {"LaterLineWinsOthersIgnored", "2,XYZ\n2,ABC\n9,QQ\nx\n", {"", "", "ABC"}},
        {"CrLfAndNoLastLineEnd", "0,A\r\n7,\tZ", {"A", "", "", "", "", "", "", "Z"}},
        {"LeadingBlankIgnoredEmptyTextKept", " 1,B\n1,\n3,C", {"", "", "", "C"}},
        {"LongLineCutAt127", "0," + std::string(198, 'a'), {std::string(125, 'a')}},
        {"TheRestOfALongLineMayBeALine", "0," + std::string(125, 'a') + "5,tail", {std::string(125, 'a'), "", "", "", "", "tail"}},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseHeaderFile(c.file), c.slots) << c.name;
}

TEST(HeaderFileLines, AreWrittenForTheMemoLinesThatExist) {
    EXPECT_EQ(FormatHeaderFile({"A", "B"}, {"F"}), "0,A\r\n1,B\r\n6,F\r\n");
    EXPECT_EQ(FormatHeaderFile({"1", "2", "3", "4", "5", "6", "7"}, {"", "x", "y"}),
              "0,1\r\n1,2\r\n2,3\r\n3,4\r\n4,5\r\n5,6\r\n6,\r\n7,x\r\n");
    EXPECT_EQ(FormatHeaderFile({}, {}), "");
    const std::string text(300, 't');  // written whole: the file takes what the memo holds
    EXPECT_EQ(ParseHeaderFile(FormatHeaderFile({text}, {}))[0], text.substr(0, 125));
    EXPECT_EQ(HeaderWriteData(3, nullptr), "3");
    const std::string line = "SHOP";
    EXPECT_EQ(HeaderWriteData(6, &line), "6SHOP");
}

}  // namespace
}  // namespace prendix
