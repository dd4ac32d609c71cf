// The programs' one way of writing a file.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "../test-utility/DiskLimit.h"
#include "../test-utility/ReadOnlyFolder.h"
#include "SafeSave.h"

namespace {

class SafeSave : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path = dir.filePath("lines.fph");

    QByteArray Get() {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    QStringList Files() { return QDir(dir.path()).entryList(QDir::Files); }
};

TEST_F(SafeSave, WritesEveryByteAndCutsALongerOldFile) {
    ASSERT_TRUE(qmr::WriteFileSafely(path, std::string(5000, 'x')));
    const std::string bytes("0,\xC0\xC1\x00\xFF\r\n", 7);
    ASSERT_TRUE(qmr::WriteFileSafely(path, bytes));
    EXPECT_EQ(Get(), QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    EXPECT_EQ(Files(), QStringList{"lines.fph"});  // no temporary file is left behind
}

TEST_F(SafeSave, AWriteThatFailsLeavesTheOldFileAndNoTemporaryFile) {
    ASSERT_TRUE(qmr::WriteFileSafely(path, "old"));
    {
        const DiskLimit full(100);
        EXPECT_FALSE(qmr::WriteFileSafely(path, std::string(100000, 'y')));
    }
    EXPECT_EQ(Get(), "old");
    EXPECT_EQ(Files(), QStringList{"lines.fph"});
    EXPECT_FALSE(qmr::WriteFileSafely(dir.filePath("no/such/folder/lines.fph"), "x"));
}

// Where no temporary file can be made, the file itself takes the new bytes:
// a disk without room for them must leave every old byte in place.
TEST_F(SafeSave, InPlaceAFullDiskLeavesTheOldFileByteForByte) {
    const std::string old("0,\xC0\xC1 OLD\r\n1,\x00\xFF\r\n", 16);
    const ReadOnlyFolder folder(dir.path(), "lines.fph", old);
    if (!folder.Refuses()) GTEST_SKIP() << "this user may create files in any folder";
    const auto content = [&] {
        QFile f(folder.File());
        return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string("<missing>");
    };
    {
        const DiskLimit full(100);
        EXPECT_FALSE(qmr::WriteFileSafely(folder.File(), std::string(100000, 'y')));
        EXPECT_EQ(content(), old);
        // Bytes that fit where the old ones are still go in, and cut the rest.
        ASSERT_TRUE(qmr::WriteFileSafely(folder.File(), "new"));
        EXPECT_EQ(content(), "new");
    }
    const std::string longer(5000, 'z');
    ASSERT_TRUE(qmr::WriteFileSafely(folder.File(), longer));
    EXPECT_EQ(content(), longer);
}

}  // namespace
