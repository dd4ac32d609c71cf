#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdint>
#include <string_view>
#include <vector>

#include "Numbers.h"

namespace qmrtest {
namespace {

using namespace qmr;

TEST(LeadingNumbers, IntegersStopAtTheFirstOtherCharacter) {
    const struct {
        const char* text;
        int value;
    } cases[] = {
        {"", 0},           {"abc", 0},          {"  42x", 42},        {"-7", -7},
        {"+7", 7},         {"0x4A", 0},         {"01", 1},            {"1.9", 1},
        {"\t 13,5", 13},   {"- 5", 0},          {"2147483647", INT_MAX}, {"-2147483648", INT_MIN},
        // Beyond the 32-bit range the value stays at the range's end.
        {"2147483648", INT_MAX}, {"99999999999", INT_MAX}, {"-99999999999", INT_MIN},
        {"99999999999999999999999", INT_MAX},
    };
    for (const auto& c : cases) EXPECT_EQ(ReadLeadingInt(c.text), c.value) << '"' << c.text << '"';
}

TEST(LeadingNumbers, DecimalsTakeAPointAndAnExponent) {
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"", 0},        {"x1", 0},     {" 2.5,", 2.5},   {"-0.5", -0.5}, {".5", 0.5},   {"5.", 5},
        {"1e3", 1000},  {"1e", 1},     {"1e+", 1},       {"2E-2x", 0.02}, {"0x10", 0},  {"inf", 0},
        {"nan", 0},     {"1,5", 1},    {"1e-999", 0},    {"0.0000", 0},  {".", 0},     {"-.", 0},
        {".25%", 0.25}, {"1e2,", 100}, {"+7.5", 7.5},
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(ReadLeadingNumber(c.text), c.value) << '"' << c.text << '"';
    EXPECT_TRUE(std::isinf(ReadLeadingNumber("1e999")));
    EXPECT_TRUE(std::isinf(ReadLeadingNumber("-1e400")));
    EXPECT_LT(ReadLeadingNumber("-1e400"), 0);
}

TEST(LeadingNumbers, TakingMovesPastTheNumberOnly) {
    std::string_view text = " 12.5,30";
    EXPECT_EQ(TakeNumber(text), 12.5);
    EXPECT_EQ(text, ",30");
    std::string_view none = "x";
    EXPECT_EQ(TakeInt(none), std::nullopt);
    EXPECT_EQ(none, "x");
}

TEST(SinglePrecision, RoundsAndOverflowsToInfinityWithoutUndefinedCasts) {
    EXPECT_EQ(ToSingle(2.5), 2.5);
    EXPECT_EQ(ToSingle(123456789.0), 123456792.0);
    EXPECT_EQ(ToSingle(1e38), static_cast<double>(1e38f));
    EXPECT_TRUE(std::isinf(ToSingle(1e39)));
    EXPECT_TRUE(std::isinf(ToSingle(-1e300)));
    EXPECT_EQ(ToSingle(static_cast<double>(FLT_MAX) * (1 + 1e-9)), static_cast<double>(FLT_MAX));
}

TEST(Truncation, StaysWithinTheIntegerRange) {
    EXPECT_EQ(TruncateToInt(1.9), 1);
    EXPECT_EQ(TruncateToInt(-1.9), -1);
    EXPECT_EQ(TruncateToInt(1e99), INT_MAX);
    EXPECT_EQ(TruncateToInt(-INFINITY), INT_MIN);
    EXPECT_EQ(TruncateToInt(NAN), 0);
}

TEST(BoundedFormatting, MatchesPrintfAndRefusesWhatDoesNotFit) {
    EXPECT_EQ(FormatFixed(0.5, 5, 3, 64), "0.500");
    EXPECT_EQ(FormatFixed(1.5, 5, 2, 64), " 1.50");
    EXPECT_EQ(FormatFixed(2.005, 4, 2, 64), "2.00");  // the binary value is just below 2.005
    EXPECT_EQ(FormatFixed(-0.004, 4, 2, 64), "-0.00");
    EXPECT_EQ(FormatFixed(1e300, 4, 2, 64), std::nullopt);
    EXPECT_EQ(FormatFixed(1e20, 4, 2, 25), "100000000000000000000.00");  // 24 characters and the NUL
    EXPECT_EQ(FormatFixed(1e20, 4, 2, 24), std::nullopt);
    EXPECT_EQ(FormatFixed(INFINITY, 4, 2, 64), std::nullopt);
    EXPECT_EQ(FormatFixed(NAN, 4, 2, 64), std::nullopt);
    EXPECT_EQ(FormatFixed(-DBL_MAX, 4, 2, 400)->size(), 313u);
}

TEST(FieldSplitting, KeepsEmptyFieldsAndLetTheLastTakeTheRest) {
    using Fields = std::vector<std::string_view>;
    const struct {
        const char* text;
        char separator;
        std::size_t most;
        Fields fields;
    } cases[] = {
        {"", ',', SIZE_MAX, {""}},
        {"a", ',', SIZE_MAX, {"a"}},
        {"a,,b,", ',', SIZE_MAX, {"a", "", "b", ""}},
        {",", ',', SIZE_MAX, {"", ""}},
        {"a,b,c,d", ',', 2, {"a", "b,c,d"}},  // the last field keeps its commas
        {"a,b", ',', 3, {"a", "b"}},          // fewer fields than allowed
        {"a,b", ',', 1, {"a,b"}},
        {"x y,z w", ' ', SIZE_MAX, {"x", "y,z", "w"}},
    };
    for (const auto& c : cases) EXPECT_EQ(SplitFields(c.text, c.separator, c.most), c.fields) << c.text;
}

}  // namespace
}  // namespace qmrtest
