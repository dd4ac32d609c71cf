#include "LogoRows.h"

#include <algorithm>
#include <cstdio>

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

}  // namespace

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
    QImage image;
    if (!image.load(fileName, "BMP")) return std::nullopt;
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
