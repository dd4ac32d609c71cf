// How much memory loading an articles file takes. The binary counts every
// block that operator new hands out, so a load that keeps more than its rows
// and the piece being read shows as a peak well above the rows it gave.
#include <gtest/gtest.h>
#include <malloc.h>

#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <new>

#include "ArticleFile.h"

namespace {

std::atomic<std::size_t> held{0};
std::atomic<std::size_t> peak{0};

}  // namespace

void* operator new(std::size_t size) {
    void* block = std::malloc(size ? size : 1);
    if (!block) throw std::bad_alloc();
    const std::size_t now = held += malloc_usable_size(block);
    std::size_t before = peak.load();
    while (now > before && !peak.compare_exchange_weak(before, now)) {
    }
    return block;
}

void operator delete(void* block) noexcept {
    if (!block) return;
    held -= malloc_usable_size(block);
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept { operator delete(block); }

namespace vextora {
namespace {

class LoadMemory : public ::testing::Test {
protected:
    QTemporaryDir dir;

    QString Write(const QByteArray& bytes) {
        const QString path = dir.filePath("big.art");
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }
    // The most the load held above what was held before it, with what it gave.
    std::size_t PeakOfLoad(const QString& path, std::optional<ArticleTable>& table) {
        const std::size_t before = held.load();
        peak = before;
        table = LoadArticleFile(path);
        return peak.load() - before;
    }
};

constexpr std::size_t MiB = 1024 * 1024;

TEST_F(LoadMemory, LinesWithoutRowsCostOnlyThePieceBeingRead) {
    const QByteArray cases[] = {
        QByteArray(4 * MiB, '\n'),
        QByteArray(4 * MiB, 'x'),  // long lines, each cut into many
        QByteArray("1,\r\n").repeated(MiB),
    };
    for (const QByteArray& bytes : cases) {
        std::optional<ArticleTable> table;
        EXPECT_LT(PeakOfLoad(Write(bytes), table), MiB);
        ASSERT_TRUE(table);
        EXPECT_EQ(table->RowCount(), 2);
    }
}

TEST_F(LoadMemory, AFileOfRowsCostsLittleMoreThanItsRows) {
    // Each row's name is too long to sit inside its text, so the rows weigh
    // as much as their lines in the file.
    const QByteArray line = "12,1,2.50,2," + QByteArray(200, 'n') + "\r\n";
    const QString path = Write(line.repeated(20000));
    const std::size_t before = held.load();
    std::optional<ArticleTable> table;
    const std::size_t loadPeak = PeakOfLoad(path, table);
    ASSERT_TRUE(table);
    EXPECT_EQ(table->RowCount(), 20001);
    const std::size_t rows = held.load() - before;
    // The rows' vector may double once more while the last rows come in.
    EXPECT_LT(loadPeak, rows + rows / 2 + MiB);
}

}  // namespace
}  // namespace vextora
