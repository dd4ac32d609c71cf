#include "ReportTexts.h"

#include <algorithm>
#include <cstdio>

#include "Numbers.h"

namespace prendix {

std::string DateText(int day, int month, int year) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d-%02d-%02d", day, month, year % 100);
    return text;
}

std::optional<std::string> DatePair(std::string_view start, std::string_view end) {
    if (start.size() != 8 || end.size() != 8) return std::nullopt;
    std::string pair;
    for (const std::string_view date : {start, end}) {
        if (!pair.empty()) pair += ',';
        for (const std::size_t at : {0, 1, 3, 4, 6, 7}) pair += date[at];
    }
    return pair;
}

std::string DailyReportData(std::string_view password, char type) {
    return std::string(password).append(1, ',').append(1, type);
}

std::string NumberRangeData(std::string_view password, int start, int end) {
    return std::string(password) + ',' + std::to_string(start) + ',' + std::to_string(end);
}

std::string DateRangeData(std::string_view password, std::string_view datePair) {
    return std::string(password).append(1, ',').append(datePair);
}

std::string ArticleRange(std::uint32_t from, std::uint32_t to) {
    if (from == 0 || to == 0) return "";
    return std::to_string(std::min(from, to)) + ',' + std::to_string(std::max(from, to));
}

std::string ArticlesReportData(std::string_view password, ArticleKind kind, std::uint32_t from, std::uint32_t to) {
    std::string data = std::string(password) + ',';
    switch (kind) {
        case ArticleKind::Programmed:
            return data + 'P' + ArticleRange(from, to);
        case ArticleKind::Sold:
            return data + 'S' + ArticleRange(from, to);
        case ArticleKind::SoldStorno:
            return data + "S#" + ArticleRange(from, to);
        case ArticleKind::ByGroup:
            return data + 'G';
        case ArticleKind::ByGroupStorno:
            break;
    }
    return data + "G#";
}

std::uint32_t ReadArticleNumber(std::string_view text) { return static_cast<std::uint32_t>(qmr::ReadLeadingInt(text)); }

}  // namespace prendix
