// The logo rows a bitmap becomes, without a window.
#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>
#include <functional>
#include <string>
#include <vector>

#include "LogoRows.h"
#include "UiTestSupport.h"

namespace qmr::ui {
namespace {

constexpr QRgb White = 0xFFFFFFFF;
constexpr QRgb Black = 0xFF000000;

// A white picture with the given pixels black, in 32 bits.
QImage Picture(int w, int h, const std::vector<QPoint>& black = {}, QImage::Format format = QImage::Format_RGB32) {
    QImage image(w, h, format);
    image.fill(Qt::white);
    for (const QPoint& p : black) image.setPixel(p, Black);
    return image;
}

// The same picture in one bit per pixel, with black at the given index.
QImage OneBit(int w, int h, const std::vector<QPoint>& black, int blackIndex) {
    QImage image(w, h, QImage::Format_Mono);
    image.setColorTable(blackIndex == 0 ? QList<QRgb>{Black, White} : QList<QRgb>{White, Black});
    image.fill(1 - blackIndex);
    for (const QPoint& p : black) image.setPixel(p, static_cast<uint>(blackIndex));
    return image;
}

// The 96 texts: empty rows above, then the picture rows' hex digits.
std::vector<std::string> Texts(const std::string& password, const std::vector<std::string>& hexRows) {
    std::vector<std::string> texts;
    const int first = 96 - static_cast<int>(hexRows.size());
    for (int row = 0; row < 96; ++row) {
        const std::string head = password + "," + std::to_string(row) + ",";
        texts.push_back(row < first ? head + "00" : head + hexRows[static_cast<std::size_t>(row - first)]);
    }
    return texts;
}

std::vector<std::string> Repeat(const std::string& hex, int rows) { return std::vector<std::string>(rows, hex); }

std::string Zeros(int bytes) { return std::string(static_cast<std::size_t>(2 * bytes), '0'); }

// Row r of a picture, the other rows given.
std::vector<std::string> With(std::vector<std::string> rows, std::size_t r, const std::string& hex) {
    rows[r] = hex;
    return rows;
}

struct RowsCase {
    const char* name;
    std::function<QImage()> image;
    std::string password;
    std::vector<std::string> texts;
};

class LogoRowsOf : public ::testing::TestWithParam<RowsCase> {};

TEST_P(LogoRowsOf, AreThoseThePrinterTakes) {
    const RowsCase& c = GetParam();
    EXPECT_EQ(LogoRowTexts(c.image(), c.password), c.texts);
}

// Four pixels across the top after a white one, and the last one of a 16 x 2 picture.
const std::vector<QPoint> Bar = {{1, 0}, {2, 0}, {3, 0}, {4, 0}, {15, 1}};
// The same with the top-left pixel black as well.
const std::vector<QPoint> BarFromCorner = {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {15, 1}};

INSTANTIATE_TEST_SUITE_P(
    Images, LogoRowsOf,
    ::testing::Values(
        // 12 bytes a row (the last 4 dots dropped) at the bottom, below 56 empty rows.
        RowsCase{"Picture100x40", [] { return Picture(100, 40, {{0, 0}, {95, 39}, {99, 39}}); }, "4826",
                 Texts("4826", With(With(Repeat(Zeros(12), 40), 0, "80" + Zeros(11)), 39, Zeros(11) + "01"))},
        // The left 432 dots of the top 96 rows, no empty row.
        RowsCase{"Picture640x200",
                 [] { return Picture(640, 200, {{431, 0}, {432, 0}, {0, 95}, {0, 96}, {639, 199}}); }, "12345678",
                 Texts("12345678", With(With(Repeat(Zeros(54), 96), 0, Zeros(53) + "01"), 95, "80" + Zeros(53)))},
        RowsCase{"NarrowerThanAByte", [] { return Picture(7, 10, {{0, 0}}); }, "1", Texts("1", Repeat("", 10))},
        RowsCase{"OnePixel", [] { return Picture(1, 1); }, "1", Texts("1", {""})},
        RowsCase{"AllWhite432x96", [] { return Picture(432, 96); }, "1", Texts("1", Repeat(Zeros(54), 96))},
        RowsCase{"AllBlack432x96",
                 [] {
                     QImage image(432, 96, QImage::Format_RGB32);
                     image.fill(Qt::black);
                     return image;
                 },
                 "1", Texts("1", Repeat(std::string(108, 'F'), 96))},
        // Only pure white stays white: grey, red and near-white pixels are black.
        RowsCase{"ColourImage",
                 [] {
                     QImage image = Picture(16, 1, {}, QImage::Format_RGB888);
                     image.setPixel(0, 0, qRgb(128, 128, 128));
                     image.setPixel(1, 0, qRgb(255, 0, 0));
                     image.setPixel(8, 0, qRgb(254, 255, 255));
                     image.setPixel(15, 0, qRgb(255, 255, 255));
                     return image;
                 },
                 "1", Texts("1", {"C080"})},
        RowsCase{"EightBitGreys",
                 [] { return Picture(8, 1, {{7, 0}}).convertToFormat(QImage::Format_Grayscale8); }, "1",
                 Texts("1", {"01"})},
        RowsCase{"OneBitWhiteAtZero", [] { return OneBit(16, 2, Bar, 1); }, "", Texts("", {"7800", "0001"})},
        RowsCase{"OneBitBlackAtZero", [] { return OneBit(16, 2, Bar, 0); }, "", Texts("", {"7800", "0001"})},
        RowsCase{"OneBitBlackCornerWhiteAtZero", [] { return OneBit(16, 2, BarFromCorner, 1); }, "",
                 Texts("", {"F800", "0001"})},
        RowsCase{"OneBitBlackCornerBlackAtZero", [] { return OneBit(16, 2, BarFromCorner, 0); }, "",
                 Texts("", {"F800", "0001"})},
        // Without black in the table the top-left pixel's colour is the paper.
        RowsCase{"OneBitRedAndBlue",
                 [] {
                     QImage image = OneBit(8, 1, {{7, 0}}, 1);
                     image.setColorTable({qRgb(255, 0, 0), qRgb(0, 0, 255)});
                     return image;
                 },
                 "1", Texts("1", {"01"})},
        RowsCase{"VeryWide", [] { return Picture(100000, 1, {{0, 0}, {99999, 0}}); }, "1",
                 Texts("1", {"80" + Zeros(53)})},
        RowsCase{"Empty", [] { return QImage(); }, "1", {}}),
    [](const ::testing::TestParamInfo<RowsCase>& info) { return std::string(info.param.name); });

TEST(LogoRowText, EveryRowCarriesThePasswordItIsGivenAndOnlyKnownRowsCarryBytes) {
    const LogoBitmap logo = *ToLogoBitmap(Picture(8, 1, {{0, 0}}));
    EXPECT_EQ(LogoRowText(logo, 0, ""), ",0,00");
    EXPECT_EQ(LogoRowText(logo, 94, "abc"), "abc,94,00");
    EXPECT_EQ(LogoRowText(logo, 95, "12345678"), "12345678,95,80");
    EXPECT_EQ(LogoRowText(logo, 96, "1"), "1,96,00");
    // The longest text there is: 8 password characters and 54 bytes.
    const LogoBitmap wide = *ToLogoBitmap(Picture(432, 96));
    EXPECT_EQ(LogoRowText(wide, 95, "12345678").size(), 120u);
}

// Bitmap files as the dialog reads them.
class LogoFile : public ::testing::Test {
protected:
    QString Save(const QImage& image, const QString& name) {
        const QString path = dir.filePath(name);
        EXPECT_TRUE(image.save(path, "BMP"));
        return path;
    }
    QString Write(const QString& name, const QByteArray& bytes) { return qmr::test::WriteFile(dir.filePath(name), bytes); }
    static QByteArray Bytes(const QString& path) { return qmr::test::ReadFile(path); }

