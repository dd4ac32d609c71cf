// The article records and texts of the printer's article table, and the
// memory dump's blocks and listing lines.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "ArticleTransfer.h"
#include "Commands.h"
#include "MemoryDump.h"

using namespace vextora;

namespace {

ArticleRow Row(std::string plu, std::string tax, std::string group, std::string price, std::string name) {
    return {plu, tax, group, price, "0.000", name};
}

}  // namespace

TEST(ArticleRecord, FieldsFromTheThirdCharacterAndTheNameAfterTheNinthComma) {
    EXPECT_EQ(ParseArticleRecord("P,12,\xC0,1,2.5,3,7.50,x,y,MILK\tFRESH, 1L"),
              (ArticleRow{"12", "\xC0", "1", "2.50", "3.000", "MILK\\tFRESH, 1L"}));
    // Shown as single precision holds them.
    EXPECT_EQ(ParseArticleRecord("P,1,A,07,123456789.99,0.5,,,,N")[ColPrice], "123456792.00");
    EXPECT_EQ(ParseArticleRecord("P,1,A,07,123456789.99,0.5,,,,N")[ColGroup], "07");
    // Fields the reply does not reach are empty; the first two characters are not looked at.
    EXPECT_EQ(ParseArticleRecord("P,12,\xC1"), (ArticleRow{"12", "\xC1", "", "0.00", "0.000", ""}));
    EXPECT_EQ(ParseArticleRecord("Px-5,A,1,1,1,a,b,c"), (ArticleRow{"-5", "A", "1", "1.00", "1.000", ""}));
    EXPECT_EQ(ParseArticleRecord("P"), (ArticleRow{"0", "", "", "0.00", "0.000", ""}));
    // A number no field can show leaves the cell empty.
    EXPECT_EQ(ParseArticleRecord("P,1,A,1,1e39,1e300,,,,N")[ColPrice], "");
    EXPECT_EQ(ParseArticleRecord("P,1,A,1,1e39,1e300,,,,N")[ColQuantity], "");
    EXPECT_TRUE(IsArticleRecord("P,1"));
    EXPECT_FALSE(IsArticleRecord("F"));
    EXPECT_FALSE(IsArticleRecord(""));
}

TEST(ArticleRecord, TabsShowAsBackslashTAndGoBackAsTabs) {
    EXPECT_EQ(ShowTabs("A\tB\t"), "A\\tB\\t");
    EXPECT_EQ(RestoreTabs("A\\tB\\t"), "A\tB\t");
    // Only the pair is a TAB; a lone backslash and "\\" before t stay as they come.
    EXPECT_EQ(RestoreTabs("C:\\x\\"), "C:\\x\\");
    EXPECT_EQ(RestoreTabs("\\\\t"), "\\\t");
}

TEST(ArticleTexts, ProgrammingAndDeletingTexts) {
    EXPECT_EQ(ProgramArticleData(Row("12", "\xC0", "1", "2.50", "MILK"), "4826"), "P\xC0" "12,1,2.50,4826,MILK");
    EXPECT_EQ(ProgramArticleData(Row(" 7x", "\xC4\xC0", "3.9", "2.5", "A\\tB"), ""), "P\xC4" "7,3,2.50,,A\tB");
    for (const ArticleRow& skipped : {Row("0", "\xC0", "1", "1", "X"), Row("", "\xC0", "1", "1", "X"),
                                      Row("1", "", "1", "1", "X"), Row("1", "A", "1", "1", "X"),
                                      Row("1", "\xC5", "1", "1", "X"), Row("1", "\xC0", "1", "1e999", "X")})
        EXPECT_EQ(ProgramArticleData(skipped, "4826"), std::nullopt) << skipped[ColPlu] << skipped[ColTax];
    // No buffer cuts a long name or password: the link alone limits the text.
    const std::string name(200, 'N'), password(40, '9');
    EXPECT_EQ(ProgramArticleData(Row("1", "\xC0", "1", "1", name), password), "P\xC0" "1,1,1.00," + password + "," + name);
    EXPECT_EQ(DeleteArticleData(12, "4826"), "D12,4826");
    EXPECT_EQ(DeleteArticleData(12, password), "D12," + password);
}

TEST(MemoryDumpTexts, TheTwoMemoriesAndTheirBlockAddresses) {
    EXPECT_EQ(DumpMemoryOf(FiscalMemoryDump).command, qmr::ReadFiscalMemoryBlock);
    EXPECT_EQ(DumpMemoryOf(FiscalMemoryDump).Bytes(), 327680u);
    EXPECT_EQ(DumpMemoryOf(FirmwareDump).command, qmr::ReadFirmwareBlock);
    EXPECT_EQ(DumpMemoryOf(FirmwareDump).Bytes(), 131072u);
    EXPECT_EQ(BlockRequestData(0), "00000,64");
    EXPECT_EQ(BlockRequestData(5119), "4FFC0,64");
    EXPECT_EQ(BlockRequestData(2047), "1FFC0,64");
    // The last block of either memory fills the progress bar.
    for (const std::uint8_t kind : {FiscalMemoryDump, FirmwareDump}) {
        const DumpMemory& m = DumpMemoryOf(kind);
        EXPECT_EQ((m.blocks - 1) / m.progressDivisor, 255);
    }
}

TEST(MemoryDumpTexts, BlocksDecodeEitherCaseAndBadOrMissingPairsAsZero) {
    std::uint8_t bytes[64];
    DecodeBlock(std::string("41420a7F") + std::string(120, 'f'), bytes);
    EXPECT_EQ((std::vector<int>(bytes, bytes + 5)), (std::vector<int>{0x41, 0x42, 0x0A, 0x7F, 0xFF}));
    EXPECT_EQ(bytes[63], 0xFF);
    // "4" without its partner, "G1", " 1" and the pairs past the end are 0.
    DecodeBlock("01G1 1ab4", bytes);
    EXPECT_EQ((std::vector<int>(bytes, bytes + 6)), (std::vector<int>{0x01, 0, 0, 0xAB, 0, 0}));
    EXPECT_EQ(bytes[63], 0);
    DecodeBlock("", bytes);
    EXPECT_EQ(bytes[0], 0);
}

TEST(MemoryDumpTexts, AListingLineHasTheAddressTheReplysDigitsAndTheCharacters) {
    std::uint8_t bytes[16] = {0x41, 0x42, 0x0A, 0x7F, 0x20, 0xC0, 0xFF, 0x1F, 0, 0, 0, 0, 0, 0, 0, 0x39};
    const std::string hex = "41420a7F20C0FF1F0000000000000039";
    const std::string line = FormatDumpLine(0x4FFF0, hex, bytes);
    EXPECT_EQ(line, "4FFF0  41 42 0a 7F 20 C0 FF 1F 00 00 00 00 00 00 00 39  AB.\x7F \xC0\xFF........9");
    EXPECT_EQ(line.size(), 72u);
    // A short reply leaves blanks where its digits end; a control byte in it cannot break the line.
    const std::string shortLine = FormatDumpLine(0, "41\n2", bytes);
    EXPECT_EQ(shortLine.substr(0, 14), "00000  41 .2  ");
    EXPECT_EQ(shortLine.size(), 72u);
}
