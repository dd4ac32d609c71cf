#include <gtest/gtest.h>

#include "PrinterReplies.h"

namespace prendix {
namespace {

TEST(FormatTaxRate, ShowsTwoDecimalsWithAPoint) {
    EXPECT_EQ(FormatTaxRate(20), "20.00");
    EXPECT_EQ(FormatTaxRate(7.5), "7.50");
    EXPECT_EQ(FormatTaxRate(0), "0.00");
    EXPECT_EQ(FormatTaxRate(-5), "-5.00");
    EXPECT_EQ(FormatTaxRate(0.005), "0.01");
    EXPECT_EQ(FormatTaxRate(2.675), "2.67");  // 2.67499... in binary, as printf has it too
    EXPECT_EQ(FormatTaxRate(1e300).size(), 304u);  // every digit of the largest rates
    EXPECT_EQ(FormatTaxRate(ParseTaxRates("1e999")[0]), "inf");  // past double's range, as printf shows it
}

struct DeviceCase {
    const char* name;
    const char* reply;
    int countryItem;
    const char* serial;
    const char* fm;
};

class DeviceInfoReplies : public ::testing::TestWithParam<DeviceCase> {};

TEST_P(DeviceInfoReplies, GiveCountrySerialAndFiscalMemoryNumber) {
    const DeviceCase& c = GetParam();
    const DeviceInfo info = ParseDeviceInfo(c.reply);
    EXPECT_EQ(info.countryItem, c.countryItem);
    EXPECT_EQ(info.serialNumber, c.serial);
    EXPECT_EQ(info.fmNumber, c.fm);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DeviceInfoReplies,
    ::testing::Values(
        DeviceCase{"Serviced", "QMR-770 V1.00 10Dec26,4F2A,00000000,2,ZK000417,50001234", 2, "ZK000417", "50001234"},
        DeviceCase{"NotServiced", "QMR-770 V1.00 10Dec26,4F2A,00000000, ,,", CountryNotSet, "", ""},
        DeviceCase{"BlankBeforeTheCountry", "A B C,D,E, 3,S1,F1", CountryNotSet, "S1", "F1"},
        DeviceCase{"CountryBeyondTheList", "A B C,D,E,11,S1,F1", -1, "S1", "F1"},
        DeviceCase{"NegativeCountry", "A B C,D,E,-1,S1,F1", -1, "S1", "F1"},
        DeviceCase{"CountryBeyondTheIntegers", "A B C,D,E,99999999999,S1,F1", -1, "S1", "F1"},
        DeviceCase{"CountryBeforeOtherCharacters", "A B C,D,E,10x,S1,F1", 10, "S1", "F1"},
        DeviceCase{"EmptyCountry", "A B C,D,E,,S1,F1", 0, "S1", "F1"},  // an empty number reads as 0
        // The fiscal-memory number is the rest of the text, commas and all.
        DeviceCase{"FiscalMemoryNumberTakesTheRest", "A B C,D,E,4,S1,F1,X", 4, "S1", "F1,X"},
        DeviceCase{"EndsAfterTheSerial", "A B C,D,E,4,SERIAL", 4, "SERIAL", ""},
        DeviceCase{"EndsAfterTheCountry", "A B C,D,E,4", 4, "", ""},
        // Replies too short for the layout end in empty items.
        DeviceCase{"EndsBeforeTheCountry", "A B C,D,E", CountryNotSet, "", ""},
        DeviceCase{"OneBlankOnly", "A B", CountryNotSet, "", ""},
        DeviceCase{"NoBlank", "ABC,D,E,1,S,F", CountryNotSet, "", ""},
        DeviceCase{"Empty", "", CountryNotSet, "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TaxEnablesReply, GivesDecimalsAndTheGroupsEnabled) {
    struct Case {
        const char* reply;
        bool twoDecimals;
        std::array<bool, 4> enabled;
    } cases[] = {
        {"2,1010", true, {true, false, true, false}},
        {"0,1111", false, {true, true, true, true}},
        {"02,0001", true, {false, false, false, true}},
        {"x,1", false, {true, false, false, false}},  // no digits: "0"; a short part: the rest not '1'
        {"2,", true, {}},
        {"2", true, {}},
        {"-1,1x1y", true, {true, false, true, false}},
        {"99999999999,0", true, {}},  // past the integer range, still not 0
        {"", false, {}},
    };
    for (const Case& c : cases) {
        const TaxEnables enables = ParseTaxEnables(c.reply);
        EXPECT_EQ(enables.twoDecimals, c.twoDecimals) << c.reply;
        EXPECT_EQ(enables.enabled, c.enabled) << c.reply;
    }
}

TEST(TaxRatesReply, GivesFourRatesTheLastOneTheRest) {
    using Rates = std::array<double, 4>;
    EXPECT_EQ(ParseTaxRates("20,7.5,0,x"), (Rates{20, 7.5, 0, 0}));
    EXPECT_EQ(ParseTaxRates("-5,20.00,9.00,0.00"), (Rates{-5, 20, 9, 0}));
    EXPECT_EQ(ParseTaxRates("1,2,3,4,5"), (Rates{1, 2, 3, 4}));
    EXPECT_EQ(ParseTaxRates("20.00,9.00"), (Rates{20, 9, 0, 0}));
    EXPECT_EQ(ParseTaxRates(""), (Rates{0, 0, 0, 0}));
}

TEST(TaxNumberReply, GivesTheNumberAndTheRegistrationType) {
    struct Case {
        const char* reply;
        const char* number;
        bool idType;
        bool hasType;  // a comma after the number says a type at all
    } cases[] = {
        {"1234567890,1", "1234567890", true, true}, {"1234567890,0", "1234567890", false, true},
        {"12,x", "12", false, true},                {"12,10", "12", true, true},
        {",1", "", true, true},                     {"123", "123", false, false},
        {"123,", "123", false, true},               {"", "", false, false},
    };
    for (const Case& c : cases) {
        const TaxNumber n = ParseTaxNumber(c.reply);
        EXPECT_EQ(n.number, c.number) << c.reply;
        EXPECT_EQ(n.idType, c.idType) << c.reply;
        EXPECT_EQ(n.hasType, c.hasType) << c.reply;
    }
}

}  // namespace
}  // namespace prendix
