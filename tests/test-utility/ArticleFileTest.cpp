#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <random>

#include "ArticleFile.h"
#include "DiskLimit.h"
#include "ReadOnlyFolder.h"

using namespace vextora;

namespace {

ArticleRow Row(std::string plu, std::string tax, std::string group, std::string price, std::string name) {
    return {plu, tax, group, price, "0.000", name};
}

std::vector<ArticleRow> Rows(const ArticleTable& t) {
    std::vector<ArticleRow> rows;
    for (int r = 1; r < t.RowCount(); ++r) rows.push_back(t.Row(r));
    return rows;
}

const std::string A = "\xC0", BE = "\xC1", VE = "\xC2";

}  // namespace

TEST(ArticleTableRows, EmptyTableHasOneEmptyRowAndRowsCountWithTheHeader) {
    ArticleTable t;
    EXPECT_EQ(t.RowCount(), 2);
    EXPECT_EQ(t.Row(1), ArticleRow{});
    int n = 0;
    t.Append(n, Row("1", A, "1", "1.00", "X"));
    EXPECT_EQ(t.RowCount(), 2);
    t.Append(n, Row("2", A, "1", "1.00", "Y"));
    EXPECT_EQ(t.RowCount(), 3);
    t.RemoveRow(1);
    EXPECT_EQ(t.Row(1)[ColName], "Y");
    t.RemoveRow(1);
    EXPECT_EQ(t.RowCount(), 1);  // the header alone
    EXPECT_EQ(t.Row(0), ArticleRow{});
    EXPECT_EQ(t.Row(5), ArticleRow{});
    t.Reset();
    EXPECT_EQ(t.RowCount(), 2);
}

TEST(ArticleLines, LineEndsAreLfWithCrAndControlBytesDropped) {
    const std::vector<std::string> expected = {"12,1,2.5,2,MILK", "13,1,3,1,BREAD", ""};
    EXPECT_EQ(SplitArticleLines("12,1,2.5,2,MILK\r\n13,1,3,1,BREAD\r\n"), expected);
    EXPECT_EQ(SplitArticleLines("12,1,2.5,2,MILK\n13,1,3,1,BREAD\n"), expected);
    const std::vector<std::string> noLastEnd = {"12,1,2.5,2,MILK", "13,1,3,1,BREAD"};
    EXPECT_EQ(SplitArticleLines("12,1,2.5,2,MILK\n13,1,3,1,BREAD"), noLastEnd);
    EXPECT_EQ(SplitArticleLines(std::string("1\0" "2,\x01\x1F\x7F\tX\xFF", 10)), std::vector<std::string>{"12,\x7F\tX\xFF"});
}

TEST(ArticleLines, LongLinesAreCutAfter255Bytes) {
    const std::string longLine(300, 'a');
    const auto lines = SplitArticleLines(longLine + "\nb");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], std::string(255, 'a'));
    EXPECT_EQ(lines[1], std::string(45, 'a'));
    EXPECT_EQ(lines[2], "b");
}

TEST(ArticleLines, EachLineGivesItsRowOrNone) {
    const struct {
        std::string line;
        std::optional<ArticleRow> row;
    } cases[] = {
        {"12,1,2.5,2,MILK", Row("12", BE, "1", "2.50", "MILK")},
        {"12,1.9,2.5,2,A,B", Row("12", BE, "1", "2.50", "A,B")},
        {"00012,1,2.50,1,X", Row("12", A, "1", "2.50", "X")},
        {"-5,-1.9,-2.5,3,", Row("-5", VE, "-1", "-2.50", "")},
        {"0,0,0,5,N\tT", Row("0", "\xC4", "0", "0.00", "N\tT")},
        {"  7,1e2,1e1,2.9,X", Row("7", BE, "100", "10.00", "X")},
        {"12,1,123456789,1,X", Row("12", A, "1", "123456792.00", "X")},  // single precision
        {"12,1,2.5,6,X", std::nullopt},
        {"12,1,2.5,0,X", std::nullopt},
        {"123", std::nullopt},
        {"12,1", std::nullopt},
        {"1,", std::nullopt},
        {"12,1,1e39,1,X", std::nullopt},  // no single-precision price
    };
    for (const auto& c : cases) EXPECT_EQ(ParseArticleLine(c.line), c.row) << c.line;
}

TEST(ArticleLines, NamesKeepEveryByteFromBlankTo0xFF) {
    std::string name;
    for (int b = 0x20; b <= 0xFF; ++b) name.push_back(static_cast<char>(b));
    name += "\t";
    const std::string file = "1,1,1,1," + name.substr(0, 120) + "\r\n2,1,1,1," + name.substr(120) + "\r\n";
    const ArticleTable t = ParseArticleFile(file);
    ASSERT_EQ(t.RowCount(), 3);
    EXPECT_EQ(t.Row(1)[ColName] + t.Row(2)[ColName], name);
    EXPECT_EQ(FormatArticleFile(t).file, "00001,1,1.00,1," + name.substr(0, 120) + "\r\n00002,1,1.00,1," + name.substr(120) + "\r\n");
}

