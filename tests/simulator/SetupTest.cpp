// Putting the simulated printer into service: the setup commands, the bits
// they leave, what they refuse, the header and footer on the paper, and the
// state that survives a power cycle.
#include <gtest/gtest.h>

#include <algorithm>

#include "Commands.h"
#include "Printer.h"

namespace qmrsim {
namespace {

Reply Send(Printer& printer, int cmd, const std::string& data = "") {
    return printer.Handle({0x20, static_cast<std::uint8_t>(cmd), data});
}

bool Bit(const Reply& reply, StatusPos pos) { return (reply.status[pos.byte] >> pos.bit) & 1; }

bool Syntax(const Reply& reply) { return Bit(reply, st::SyntaxError); }
// Not permitted, with the common error a real printer raises beside it.
bool Refused(const Reply& reply) { return Bit(reply, st::NotPermitted) && Bit(reply, st::CommonError); }
bool Accepted(const Reply& reply) { return (reply.status[0] & 0x23) == 0 && (reply.status[1] & 0x03) == 0; }

Printer Blank() {
    Printer printer;
    EXPECT_TRUE(SetUpStartState(printer, "blank"));
    return printer;
}

TEST(SimSetup, ABlankPrinterIsProgrammedTaxedAndFiscalisedStepByStep) {
    Printer p = Blank();
    EXPECT_TRUE(p.StatusBit(st::FmFormatted));
    EXPECT_FALSE(p.StatusBit(st::SerialSet));
    // Fiscalising anything that is not yet set is refused.
    EXPECT_TRUE(Refused(Send(p, qmr::FiscalisePrinter, "4826,")));

    EXPECT_TRUE(Accepted(Send(p, qmr::SetSerialAndCountry, "6,AB123456")));
    EXPECT_TRUE(p.StatusBit(st::SerialSet));
    EXPECT_TRUE(Refused(Send(p, qmr::SetSerialAndCountry, "2,OTHER")));  // once only
    EXPECT_EQ(p.identification.serialNumber, "AB123456");
    EXPECT_EQ(p.identification.country, 6);

    EXPECT_TRUE(Accepted(Send(p, qmr::SetTaxNumber, "1234567890,1")));
    EXPECT_TRUE(Accepted(Send(p, qmr::SetTaxRatesAndDecimals, "4826,02,1100,20.00,07.00,00.00,00.00")));
    EXPECT_TRUE(Refused(Send(p, qmr::FiscalisePrinter, "4826,")));  // no fiscal-memory number yet
    EXPECT_TRUE(Accepted(Send(p, qmr::SetFiscalMemoryNumber, "77000001")));
    EXPECT_TRUE(p.StatusBit(st::FiscalNumberSet));
    EXPECT_TRUE(Accepted(Send(p, qmr::SetTaxRatesAndDecimals, "4826,02,1100,20.00,07.00,00.00,00.00")));
    EXPECT_TRUE(p.StatusBit(st::TaxRatesSet));
    EXPECT_EQ(Send(p, qmr::SetTaxRatesAndDecimals).data, "2,1100");
    EXPECT_EQ(Send(p, qmr::ReadTaxRates).data, "20.00,7.00,0.00,0.00");

    // Without a tax number fiscalisation is still refused.
    EXPECT_TRUE(Accepted(Send(p, qmr::SetTaxNumber, ",1")));
    EXPECT_TRUE(Refused(Send(p, qmr::FiscalisePrinter, "4826,77000001")));
    EXPECT_TRUE(Accepted(Send(p, qmr::SetTaxNumber, "1234567890,1")));
    EXPECT_EQ(Send(p, qmr::ReadTaxNumber).data, "1234567890,1");
    // A wrong password, or an identification that is not the printer's.
    EXPECT_TRUE(Refused(Send(p, qmr::FiscalisePrinter, "9999,77000001")));
    EXPECT_TRUE(Refused(Send(p, qmr::FiscalisePrinter, "4826,77000002")));
    EXPECT_FALSE(p.StatusBit(st::Fiscalized));

    EXPECT_TRUE(Accepted(Send(p, qmr::FiscalisePrinter, "4826,77000001")));
    EXPECT_TRUE(p.StatusBit(st::Fiscalized));
    const auto records = p.fiscalMemory.Records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].kind, 'F');
    EXPECT_EQ(p.fiscalMemory.image[64], 'F');
    EXPECT_NE(std::find(p.paper.begin(), p.paper.end(), "FISCALISATION"), p.paper.end());
    EXPECT_NE(std::find(p.paper.begin(), p.paper.end(), "ID 1234567890"), p.paper.end());