    // A one-bit file with its two colours swapped and every pixel's bit
    // flipped: the same picture, the colour table in the other order (the
    // image library writes only one order).
    static QByteArray OtherTableOrder(QByteArray bmp) {
        for (int i = 0; i < 4; ++i) std::swap(bmp[54 + i], bmp[58 + i]);
        const int pixels = static_cast<unsigned char>(bmp[10]) | static_cast<unsigned char>(bmp[11]) << 8;
        for (int i = pixels; i < bmp.size(); ++i) bmp[i] = static_cast<char>(~bmp[i]);
        return bmp;
    }

    QTemporaryDir dir;
};

TEST_F(LogoFile, BothColourTableOrdersOfAOneBitFileGiveTheSameRows) {
    const QString whiteFirst = Save(OneBit(16, 2, Bar, 1), "white-first.bmp");
    const QString blackFirst = Write("black-first.bmp", OtherTableOrder(Bytes(whiteFirst)));
    // The files hold one bit per pixel, white first and black first.
    EXPECT_EQ(Bytes(whiteFirst).mid(28, 2), QByteArray("\x01\x00", 2));
    EXPECT_EQ(Bytes(whiteFirst).mid(54, 8), QByteArray("\xFF\xFF\xFF\x00\x00\x00\x00\x00", 8));
    EXPECT_EQ(Bytes(blackFirst).mid(54, 8), QByteArray("\x00\x00\x00\x00\xFF\xFF\xFF\x00", 8));
    const auto first = ReadLogoBitmap(whiteFirst), second = ReadLogoBitmap(blackFirst);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->rows, second->rows);
    EXPECT_EQ(first->rows, (std::vector<std::vector<std::uint8_t>>{{0x78, 0x00}, {0x00, 0x01}}));
}

TEST_F(LogoFile, WhatIsNoBitmapIsNotRead) {
    const QByteArray bmp = Bytes(Save(Picture(64, 8, {{0, 0}}), "good.bmp"));
    ASSERT_TRUE(ReadLogoBitmap(dir.filePath("good.bmp")));
    QByteArray huge = bmp;
    huge[18] = '\xFF';  // width 0x7FFFFF40: more than any image may hold
    huge[21] = '\x7F';
    QByteArray noRows = bmp;
    for (int i = 22; i < 26; ++i) noRows[i] = 0;  // height 0
    for (const auto& [name, bytes] : std::vector<std::pair<QString, QByteArray>>{
             {"text.bmp", "just some text\n"},
             {"empty.bmp", ""},
             {"header-only.bmp", bmp.left(14)},
             {"lying-width.bmp", huge},
             {"no-rows.bmp", noRows},
         }) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_FALSE(ReadLogoBitmap(Write(name, bytes)));
    }
    QImage png = Picture(8, 8);
    const QString pngPath = dir.filePath("picture.bmp");
    ASSERT_TRUE(png.save(pngPath, "PNG"));
    EXPECT_FALSE(ReadLogoBitmap(pngPath));
    EXPECT_FALSE(ReadLogoBitmap(dir.filePath("missing.bmp")));
}

