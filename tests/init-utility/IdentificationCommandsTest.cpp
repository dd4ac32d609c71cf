// The simulated printer's identification and tax commands, read back with
// Prendix's own reply readers.
#include <gtest/gtest.h>

#include <algorithm>

#include "Commands.h"
#include "Printer.h"
#include "PrinterReplies.h"

namespace {

using qmrsim::Printer;
namespace st = qmrsim::st;

qmrsim::Reply Send(Printer& printer, int command, const std::string& data = "") {
    return printer.Handle({0x20, static_cast<std::uint8_t>(command), data});
}

bool Bit(const qmrsim::Reply& reply, qmrsim::StatusPos pos) { return (reply.status[pos.byte] >> pos.bit) & 1; }

TEST(IdentificationCommands, ANewPrinterHasNothingSetAndAQuietStatus) {
    Printer printer;
    const qmrsim::Reply status = Send(printer, qmr::ReadStatus);
    EXPECT_EQ(status.status, (std::array<std::uint8_t, 6>{0x80, 0x80, 0x80, 0x80, 0x80, 0x80}));

    const prendix::DeviceInfo info = prendix::ParseDeviceInfo(Send(printer, qmr::ReadDeviceInfo).data);
    EXPECT_EQ(info.countryItem, prendix::CountryNotSet);
    EXPECT_EQ(info.serialNumber, "");
    EXPECT_EQ(info.fmNumber, "");
    EXPECT_EQ(Send(printer, qmr::ReadTaxNumber).data, ",0");
}

TEST(IdentificationCommands, AServicedPrinterReportsItsStateInStatusAndReplies) {
    Printer printer;
    qmrsim::SetUpServicedPrinter(printer);
    printer.identification.taxNumber = "1234567890";
    printer.identification.registrationType = 1;
    printer.identification.taxRates = {2000, 750, 0, -500};

    const qmrsim::Reply status = Send(printer, qmr::ReadStatus);
    EXPECT_TRUE(Bit(status, st::SerialSet));
    EXPECT_TRUE(Bit(status, st::FmFormatted));
    EXPECT_TRUE(Bit(status, st::TaxRatesSet));
    EXPECT_FALSE(Bit(status, st::Fiscalized));
    EXPECT_FALSE(Bit(status, st::PaperOut));

    const qmrsim::Reply device = Send(printer, qmr::ReadDeviceInfo);
    EXPECT_TRUE(Bit(device, st::SerialSet));  // every reply carries the state
    const prendix::DeviceInfo info = prendix::ParseDeviceInfo(device.data);
    EXPECT_EQ(info.countryItem, 2);
    EXPECT_EQ(info.serialNumber, "ZK000417");
    EXPECT_EQ(info.fmNumber, "50001234");

    const prendix::TaxEnables enables = prendix::ParseTaxEnables(Send(printer, qmr::SetTaxRatesAndDecimals).data);
    EXPECT_TRUE(enables.twoDecimals);
    EXPECT_EQ(enables.enabled, (std::array<bool, 4>{true, true, true, false}));
    EXPECT_EQ(Send(printer, qmr::ReadTaxRates).data, "20.00,7.50,0.00,-5.00");
    const prendix::TaxNumber number = prendix::ParseTaxNumber(Send(printer, qmr::ReadTaxNumber).data);
    EXPECT_EQ(number.number, "1234567890");
    EXPECT_TRUE(number.idType);
}

TEST(IdentificationCommands, TheSettingFormOfTheTaxCommandIsReadBackByTheReaders) {
    Printer printer;
    qmrsim::SetUpServicedPrinter(printer);
    const qmrsim::Reply reply = Send(printer, qmr::SetTaxRatesAndDecimals, "4826,00,0001,20.00,09.00,00.00,05.50");
    EXPECT_FALSE(Bit(reply, st::SyntaxError));
    const prendix::TaxEnables enables = prendix::ParseTaxEnables(Send(printer, qmr::SetTaxRatesAndDecimals).data);
    EXPECT_FALSE(enables.twoDecimals);
    EXPECT_EQ(enables.enabled, (std::array<bool, 4>{false, false, false, true}));
    EXPECT_EQ(prendix::ParseTaxRates(Send(printer, qmr::ReadTaxRates).data), (std::array<double, 4>{20, 9, 0, 5.5}));
}

TEST(IdentificationCommands, DiagnosticsArePrintedOnlyWithPaper) {
    Printer printer;
    qmrsim::SetUpServicedPrinter(printer);
    EXPECT_EQ(Send(printer, qmr::RunDiagnostics).data, "");
    ASSERT_FALSE(printer.paper.empty());
    EXPECT_EQ(printer.paper.front(), "DIAGNOSTICS");
    EXPECT_NE(std::find(printer.paper.begin(), printer.paper.end(), "TAX A 20.00%"), printer.paper.end());

    printer.paper.clear();
    printer.SetStatusBit(st::PaperOut);
    EXPECT_TRUE(Bit(Send(printer, qmr::RunDiagnostics), st::PaperOut));
    EXPECT_TRUE(printer.paper.empty());
}

}  // namespace
