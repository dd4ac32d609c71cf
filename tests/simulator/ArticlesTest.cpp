// The simulated printer's article table through ProgramArticles, without a line.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "Commands.h"
#include "Printer.h"

namespace qmrsim {
namespace {

class SimArticles : public ::testing::Test {
protected:
    Reply Send(const std::string& data, int command = qmr::ProgramArticles) {
        return printer.Handle({seq++, static_cast<std::uint8_t>(command), data});
    }
    static bool Refused(const Reply& r, StatusPos pos) { return (r.status[static_cast<std::size_t>(pos.byte)] >> pos.bit) & 1; }
    static bool Quiet(const Reply& r) {
        for (const auto b : r.status)
            if (b != 0x80) return false;
        return true;
    }
    // Every record the listing gives, from "F" to the first reply without 'P'.
    std::vector<std::string> Listing() {
        std::vector<std::string> records;
        for (Reply r = Send("F"); !r.data.empty() && r.data[0] == 'P'; r = Send("N")) records.push_back(r.data);
        return records;
    }

    Printer printer;
    std::uint8_t seq = 0x20;
};

TEST_F(SimArticles, TheListingWalksTheTableInPluOrderAndEndsWithoutP) {
    printer.receipts.articles.clear();
    EXPECT_EQ(Send("F").data, "F");
    EXPECT_EQ(Send("N").data, "F");

    printer.receipts.articles[12] = Article{12, '\xC0', 1, 250, "MILK\tFRESH, 1L"};
    printer.receipts.articles[3] = Article{3, '\xC4', 7, 100000, "X"};
    EXPECT_EQ(Listing(), (std::vector<std::string>{"P,3,\xC4,7,1000.00,0.000,0.00,0.000,0.00,X",
                                                   "P,12,\xC0,1,2.50,0.000,0.00,0.000,0.00,MILK\tFRESH, 1L"}));
    // Past the end it stays at the end; "F" starts again.
    EXPECT_EQ(Send("N").data, "F");
    EXPECT_EQ(Send("F").data.substr(0, 4), "P,3,");
    // An article deleted under the cursor does not lose the place.
    printer.receipts.articles.erase(3);
    EXPECT_EQ(Send("N").data.substr(0, 5), "P,12,");
}

TEST_F(SimArticles, SoldQuantitiesAndAmountsStandInTheRecord) {
    printer.receipts.articles = {{15, Article{15, '\xC1', 1, 250, "MILK"}}};
    Send("1,4826,123,I", qmr::OpenFiscalReceipt);
    Send("15*3.000", qmr::SellArticle);
    Send("-15*1.000", qmr::SellArticle);
    EXPECT_EQ(Send("F").data, "P,15,\xC1,1,2.50,2.000,5.00,0.000,0.00,MILK");
    // Below zero the sign stands once, before the whole number.
    printer.receipts.articles[15].soldQuantity = -500;
    printer.receipts.articles[15].soldAmount = -125;
    EXPECT_EQ(Send("F").data, "P,15,\xC1,1,2.50,-0.500,-1.25,0.000,0.00,MILK");
}

TEST_F(SimArticles, ProgrammingTakesTheServicePasswordAndHoldsMoreThanAHundred) {
    printer.receipts.articles.clear();
    Reply r = Send("P\xC0" "12,1,2.50,4826,MILK, 1L");
    EXPECT_TRUE(Quiet(r));
    EXPECT_EQ(Send("F").data, "P,12,\xC0,1,2.50,0.000,0.00,0.000,0.00,MILK, 1L");
    // Programming again replaces it.
    EXPECT_TRUE(Quiet(Send("P\xC2" "12,3,4,4826,")));
    EXPECT_EQ(Send("F").data, "P,12,\xC2,3,4.00,0.000,0.00,0.000,0.00,");
    for (int plu = 100; plu < 250; ++plu) ASSERT_TRUE(Quiet(Send("P\xC1" + std::to_string(plu) + ",1,1.00,4826,A")));
    EXPECT_EQ(Listing().size(), 151u);
    // Programmed articles sell.
    Send("1,4826,123,I", qmr::OpenFiscalReceipt);
    Send("249*1.000", qmr::SellArticle);
    EXPECT_EQ(printer.receipts.receipt.total, 100);
}

TEST_F(SimArticles, BadTextsAndWrongPasswordsAreRefusedAndChangeNothing) {
    const auto before = printer.receipts.articles.size();
    for (const std::string& bad : std::vector<std::string>{"P\xC0", "P\xC0" "12", "P\xC5" "12,1,2.50,4826,X", "PA12,1,2.50,4826,X",
                                  "P\xC0" "0,1,2.50,4826,X", "P\xC0" "123456,1,2.50,4826,X", "P\xC0" "12,0,2.50,4826,X",
                                  "P\xC0" "12,1,2.505,4826,X", "P\xC0" "12,1,-2,4826,X", "P\xC0" "12,1,2.50,4826",
                                  "P\xC0" "12,1,2.50,4826," + std::string(73, 'N'), "X", "", "D", "Dx,4826"})
        EXPECT_TRUE(Refused(Send(bad), st::SyntaxError)) << bad;
    EXPECT_TRUE(Refused(Send("P\xC0" "12,1,2.50,1111,X"), st::NotPermitted));
    EXPECT_TRUE(Refused(Send("D1,1111"), st::NotPermitted));
    EXPECT_EQ(printer.receipts.articles.size(), before);
    // Not while a receipt is open.
    Send("1,4826,123,I", qmr::OpenFiscalReceipt);
    EXPECT_TRUE(Refused(Send("P\xC0" "12,1,2.50,4826,X"), st::NotPermitted));
    EXPECT_EQ(Send("D1,4826").data, "F");
    EXPECT_EQ(printer.receipts.articles.size(), before);
}

TEST_F(SimArticles, ATableThatIsFullTakesNoNewArticleButReplacesItsOwn) {
    printer.receipts.articles.clear();
    for (int plu = 1; plu <= Articles::MaxArticles; ++plu) printer.receipts.articles[plu] = Article{plu, '\xC0', 1, 1, "A"};
    EXPECT_TRUE(Refused(Send("P\xC0" "5000,1,1.00,4826,NEW"), st::NotPermitted));
    EXPECT_TRUE(Quiet(Send("P\xC0" "7,1,1.00,4826,NEW")));
    EXPECT_EQ(printer.receipts.articles[7].name, "NEW");
}

TEST_F(SimArticles, DeletingAnswersPWhenTheArticleWentAndTheServicePasswordIsTheOneThatCounts) {
    EXPECT_EQ(Send("D2,4826").data, "P");
    EXPECT_EQ(printer.receipts.articles.count(2), 0u);
    EXPECT_EQ(Send("D2,4826").data, "F");  // no such article: nothing to delete, no error bit
    // Not an operator's password: the service password alone.
    printer.articles.servicePassword = "0000";
    EXPECT_EQ(Send("D3,4826").data, "F");
    EXPECT_EQ(Send("D3,0000").data, "P");
}

TEST_F(SimArticles, TheTableAndThePasswordOutliveAPowerCycle) {
    printer.receipts.articles = {{7, Article{7, '\xC3', 12, 1234, " 50%\tOFF, NOW"}}};
    printer.receipts.articles[7].soldQuantity = -1500;
    printer.receipts.articles[7].soldAmount = -1851;
    printer.articles.servicePassword = "77 7";
    Printer again;
    std::string error;
    ASSERT_TRUE(again.LoadState(printer.SaveState(), error)) << error;
    ASSERT_EQ(again.receipts.articles.size(), 1u);
    const Article& a = again.receipts.articles[7];
    EXPECT_EQ((std::tuple{a.plu, a.taxLetter, a.group, a.price, a.soldQuantity, a.soldAmount, a.name}),
              (std::tuple{7, '\xC3', 12, 1234LL, -1500LL, -1851LL, std::string(" 50%\tOFF, NOW")}));
    EXPECT_EQ(again.articles.servicePassword, "77 7");
    // An empty table stays empty, rather than the demonstration shop coming back.
    printer.receipts.articles.clear();
    ASSERT_TRUE(again.LoadState(printer.SaveState(), error));
    EXPECT_TRUE(again.receipts.articles.empty());
    for (const char* bad : {"article 7 C3 12 1234 0 0", "article x C3 12 1234 0 0 A", "article 7 41 12 1234 0 0 A",
                            "password %4"})
        EXPECT_FALSE(again.LoadState(std::string("qmr770-state 1\n[articles]\n") + bad + "\n", error)) << bad;
}

}  // namespace
}  // namespace qmrsim
