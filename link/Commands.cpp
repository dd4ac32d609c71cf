#include "Commands.h"

namespace qmr {

const CommandName CommandTable[45] = {
    {35, "SendProgressText"},
    {39, "CloseNonFiscalReceipt"},
    {43, "ConfigureReceiptLayout"},
    {45, "CutPaper"},
    {47, "SendDigitText"},
    {48, "OpenFiscalReceipt"},
    {49, "RegisterSale"},
    {50, "PrintTaxRateHistory"},
    {52, "SellArticleWithDisplay"},
    {53, "RegisterPayment"},
    {54, "PrintFiscalText"},
    {56, "CloseFiscalReceipt"},
    {57, "CancelFiscalReceipt"},
    {58, "SellArticle"},
    {61, "SetDateTime"},
    {62, "ReadDateTime"},
    {64, "ReadLastRecordNumber"},
    {69, "PrintDailyReport"},
    {71, "RunDiagnostics"},
    {72, "FiscalisePrinter"},
    {73, "PrintDetailedReportByNumber"},
    {74, "ReadStatus"},
    {76, "ReadReceiptTotals"},
    {79, "PrintShortReportByDate"},
    {83, "SetTaxRatesAndDecimals"},
    {85, "OpenStornoReceipt"},
    {90, "ReadDeviceInfo"},
    {91, "SetSerialAndCountry"},
    {92, "SetFiscalMemoryNumber"},
    {94, "PrintDetailedReportByDate"},
    {95, "PrintShortReportByNumber"},
    {97, "ReadTaxRates"},
    {98, "SetTaxNumber"},
    {99, "ReadTaxNumber"},
    {101, "SetOperatorPassword"},
    {102, "SetOperatorName"},
    {103, "ReadReceiptInfo"},
    {105, "PrintOperatorsReport"},
    {107, "ProgramArticles"},
    {111, "PrintArticlesReport"},
    {115, "LoadLogoRow"},
    {116, "ReadFiscalMemoryBlock"},
    {128, "PerformReset"},
    {132, "ReadFirmwareBlock"},
    {133, "SetTestSwitch"},
};

std::string_view CommandNameOf(int number) {
    for (const auto& c : CommandTable)
        if (c.number == number) return c.name;
    return {};
}

}  // namespace qmr
