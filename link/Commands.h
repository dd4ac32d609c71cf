// The printer's command vocabulary: every number the programs send, by name.
#pragma once

#include <string_view>

namespace qmr {

enum Command : int {
    SendProgressText = 35,
    CloseNonFiscalReceipt = 39,
    ConfigureReceiptLayout = 43,
    CutPaper = 45,
    SendDigitText = 47,
    OpenFiscalReceipt = 48,
    RegisterSale = 49,
    PrintTaxRateHistory = 50,
    SellArticleWithDisplay = 52,
    RegisterPayment = 53,
    PrintFiscalText = 54,
    CloseFiscalReceipt = 56,
    CancelFiscalReceipt = 57,
    SellArticle = 58,
    SetDateTime = 61,
    ReadDateTime = 62,
    ReadLastRecordNumber = 64,
    PrintDailyReport = 69,
    RunDiagnostics = 71,
    FiscalisePrinter = 72,
    PrintDetailedReportByNumber = 73,
    ReadStatus = 74,
    ReadReceiptTotals = 76,
    PrintShortReportByDate = 79,
    SetTaxRatesAndDecimals = 83,
    OpenStornoReceipt = 85,
    ReadDeviceInfo = 90,
    SetSerialAndCountry = 91,
    SetFiscalMemoryNumber = 92,
    PrintDetailedReportByDate = 94,
    PrintShortReportByNumber = 95,
    ReadTaxRates = 97,
    SetTaxNumber = 98,
    ReadTaxNumber = 99,
    SetOperatorPassword = 101,
    SetOperatorName = 102,
    ReadReceiptInfo = 103,
    PrintOperatorsReport = 105,
    ProgramArticles = 107,
    PrintArticlesReport = 111,
    LoadLogoRow = 115,
    ReadFiscalMemoryBlock = 116,
    PerformReset = 128,
    ReadFirmwareBlock = 132,
    SetTestSwitch = 133,
};

struct CommandName {
    int number;
    std::string_view name;
};

// All 45 commands in ascending order of number.
extern const CommandName CommandTable[45];

// The name of a command number, or an empty view for a number the programs never send.
std::string_view CommandNameOf(int number);

}  // namespace qmr
