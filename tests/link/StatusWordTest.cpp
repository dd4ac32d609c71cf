// From the printer's six status bytes to the status word, and the masks.
#include <gtest/gtest.h>

#include "Commands.h"
#include "Executor.h"
#include "Fakes.h"

namespace qmrtest {
namespace {

using qmr::Link;

struct BitCase {
    int byte;
    int bit;
    std::uint32_t word;  // 0: the bit reaches no status word bit
};

// Every bit of every status byte, with the status word bit it sets (0 for
// the bits that set none).
std::vector<BitCase> AllBits() {
    const BitCase mapped[] = {
        {0, 0, 0x1},        {0, 1, 0x2},       {0, 2, 0x4},        {0, 3, 0x1000000}, {0, 5, 0x20000000},
        {1, 0, 0x10},       {1, 1, 0x20},      {1, 2, 0x40},       {1, 4, 0x100},     {1, 5, 0x2000000},
        {2, 0, 0x200},      {2, 1, 0x1000},    {2, 2, 0x8},        {2, 3, 0x400},     {2, 4, 0x80},
        {2, 5, 0x800},      {4, 0, 0x10000},   {4, 2, 0x4000},     {4, 3, 0x100000},  {4, 4, 0x20000},
        {4, 5, 0x40000000}, {5, 0, 0x40000},   {5, 1, 0x200000},   {5, 2, 0x80000},   {5, 3, 0x400000},
        {5, 4, 0x8000},
    };
    std::vector<BitCase> all;
    for (int byte = 0; byte < 6; ++byte)
        for (int bit = 0; bit < 8; ++bit) {
            std::uint32_t word = 0;
            for (const auto& m : mapped)
                if (m.byte == byte && m.bit == bit) word = m.word;
            all.push_back({byte, bit, word});
        }
    return all;
}

class StatusBitTest : public LinkFixture, public ::testing::WithParamInterface<BitCase> {};

TEST_P(StatusBitTest, ReachesItsWordBitAndNoOther) {
    Status status{};
    status[static_cast<std::size_t>(GetParam().byte)] = static_cast<std::uint8_t>(1u << GetParam().bit);
    status = Sent(status);
    Link().SuppressStatusDlg = true;
    AnswerOk("", status);

    EXPECT_EQ(qmr::ExecCommand(qmr::ReadStatus, ""), qmr::ResultOk);

    EXPECT_EQ(Link().StatusWord, GetParam().word);
    EXPECT_EQ(Link().StatusBytes, status);
}

INSTANTIATE_TEST_SUITE_P(EveryBit, StatusBitTest, ::testing::ValuesIn(AllBits()), [](const auto& info) {
    return "Byte" + std::to_string(info.param.byte) + "Bit" + std::to_string(info.param.bit);
});

class StatusWordTest : public LinkFixture {};

TEST_F(StatusWordTest, AllStatusBitsTogetherGiveEveryMappedWordBit) {
    AnswerOk("", {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
    Link().SuppressStatusDlg = true;
    qmr::ExecCommand(qmr::ReadStatus, "");
    std::uint32_t expected = 0;
    for (const auto& c : AllBits()) expected |= c.word;
    EXPECT_EQ(Link().StatusWord, expected);
    // The link's own bits and the two that nothing sets stay clear.
    EXPECT_EQ(Link().StatusWord & (0x8000000u | 0x4000000u | 0x10000000u | 0x80000000u | 0x2000u | 0x800000u), 0u);
}

TEST(StatusMaskTest, MasksHoldTheirBits) {
    EXPECT_EQ(qmr::StatusErrorMask, 0x9C000023u);
    EXPECT_EQ(qmr::FatalStatusMask, 0xFC000000u);
    EXPECT_EQ(qmr::LinkStatusMask, 0x9C000000u);
    EXPECT_EQ(qmr::StatusErrorMask, qmr::swPortClosed | qmr::swNoResponse | qmr::swNestedExchangeRefused | qmr::swProtocolError |
                                        qmr::swNotPermitted | qmr::swInvalidCommand | qmr::swSyntaxError);
    EXPECT_EQ(qmr::FatalStatusMask, qmr::swPortClosed | qmr::swCommonFiscalError | qmr::swCommonError |
                                        qmr::swNoResponse | qmr::swNestedExchangeRefused | qmr::swProtocolError);
    EXPECT_EQ(qmr::LinkStatusMask, qmr::swPortClosed | qmr::swNoResponse | qmr::swNestedExchangeRefused | qmr::swProtocolError);
}

}  // namespace
}  // namespace qmrtest
