// The simulated printer's operators: names, passwords and their report.
#include <gtest/gtest.h>

#include "Commands.h"
#include "Printer.h"
#include "SimPrinter.h"

namespace qmrsim {
namespace {

class SimOperators : public SimPrinter {};

TEST_F(SimOperators, ANewPasswordOpensReceiptsAndTheOldOneNoLonger) {
    EXPECT_TRUE(Done(Send(qmr::SetOperatorPassword, "15,4826,7391")));
    EXPECT_EQ(printer.receipts.operatorPasswords[14], "7391");
    EXPECT_TRUE(Refused(Send(qmr::OpenFiscalReceipt, "15,4826,1"), st::NotPermitted));
    EXPECT_TRUE(Done(Send(qmr::OpenFiscalReceipt, "15,7391,1")));
    // Not while a receipt is open, even with the right password.
    EXPECT_TRUE(Refused(Send(qmr::SetOperatorPassword, "15,7391,1111"), st::NotPermitted));
    EXPECT_EQ(printer.receipts.operatorPasswords[14], "7391");
}

TEST_F(SimOperators, NamesAreSetWithTheOperatorsPassword) {
    EXPECT_TRUE(Done(Send(qmr::SetOperatorName, "1,4826,ANNA \xCF\xE5\xF2\xF0\xEE\xE2\xE0")));
    EXPECT_EQ(printer.operators.names[0], "ANNA \xCF\xE5\xF2\xF0\xEE\xE2\xE0");
    EXPECT_TRUE(Done(Send(qmr::SetOperatorName, "3,4826,123456789012345678901234")));
    EXPECT_EQ(printer.operators.names[2], "123456789012345678901234");
    EXPECT_EQ(printer.operators.names[1], "OPERATOR 2");
}

TEST_F(SimOperators, RefusalsLeaveNamesAndPasswordsAlone) {
    struct Case {
        int command;
        const char* data;
        StatusPos bit;
    };
    const Case cases[] = {
        {qmr::SetOperatorPassword, "1,1111,2222", st::NotPermitted},  // wrong old password
        {qmr::SetOperatorPassword, "1,,2222", st::NotPermitted},
        {qmr::SetOperatorPassword, "1,4826,", st::SyntaxError},        // no new password
        {qmr::SetOperatorPassword, "1,4826,1234567", st::SyntaxError},
        {qmr::SetOperatorPassword, "0,4826,2222", st::SyntaxError},
        {qmr::SetOperatorPassword, "16,4826,2222", st::SyntaxError},
        {qmr::SetOperatorPassword, "1,4826", st::SyntaxError},
        {qmr::SetOperatorName, "2,1111,BOB", st::NotPermitted},
        {qmr::SetOperatorName, "2,4826,BOB,JR", st::SyntaxError},     // a comma in the name
        {qmr::SetOperatorName, "2,4826,1234567890123456789012345", st::SyntaxError},
        {qmr::SetOperatorName, "x,4826,BOB", st::SyntaxError},
        {qmr::SetOperatorName, "", st::SyntaxError},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(Refused(Send(c.command, c.data), c.bit)) << c.data;
    }
    EXPECT_EQ(printer.receipts.operatorPasswords, Receipts::DefaultPasswords());
    EXPECT_EQ(printer.operators.names, Operators::DefaultNames());
}

TEST_F(SimOperators, TheReportPrintsEveryOperatorByName) {
    Send(qmr::SetOperatorName, "2,4826,MARIA");
    EXPECT_TRUE(Done(Send(qmr::PrintOperatorsReport, "")));
    ASSERT_EQ(printer.paper.size(), 17u);
    EXPECT_EQ(printer.paper.front(), "OPERATORS REPORT");
    EXPECT_EQ(printer.paper[1], "01 OPERATOR 1");
    EXPECT_EQ(printer.paper[2], "02 MARIA");
    EXPECT_EQ(printer.paper[15], "15 OPERATOR 15");
    EXPECT_EQ(printer.paper.back(), "END OF REPORT");

    EXPECT_TRUE(Done(Send(qmr::PrintOperatorsReport, "4826")));
    EXPECT_TRUE(Refused(Send(qmr::PrintOperatorsReport, "9999"), st::NotPermitted));
    Send(qmr::OpenFiscalReceipt, "1,4826,1");
    EXPECT_TRUE(Refused(Send(qmr::PrintOperatorsReport, ""), st::NotPermitted));
}

TEST_F(SimOperators, NamesAndPasswordsSurviveASaveAndALoad) {
    Send(qmr::SetOperatorName, "4,4826,JO\tE %");
    Send(qmr::SetOperatorPassword, "9,4826,A%1");
    Printer restored;
    std::string error;
    ASSERT_TRUE(restored.LoadState(printer.SaveState(), error)) << error;
    EXPECT_EQ(restored.operators.names[3], "JO\tE %");
    EXPECT_EQ(restored.receipts.operatorPasswords[8], "A%1");
    EXPECT_EQ(restored.operators.names[0], "OPERATOR 1");

    Printer damaged;
    EXPECT_FALSE(damaged.LoadState("qmr770-state 1\n[operators]\n4826\tA\n", error));
}

}  // namespace
}  // namespace qmrsim
