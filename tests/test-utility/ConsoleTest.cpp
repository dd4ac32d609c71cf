#include <gtest/gtest.h>

#include "Console.h"

using namespace vextora;

TEST(ConsoleNumber, DecimalOnlyWithinThirtyTwoToOneThirtyFive) {
    const struct {
        const char* text;
        bool sent;
    } cases[] = {{"31", false}, {"32", true}, {"135", true}, {"136", false}, {"", false},
                 {"0x4A", false}, {" 74", true}, {"+74", true}, {"74abc", true}, {"-74", false}};
    for (const auto& c : cases) EXPECT_EQ(IsConsoleCommand(ReadCommandNumber(c.text)), c.sent) << '"' << c.text << '"';
}

TEST(ConsoleData, EscapesTabAndLineFeedOnly) {
    const struct {
        std::string text, sent;
    } cases[] = {
        {"a\\tb", "a\tb"},   {"x\\n", "x\n"},    {"end\\", "end\\"}, {"\\x", "\\x"},
        {"\\\\t", "\\\t"},   {"\\", "\\"},       {"", ""},           {"\\T", "\\T"},
        {"\\t\\t", "\t\t"},  {"\xC0\\t", "\xC0\t"},
    };
    for (const auto& c : cases) EXPECT_EQ(UnescapeConsoleData(c.text), c.sent) << c.text;
}

TEST(ConsoleStatus, ShowsEachByteWithoutItsTopTwoBits) {
    EXPECT_EQ(StatusText({0x80, 0x80, 0x88, 0x80, 0x86, 0x80}), "00 00 08 00 06 00 ");
    EXPECT_EQ(StatusText({0xFF, 0x3F, 0x40, 0x00, 0xC1, 0x2A}), "3F 3F 00 00 01 2A ");
}