    // A fiscalised printer keeps its tax number, fiscal-memory number and fiscal mode.
    EXPECT_TRUE(Refused(Send(p, qmr::SetTaxNumber, "5555555555,0")));
    EXPECT_TRUE(Refused(Send(p, qmr::SetFiscalMemoryNumber, "1")));
    EXPECT_TRUE(Refused(Send(p, qmr::FiscalisePrinter, "4826,77000001")));
    EXPECT_EQ(p.identification.taxNumber, "1234567890");
}

TEST(SimSetup, RefiscalisationChangesTheTaxNumberOfAFiscalisedPrinterOnly) {
    Printer ready;
    SetUpStartState(ready, "ready");
    EXPECT_TRUE(Refused(Send(ready, qmr::FiscalisePrinter, "4826,50001234,1111111111,0")));

    Printer p;
    SetUpStartState(p, "fiscalised");
    EXPECT_TRUE(p.StatusBit(st::Fiscalized));
    EXPECT_TRUE(Accepted(Send(p, qmr::FiscalisePrinter, "4826,50001234,2222222222,1")));
    EXPECT_EQ(Send(p, qmr::ReadTaxNumber).data, "2222222222,1");
    EXPECT_EQ(p.fiscalMemory.Records().size(), 2u);
    EXPECT_TRUE(Syntax(Send(p, qmr::FiscalisePrinter, "4826,50001234,3333333333,2")));
}

TEST(SimSetup, MalformedSetupDataAreSyntaxErrorsAndChangeNothing) {
    struct Case {
        int command;
        const char* data;
    };
    const Case cases[] = {
        {qmr::SetSerialAndCountry, "-1,AB1"},          // no country chosen
        {qmr::SetSerialAndCountry, "10,AB1"},          // "Not Set" is no country
        {qmr::SetSerialAndCountry, "2,"},              // no serial number
        {qmr::SetSerialAndCountry, "2,12345678901234567"},
        {qmr::SetFiscalMemoryNumber, ""},
        {qmr::SetTaxRatesAndDecimals, "4826,01,1100,20.00,07.00,00.00,00.00"},
        {qmr::SetTaxRatesAndDecimals, "4826,02,11x0,20.00,07.00,00.00,00.00"},
        {qmr::SetTaxRatesAndDecimals, "4826,02,1100,-5.00,07.00,00.00,00.00"},
        {qmr::SetTaxRatesAndDecimals, "4826,02,1100,100.00,07.00,00.00,00.00"},
        {qmr::SetTaxRatesAndDecimals, "4826,02,1100,20.00,07.00,00.00"},
        {qmr::SetTaxNumber, "1234567890"},
        {qmr::SetTaxNumber, "1234567890,2"},
        {qmr::FiscalisePrinter, "4826"},
    };
    for (const Case& c : cases) {
        Printer p = Blank();
        EXPECT_TRUE(Syntax(Send(p, c.command, c.data))) << c.command << " " << c.data;
        EXPECT_FALSE(p.StatusBit(st::SerialSet) || p.StatusBit(st::TaxRatesSet) || p.StatusBit(st::FiscalNumberSet))
            << c.data;
    }
    Printer p = Blank();
    EXPECT_TRUE(Refused(Send(p, qmr::SetTaxRatesAndDecimals, "1111,02,1100,20.00,07.00,00.00,00.00")));
    EXPECT_FALSE(p.StatusBit(st::TaxRatesSet));
}