TEST(ArticleFileRows, WholeFileInOrderWithBadLinesSkipped) {
    const ArticleTable t = ParseArticleFile("12,1,2.5,2,MILK\r\n1,\r\n12,1,2.5,7,X\r\n12,2,1,1,AGAIN\r\n0,1,1,1,ZERO");
    const std::vector<ArticleRow> expected = {Row("12", BE, "1", "2.50", "MILK"), Row("12", A, "2", "1.00", "AGAIN"),
                                              Row("0", A, "1", "1.00", "ZERO")};
    EXPECT_EQ(Rows(t), expected);
    const ArticleTable none = ParseArticleFile("junk\n\n1,2\n");
    EXPECT_EQ(none.RowCount(), 2);
    EXPECT_EQ(none.Row(1), ArticleRow{});
}

TEST(ArticleFileRows, PiecesOfAnySizeGiveTheSameTable) {
    std::string file;
    for (int i = 0; i < 200; ++i) file += std::to_string(i + 1) + ",1,1." + std::to_string(i % 10) + ",1," + std::string(i, 'a') + (i % 3 ? "\r\n" : "\n");
    const ArticleTable whole = ParseArticleFile(file);
    for (const std::size_t size : {1u, 2u, 7u, 254u, 255u, 256u, 4096u}) {
        ArticleFileReader reader;
        for (std::size_t at = 0; at < file.size(); at += size) reader.Feed(std::string_view(file).substr(at, size));
        const ArticleTable pieces = reader.Finish();
        ASSERT_EQ(pieces.RowCount(), whole.RowCount()) << size;
        for (int r = 1; r < whole.RowCount(); ++r) EXPECT_EQ(pieces.Row(r), whole.Row(r)) << size;
    }
}

TEST(ArticleFileSave, WritesCanonicalLinesAndSkipsWhatCannotBeSaved) {
    const ArticleTable loaded = ParseArticleFile("12,1,2.5,1,X\n-3,4,0.125,5,Y,Z\n");
    EXPECT_EQ(FormatArticleFile(loaded).file, "00012,1,2.50,1,X\r\n-0003,4,0.12,5,Y,Z\r\n");
    ArticleTable t;
    int n = 0;
    t.Append(n, Row("0", A, "1", "1.00", "PLU ZERO"));
    t.Append(n, Row("5", "B", "1", "1.00", "LATIN TAX"));
    t.Append(n, Row("6", "", "1", "1.00", "NO TAX"));
    t.Append(n, Row("", A, "1", "1.00", "NO PLU"));
    const SavedArticles none = FormatArticleFile(t);
    EXPECT_EQ(none.file, "");
    EXPECT_TRUE(none.refused.empty());  // skipped without a word
    EXPECT_EQ(FormatArticleFile(ArticleTable{}).file, "");
    // A name near the load limit makes a line longer than the buffer; it is formatted whole.
    const std::string longName(250, 'n');
    EXPECT_EQ(FormatArticleLine(Row("123456", A, "99", "12345.67", longName)),
              "123456,99,12345.67,1," + longName + "\r\n");
}

// Bytes 0x20-0xFF with commas and tails that read as articles, of lengths
// around the reader's cut.
class RandomArticles {
public:
    explicit RandomArticles(unsigned seed) : gen_(seed) {}
    std::string Line() {
        const int plu = Pick(-99999, 999999);
        std::string line = std::to_string(plu) + "," + std::to_string(Pick(0, 99)) + "," + std::to_string(Pick(0, 99999)) +
                           "." + std::to_string(Pick(0, 9)) + "," + std::to_string(Pick(1, 5)) + ",";
        const int length = Pick(200, 250);
        while (static_cast<int>(line.size()) < length) line.push_back(static_cast<char>(Pick(0x20, 0xFF)));
        if (Pick(0, 1)) line += "9,1,1,1";
        return line;
    }

private:
    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(gen_); }
    std::mt19937 gen_;
};

TEST(ArticleFileRoundTrip, WhatIsSavedLoadsBackAsTheSameRowsAndTheRestIsNamed) {
    for (unsigned seed = 1; seed <= 20; ++seed) {
        RandomArticles random(seed);
        std::string file;
        for (int i = 0; i < 50; ++i) file += random.Line() + "\r\n";
        const ArticleTable loaded = ParseArticleFile(file);
        const SavedArticles saved = FormatArticleFile(loaded);
        // Every row that is not refused comes back, in order, and no other.
        std::vector<ArticleRow> kept;
        std::vector<std::string> refused;
        for (const ArticleRow& row : Rows(loaded)) {
            if (row[ColPlu] == "0") continue;
            if (FormatArticleLine(row)->size() > MaxArticleLine + 2)
                refused.push_back(row[ColPlu]);
            else
                kept.push_back(row);
        }
        EXPECT_EQ(saved.refused, refused) << "seed " << seed;
        const ArticleTable reloaded = ParseArticleFile(saved.file);
        EXPECT_EQ(kept.empty() ? std::vector<ArticleRow>{ArticleRow{}} : kept, Rows(reloaded)) << "seed " << seed;
        EXPECT_EQ(FormatArticleFile(reloaded).file, saved.file) << "seed " << seed;
    }
}