// A white 16 x 4 BMP file as the format lays it out, in any of the layouts
// the reader takes; every colour of a table but the first is white.
struct BmpLayout {
    const char* name;
    int bits;
    std::uint32_t compression = 0;  // 1 and 2: run lengths of 8 and 4 bits; 3: colour masks
    bool core = false;              // the old 12-byte header
};

void Put(QByteArray& bytes, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) bytes.append(static_cast<char>(value >> (8 * i) & 0xFF));
}

QByteArray BmpFile(const BmpLayout& l) {
    constexpr int W = 16, H = 4;
    QByteArray table;
    if (l.bits <= 8)
        for (int c = 0; c < 1 << l.bits; ++c) {
            table.append(QByteArray(3, c == 0 ? '\0' : '\xFF'));
            if (!l.core) table.append('\0');
        }
    if (l.compression == 3) {
        const bool five = l.bits == 16;
        for (const std::uint32_t mask : {five ? 0x7C00u : 0xFF0000u, five ? 0x03E0u : 0xFF00u, five ? 0x001Fu : 0xFFu})
            Put(table, mask, 4);
    }
    QByteArray pixels;
    if (l.compression == 1 || l.compression == 2) {
        // Each row one run of white, its end, and the end of the picture.
        for (int y = 0; y < H; ++y) pixels.append(QByteArray("\x10\xFF\x00\x00", 4));
        pixels.append(QByteArray("\x00\x01", 2));
    } else {
        const int stride = (W * l.bits + 31) / 32 * 4;
        pixels = QByteArray(stride * H, '\xFF');
    }
    const int header = l.core ? 12 : 40;
    QByteArray bmp("BM");
    Put(bmp, static_cast<std::uint32_t>(14 + header + table.size() + pixels.size()), 4);
    Put(bmp, 0, 4);
    Put(bmp, static_cast<std::uint32_t>(14 + header + table.size()), 4);
    Put(bmp, static_cast<std::uint32_t>(header), 4);
    if (l.core) {
        Put(bmp, W, 2), Put(bmp, H, 2), Put(bmp, 1, 2), Put(bmp, static_cast<std::uint32_t>(l.bits), 2);
    } else {
        Put(bmp, W, 4), Put(bmp, H, 4), Put(bmp, 1, 2), Put(bmp, static_cast<std::uint32_t>(l.bits), 2);
        Put(bmp, l.compression, 4), Put(bmp, static_cast<std::uint32_t>(pixels.size()), 4);
        for (int i = 0; i < 4; ++i) Put(bmp, 0, 4);  // resolution, colours used and important
    }
    return bmp + table + pixels;
}

