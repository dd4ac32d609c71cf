// The example articles file against the simulated printer's articles.
#include <gtest/gtest.h>

#include <QFile>

#include "ArticleFile.h"
#include "Printer.h"

namespace qmrsim {
namespace {

// The example articles file is the simulated printer's demonstration shop,
// so a user can load it and sell at once.
TEST(DemoShop, TheExampleFileHoldsThePrintersArticles) {
    QFile file(QStringLiteral(EXAMPLES_DIR "/demo-shop.art"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const vextora::ArticleTable table = vextora::ParseArticleFile(file.readAll().toStdString());
    const auto articles = Receipts::DemoArticles();
    ASSERT_EQ(table.RowCount(), static_cast<int>(articles.size()) + 1);
    int r = 1;
    for (const auto& [plu, a] : articles) {
        const vextora::ArticleRow& row = table.Row(r++);
        EXPECT_EQ(row[vextora::ColPlu], std::to_string(plu));
        EXPECT_EQ(row[vextora::ColTax], std::string(1, a.taxLetter));
        EXPECT_EQ(row[vextora::ColGroup], std::to_string(a.group));
        EXPECT_EQ(row[vextora::ColName], a.name);
        EXPECT_EQ(row[vextora::ColPrice], std::to_string(a.price / 100) + "." + std::to_string(a.price % 100 + 100).substr(1));
    }
}

}  // namespace
}  // namespace qmrsim