TEST(SimSetup, HeaderAndFooterLinesAreSetReadAndPrintedAroundEveryReceipt) {
    Printer p;
    SetUpStartState(p, "ready");
    EXPECT_TRUE(Accepted(Send(p, qmr::ConfigureReceiptLayout, "0SHOP")));
    EXPECT_TRUE(Accepted(Send(p, qmr::ConfigureReceiptLayout, "2 MAIN STREET")));
    EXPECT_TRUE(Accepted(Send(p, qmr::ConfigureReceiptLayout, "7THANK YOU")));
    EXPECT_EQ(Send(p, qmr::ConfigureReceiptLayout, "I2").data, " MAIN STREET");
    EXPECT_EQ(Send(p, qmr::ConfigureReceiptLayout, "I1").data, "");
    EXPECT_TRUE(Accepted(Send(p, qmr::ConfigureReceiptLayout, "1" + std::string(62, 'x'))));
    EXPECT_TRUE(Syntax(Send(p, qmr::ConfigureReceiptLayout, "1" + std::string(63, 'x'))));
    for (const char* bad : {"", "8X", "I8", "I", "L2", "x"}) EXPECT_TRUE(Syntax(Send(p, qmr::ConfigureReceiptLayout, bad))) << bad;
    EXPECT_TRUE(Accepted(Send(p, qmr::ConfigureReceiptLayout, "1")));  // the digit alone empties the line
    EXPECT_TRUE(Accepted(Send(p, qmr::ConfigureReceiptLayout, "L1")));
    EXPECT_TRUE(p.logo.printing);

    p.paper.clear();
    Send(p, qmr::OpenFiscalReceipt, "1,4826,1,I");
    EXPECT_TRUE(Refused(Send(p, qmr::ConfigureReceiptLayout, "0OTHER")));  // not while a receipt is open
    Send(p, qmr::SellArticle, "1*1.000");
    Send(p, qmr::RegisterPayment, "\tP");
    Send(p, qmr::CloseFiscalReceipt);
    ASSERT_GE(p.paper.size(), 4u);
    EXPECT_EQ(p.paper[0], "SHOP");
    EXPECT_EQ(p.paper[1], " MAIN STREET");
    EXPECT_EQ(p.paper[2], "FISCAL RECEIPT");
    EXPECT_EQ(p.paper.back(), "THANK YOU");
}

TEST(SimSetup, IdentificationStatusAndLinesSurviveAPowerCycle) {
    Printer p = Blank();
    Send(p, qmr::SetSerialAndCountry, "6,AB123456");
    Send(p, qmr::SetFiscalMemoryNumber, "77000001");
    Send(p, qmr::SetTaxRatesAndDecimals, "4826,02,1010,20.00,07.50,09.00,00.00");
    Send(p, qmr::SetTaxNumber, "12345%6789\n,1");
    Send(p, qmr::FiscalisePrinter, "4826,77000001");
    Send(p, qmr::ConfigureReceiptLayout, "0SHOP \xC0\xC1%");
    Send(p, qmr::ConfigureReceiptLayout, "L1");
    const std::string state = p.SaveState();

    Printer again;
    std::string error;
    ASSERT_TRUE(again.LoadState(state, error)) << error;
    EXPECT_EQ(again.SaveState(), state);
    EXPECT_EQ(Send(again, qmr::ReadStatus).status, Send(p, qmr::ReadStatus).status);
    EXPECT_EQ(Send(again, qmr::ReadDeviceInfo).data, Send(p, qmr::ReadDeviceInfo).data);
    EXPECT_EQ(Send(again, qmr::ReadTaxNumber).data, "12345%6789\n,1");
    EXPECT_EQ(Send(again, qmr::ReadTaxRates).data, "20.00,7.50,9.00,0.00");
    EXPECT_EQ(Send(again, qmr::ConfigureReceiptLayout, "I0").data, "SHOP \xC0\xC1%");
    EXPECT_TRUE(again.logo.printing);

    for (const char* damage : {"[status]\nfiscalised 2\n", "[identification]\ndecimals x\n",
                               "[receipt-layout]\nline9 x\n", "[status]\nopen 1\n"}) {
        Printer damaged;
        EXPECT_FALSE(damaged.LoadState("qmr770-state 1\n" + std::string(damage), error)) << damage;
        EXPECT_NE(error.find('['), std::string::npos) << error;
    }
}

TEST(SimSetup, StartStatesByName) {
    Printer ready, fiscalised, other;
    ASSERT_TRUE(SetUpStartState(ready, "ready"));
    EXPECT_TRUE(ready.StatusBit(st::SerialSet) && ready.StatusBit(st::TaxRatesSet) && ready.StatusBit(st::FmFormatted));
    EXPECT_FALSE(ready.StatusBit(st::Fiscalized));
    ASSERT_TRUE(SetUpStartState(fiscalised, "fiscalised"));
    EXPECT_TRUE(fiscalised.StatusBit(st::Fiscalized));
    EXPECT_EQ(fiscalised.identification.taxNumber, "1234567890");
    EXPECT_FALSE(SetUpStartState(other, "new"));
}

}  // namespace
}  // namespace qmrsim
