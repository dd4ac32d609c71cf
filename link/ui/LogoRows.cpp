#include "LogoRows.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "SafeSave.h"

namespace qmr::ui {

namespace {

constexpr QRgb Black = 0x000000;
constexpr QRgb White = 0xFFFFFF;

QRgb Colour(QRgb pixel) { return pixel & 0xFFFFFF; }

// The bit of a pixel and its colour in the one-bit copy of the image.
struct MonoPixel {
    int bit;
    QRgb colour;
};

MonoPixel PixelOf(const QImage& image, int x, int y) {
    if (image.depth() == 1) {
        const int index = image.pixelIndex(x, y);
        // A table that lies about its size reads as black.
        const QRgb colour = index < image.colorCount() ? Colour(image.color(index)) : Black;
        return {index, colour};
    }
    const bool white = Colour(image.pixel(x, y)) == White;
    return {white ? 1 : 0, white ? White : Black};
}

// The `size` bytes at `at`, lowest first; the caller has made sure they are there.
std::uint32_t LittleEndian(std::string_view bytes, std::size_t at, std::size_t size) {
    std::uint32_t value = 0;
    for (std::size_t i = size; i-- > 0;) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

constexpr std::size_t FileHeaderBytes = 14;
constexpr std::uint32_t CoreHeaderBytes = 12;  // the old header: 16-bit sizes, 3-byte colours
constexpr std::uint32_t InfoHeaderBytes = 40;
enum Compression : std::uint32_t { Plain = 0, Rle8 = 1, Rle4 = 2, BitFields = 3 };

// Whether a run-length stream reaches its end mark within the bytes.
bool RleStreamEnds(std::string_view stream, bool fourBits) {
    std::size_t at = 0;
    while (at + 2 <= stream.size()) {
        const auto count = static_cast<unsigned char>(stream[at]);
        const auto code = static_cast<unsigned char>(stream[at + 1]);
        at += 2;
        if (count != 0 || code == 0) continue;  // a run, or the end of a line
        if (code == 1) return true;
        if (code == 2) {
            at += 2;  // a jump: two bytes of offsets
            continue;
        }
        // Literal pixels, padded to whole 16-bit words.
        const std::size_t literal = fourBits ? (code + 1u) / 2u : code;
        at += literal + literal % 2;
    }
    return false;
}

}  // namespace

bool BmpFileIsWhole(std::string_view bytes) {
    if (bytes.size() < FileHeaderBytes + 4 || bytes[0] != 'B' || bytes[1] != 'M') return false;
    const std::uint64_t pixelOffset = LittleEndian(bytes, 10, 4);
    const std::uint32_t headerBytes = LittleEndian(bytes, 14, 4);
    const bool core = headerBytes == CoreHeaderBytes;
    if (!core && headerBytes < InfoHeaderBytes) return false;
    if (bytes.size() - FileHeaderBytes < headerBytes) return false;
    const std::size_t h = FileHeaderBytes;
    const auto sized = [&](std::size_t coreAt, std::size_t infoAt) -> std::int64_t {
        if (core) return LittleEndian(bytes, h + coreAt, 2);
        return static_cast<std::int32_t>(LittleEndian(bytes, h + infoAt, 4));
    };
    const std::int64_t width = sized(4, 4);
    const std::int64_t height = std::llabs(sized(6, 8));  // below zero for a file that runs top down
    const std::uint32_t bits = LittleEndian(bytes, core ? h + 10 : h + 14, 2);
    const std::uint32_t compression = core ? Plain : LittleEndian(bytes, h + 16, 4);
    const std::uint64_t colours = core ? 0 : LittleEndian(bytes, h + 32, 4);
    if (width <= 0 || height <= 0 || bits == 0 || bits > 32) return false;

    std::uint64_t tableEnd = FileHeaderBytes + headerBytes;
    // The three colour masks follow the plain header; the later headers hold them.
    if (compression == BitFields && headerBytes == InfoHeaderBytes) tableEnd += 12;
    if (bits <= 8) tableEnd += (colours != 0 ? colours : std::uint64_t{1} << bits) * (core ? 3 : 4);
    if (tableEnd > bytes.size()) return false;
    // The pixels start where the file header says, but never inside the table.
    const std::uint64_t start = std::max(pixelOffset, tableEnd);
    if (start > bytes.size()) return false;
    const std::string_view pixels = bytes.substr(static_cast<std::size_t>(start));
    if (compression == Rle8 || compression == Rle4) return RleStreamEnds(pixels, compression == Rle4);
    // Each row fills whole 32-bit words.
    const std::uint64_t stride = (static_cast<std::uint64_t>(width) * bits + 31) / 32 * 4;
    return static_cast<std::uint64_t>(height) <= pixels.size() / stride;
}

std::optional<LogoBitmap> ToLogoBitmap(const QImage& image) {
    if (image.isNull() || image.width() <= 0 || image.height() <= 0) return std::nullopt;
    const int bytes = std::min(image.width() / 8, LogoRowBytes);
    const int height = std::min(image.height(), LogoRows);
    const MonoPixel topLeft = PixelOf(image, 0, 0);
    const bool invert = (topLeft.colour != Black) == (topLeft.bit == 1);
    LogoBitmap logo;
    logo.rows.resize(static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        std::vector<std::uint8_t>& row = logo.rows[static_cast<std::size_t>(y)];
        row.resize(static_cast<std::size_t>(bytes));
        for (int k = 0; k < bytes; ++k) {
            unsigned value = 0;
            for (int x = 8 * k; x < 8 * k + 8; ++x) value = (value << 1) | static_cast<unsigned>(PixelOf(image, x, y).bit);
            row[static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(invert ? value ^ 0xFFu : value);
        }
    }
    return logo;
}

std::optional<LogoBitmap> ReadLogoBitmap(const QString& fileName) {
    const auto bytes = ReadWholeFile(fileName);
    if (!bytes || !BmpFileIsWhole(*bytes)) return std::nullopt;
    QImage image;
    if (!image.loadFromData(reinterpret_cast<const uchar*>(bytes->data()), static_cast<int>(bytes->size()), "BMP"))
        return std::nullopt;
    return ToLogoBitmap(image);
}

std::string LogoRowText(const LogoBitmap& logo, int row, std::string_view password) {
    std::string text(password);
    text += ',' + std::to_string(row) + ',';
    const int first = LogoRows - static_cast<int>(logo.rows.size());
    if (row < first || row >= LogoRows) return text + "00";
    for (const std::uint8_t byte : logo.rows[static_cast<std::size_t>(row - first)]) {
        char hex[3];
        std::snprintf(hex, sizeof hex, "%02X", byte);
        text += hex;
    }
    return text;
}

std::vector<std::string> LogoRowTexts(const QImage& image, std::string_view password) {
    const std::optional<LogoBitmap> logo = ToLogoBitmap(image);
    std::vector<std::string> texts;
    if (!logo) return texts;
    for (int row = 0; row < LogoRows; ++row) texts.push_back(LogoRowText(*logo, row, password));
    return texts;
}

}  // namespace qmr::ui