TEST_F(LogoFile, AFileCutShortIsRefusedInEveryLayoutTheReaderTakes) {
    for (const BmpLayout& layout : {BmpLayout{"1-bit", 1}, BmpLayout{"4-bit", 4}, BmpLayout{"8-bit", 8},
                                    BmpLayout{"4-bit run lengths", 4, 2}, BmpLayout{"8-bit run lengths", 8, 1},
                                    BmpLayout{"16-bit", 16}, BmpLayout{"16-bit masks", 16, 3}, BmpLayout{"24-bit", 24},
                                    BmpLayout{"32-bit", 32}, BmpLayout{"32-bit masks", 32, 3},
                                    BmpLayout{"old header 1-bit", 1, 0, true}, BmpLayout{"old header 24-bit", 24, 0, true}}) {
        SCOPED_TRACE(layout.name);
        const QByteArray bmp = BmpFile(layout);
        const int header = layout.core ? 12 : 40;
        const int pixels = static_cast<unsigned char>(bmp[10]) | static_cast<unsigned char>(bmp[11]) << 8;
        // Whole, it is a white picture; so it is with bytes to spare after it.
        for (const QByteArray& whole : {bmp, bmp + QByteArray(7, '\0')}) {
            const auto logo = ReadLogoBitmap(Write("whole.bmp", whole));
            ASSERT_TRUE(logo);
            // Five bits of white read as a little less than white, which is black.
            const std::uint8_t dots = layout.bits == 16 ? 0xFF : 0x00;
            EXPECT_EQ(logo->rows, std::vector<std::vector<std::uint8_t>>(4, {dots, dots}));
        }
        std::vector<int> cuts{10, 14 + header / 2, pixels, pixels + 5, static_cast<int>(bmp.size()) - 1};
        if (pixels > 14 + header) cuts.push_back(pixels - 1);  // in the colour table or the masks
        for (const int cut : cuts) {
            SCOPED_TRACE(cut);
            EXPECT_FALSE(ReadLogoBitmap(Write("cut.bmp", bmp.left(cut))));
        }
    }
    // A file whose header counts more rows than it holds, as a damaged copy may.
    QByteArray tall = BmpFile({"1-bit", 1});
    tall[22] = 96;
    EXPECT_FALSE(ReadLogoBitmap(Write("tall.bmp", tall)));
}

}  // namespace
}  // namespace qmr::ui