TEST(ArticleFileRoundTrip, ARowThatWouldNotComeBackAsItselfIsRefused) {
    const std::string tail = "9,1,1,1";
    const struct {
        ArticleRow row;
        bool saved;
    } cases[] = {
        // 255 bytes without CR LF is the longest line the reader keeps whole.
        {Row("1", A, "1", "2.5", std::string(255 - 15, 'n')), true},
        {Row("1", A, "1", "2.5", std::string(255 - 15 - tail.size(), 'n') + tail), true},
        {Row("1", A, "1", "2.5", std::string(256 - 15 - tail.size(), 'n') + tail), false},  // a PLU 9 would appear
        {Row("1", A, "1", "2.5", std::string(256 - 15, 'n')), false},
        {Row("1", A, "1", "2.5", "TWO\nLINES"), false},  // read from the printer, say
        {Row("1", A, "1", "2.5", std::string("NUL\0", 4)), false},
        {Row("1", A, "1", "2.5", "TAB\tOK"), true},
        {Row("1", A, "1", "1e39", "TOO DEAR"), false},  // no single-precision price to load
    };
    for (const auto& c : cases) {
        ArticleTable t;
        int n = 0;
        t.Append(n, Row("7", A, "1", "1.00", "BEFORE"));
        t.Append(n, c.row);
        const SavedArticles saved = FormatArticleFile(t);
        EXPECT_EQ(saved.refused, c.saved ? std::vector<std::string>{} : std::vector<std::string>{"1"}) << c.row[ColName];
        EXPECT_EQ(ParseArticleFile(saved.file).RowCount(), c.saved ? 3 : 2) << c.row[ColName];
    }
}

TEST(ArticleFileRoundTrip, TheMessageNamesTheFirstTenRefusedPlus) {
    EXPECT_EQ(RefusedArticlesMessage({"9", "-12"}), "Articles not saved, they would not load back as they are: PLU 9, -12");
    std::vector<std::string> many;
    for (int plu = 1; plu <= 11; ++plu) many.push_back(std::to_string(plu));
    EXPECT_EQ(RefusedArticlesMessage(many),
              "Articles not saved, they would not load back as they are: PLU 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, ...");
}

class SaveFile : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path = dir.filePath("goods.art");

    void Put(const QByteArray& bytes) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray Get() {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
};

TEST_F(SaveFile, ReplacesALongerFileWhole) {
    Put(QByteArray(1000, 'x'));
    ASSERT_TRUE(WriteFileSafely(path, "00012,1,2.50,1,X\r\n"));
    EXPECT_EQ(Get(), "00012,1,2.50,1,X\r\n");
    ASSERT_TRUE(WriteFileSafely(path, ""));
    EXPECT_EQ(Get(), "");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"goods.art"});
}

TEST_F(SaveFile, AFailedWriteLeavesTheOldFileAsItWas) {
    Put("00001,1,1.00,1,OLD\r\n");
    {
        const DiskLimit full(100);
        EXPECT_FALSE(WriteFileSafely(path, std::string(100000, 'y')));
    }
    EXPECT_EQ(Get(), "00001,1,1.00,1,OLD\r\n");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"goods.art"});
}

TEST_F(SaveFile, AFolderThatCannotBeWrittenIsAFailure) {
    EXPECT_FALSE(WriteFileSafely(dir.filePath("no/such/folder/goods.art"), "x"));
}

TEST_F(SaveFile, AFileInAFolderThatRefusesNewFilesIsWrittenInPlace) {
    const ReadOnlyFolder folder(dir.path(), "goods.art", "OLD\r\n");
    if (!folder.Refuses()) GTEST_SKIP() << "this user may create files in any folder";
    ASSERT_TRUE(WriteFileSafely(folder.File(), "00012,1,2.50,1,X\r\n"));
    QFile f(folder.File());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), "00012,1,2.50,1,X\r\n");
    // A write that fails there is still a failure.
    const DiskLimit full(100);
    EXPECT_FALSE(WriteFileSafely(folder.File(), std::string(100000, 'y')));
    // And a new file cannot be made there at all.
    EXPECT_FALSE(WriteFileSafely(QFileInfo(folder.File()).path() + "/new.art", "x"));
}
