// The simulated printer's graphic logo, handled without a line.
#include <gtest/gtest.h>

#include "Commands.h"
#include "Printer.h"

namespace qmrsim {
namespace {

class SimLogo : public ::testing::Test {
protected:
    Reply Send(int command, const std::string& data = "") {
        return printer.Handle({seq++, static_cast<std::uint8_t>(command), data});
    }
    static int Bits(const Reply& r, StatusPos pos) { return (r.status[static_cast<std::size_t>(pos.byte)] >> pos.bit) & 1; }
    static bool Quiet(const Reply& r) {
        for (const std::uint8_t b : r.status)
            if (b != 0x80) return false;
        return true;
    }
    void Sell() {
        Send(qmr::OpenFiscalReceipt, "1,4826,123,I");
        Send(qmr::SellArticle, "1");
        Send(qmr::RegisterPayment);
        Send(qmr::CloseFiscalReceipt);
    }

    Printer printer;
    std::uint8_t seq = 0x20;
};

TEST_F(SimLogo, RowsAreKeptWithTheBytesTheyCarryAndBlankDotsAfter) {
    printer.logo.rows[7].fill(0xFF);
    EXPECT_TRUE(Quiet(Send(qmr::LoadLogoRow, "4826,7,80F0")));
    EXPECT_EQ(printer.logo.rows[7][0], 0x80);
    EXPECT_EQ(printer.logo.rows[7][1], 0xF0);
    EXPECT_EQ(printer.logo.rows[7][2], 0x00);  // a row replaces the whole row
    EXPECT_TRUE(Quiet(Send(qmr::LoadLogoRow, "4826,95," + std::string(108, 'f'))));
    EXPECT_EQ(printer.logo.rows[95][53], 0xFF);
    // An image narrower than a byte sends no bytes at all: a blank row.
    EXPECT_TRUE(Quiet(Send(qmr::LoadLogoRow, "4826,95,")));
    EXPECT_EQ(printer.logo.rows[95][0], 0x00);
}

struct RefusedRow {
    const char* name;
    std::string data;
    StatusPos bit;
};

TEST_F(SimLogo, MalformedRowsAndAWrongPasswordAreRefusedAndChangeNothing) {
    const RefusedRow rows[] = {
        {"row past the last", "4826,96,FF", st::SyntaxError},
        {"negative row", "4826,-1,FF", st::SyntaxError},
        {"row not a number", "4826,x,FF", st::SyntaxError},
        {"no row", "4826,,FF", st::SyntaxError},
        {"three digit row", "4826,001,FF", st::SyntaxError},
        {"55 bytes", "4826,3," + std::string(110, 'F'), st::SyntaxError},
        {"odd hex", "4826,3,FFF", st::SyntaxError},
        {"not hex", "4826,3,FG", st::SyntaxError},
        {"no bytes field", "4826,3", st::SyntaxError},
        {"nothing", "", st::SyntaxError},
        {"wrong password", "4827,3,FF", st::NotPermitted},
        {"empty password", ",3,FF", st::NotPermitted},
    };
    for (const RefusedRow& row : rows) {
        SCOPED_TRACE(row.name);
        const Reply r = Send(qmr::LoadLogoRow, row.data);
        EXPECT_EQ(Bits(r, row.bit), 1);
        EXPECT_EQ(printer.logo.rows, Logo{}.rows);
    }
    printer.logo.password = "";
    EXPECT_TRUE(Quiet(Send(qmr::LoadLogoRow, ",3,FF")));
}

TEST_F(SimLogo, ReceiptsBeginWithTheLogoWhileItIsSwitchedOn) {
    Send(qmr::LoadLogoRow, "4826,90,C3");  // ##    ##
    Send(qmr::LoadLogoRow, "4826,92,0001");
    Sell();
    EXPECT_EQ(printer.paper.front(), "FISCAL RECEIPT");  // a new printer prints no logo

    EXPECT_TRUE(Quiet(Send(qmr::ConfigureReceiptLayout, "L1")));
    printer.paper.clear();
    Sell();
    ASSERT_GE(printer.paper.size(), 4u);
    // From the first row with a dot to the last, without trailing blanks.
    EXPECT_EQ((std::vector<std::string>(printer.paper.begin(), printer.paper.begin() + 4)),
              (std::vector<std::string>{"##    ##", "", "               #", "FISCAL RECEIPT"}));

    EXPECT_TRUE(Quiet(Send(qmr::ConfigureReceiptLayout, "L0")));
    printer.paper.clear();
    Sell();
    EXPECT_EQ(printer.paper.front(), "FISCAL RECEIPT");
    EXPECT_TRUE(LogoLines(Logo{}).empty());
}

TEST_F(SimLogo, OtherLayoutFormsGoToTheHandlerThatWasThere) {
    EXPECT_EQ(Bits(Send(qmr::ConfigureReceiptLayout, "L2"), st::SyntaxError), 1);
    EXPECT_EQ(Bits(Send(qmr::ConfigureReceiptLayout, "1SHOP"), st::SyntaxError), 1);

    printer.SetReplyData(qmr::ConfigureReceiptLayout, "header");
    RegisterLogoCommands(printer);
    EXPECT_EQ(Send(qmr::ConfigureReceiptLayout, "I1").data, "header");
    EXPECT_EQ(Send(qmr::ConfigureReceiptLayout, "L1").data, "");
    EXPECT_TRUE(printer.logo.printing);
}

TEST_F(SimLogo, TheLogoItsPasswordAndItsSwitchSurviveASaveAndALoad) {
    Send(qmr::LoadLogoRow, "4826,0,80");
    Send(qmr::LoadLogoRow, "4826,95," + std::string(108, 'F'));
    Send(qmr::ConfigureReceiptLayout, "L1");
    printer.logo.password = "a,b\n";
    Printer restored;
    std::string error;
    ASSERT_TRUE(restored.LoadState(printer.SaveState(), error)) << error;
    EXPECT_EQ(restored.logo.rows, printer.logo.rows);
    EXPECT_TRUE(restored.logo.printing);
    EXPECT_EQ(restored.logo.password, "a,b\n");

    const std::string good = Printer().SaveState();
    for (const char* section : {"[logo]\n", "[logo]\nmaybe\n4826\n", "[logo]\noff\n4826\n96 FF\n",
                                "[logo]\noff\n4826\n3 FFF\n", "[logo]\noff\n4826\n3\n"}) {
        SCOPED_TRACE(section);
        Printer target;
        EXPECT_FALSE(target.LoadState(good + section, error));
    }
}

}  // namespace
}  // namespace qmrsim
