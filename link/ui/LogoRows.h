// A bitmap as the printer's logo receives it: 96 rows of at most 54 bytes,
// the leftmost dot in the top bit of each byte, a black pixel a set bit, and
// the picture standing at the bottom of the 96 rows. The logo dialog builds
// each row's LoadLogoRow text from this.
#pragma once

#include <QImage>
#include <QString>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qmr::ui {

constexpr int LogoRows = 96;
constexpr int LogoRowBytes = 54;

struct LogoBitmap {
    // The bytes of each picture row, top to bottom, at most LogoRows of them;
    // every row holds the same number of bytes, none for a picture narrower
    // than 8 pixels.
    std::vector<std::vector<std::uint8_t>> rows;
};

// The part of the image the printer takes: the left 432 pixels in whole
// bytes and the top 96 rows. A one-bit image keeps its bits and colour
// table; in any other every white pixel is white and the rest black. The
// polarity follows the top-left pixel, so black arrives as set bits whatever
// the order of the colour table. Nothing for an image without pixels.
std::optional<LogoBitmap> ToLogoBitmap(const QImage& image);

// Whether the bytes hold all that a BMP file's own headers say it holds:
// both headers, the colour table and every row of pixels, or for a
// run-length file its stream up to the end mark. The image library reads a
// file cut short as if it were whole and makes up the rows it lacks.
bool BmpFileIsWhole(std::string_view bytes);

// Reads a BMP file; nothing when it cannot be read whole as one or has no
// pixels.
std::optional<LogoBitmap> ReadLogoBitmap(const QString& fileName);

// The LoadLogoRow text of logo row 0..95: "password,row,00" above the
// picture, "password,row," and two hex digits per byte on it.
std::string LogoRowText(const LogoBitmap& logo, int row, std::string_view password);

// The 96 texts of an upload of the image in the order they are sent; none
// for an image without pixels.
std::vector<std::string> LogoRowTexts(const QImage& image, std::string_view password);

}  // namespace qmr::ui
