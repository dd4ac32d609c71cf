// The data texts of Prendix's reports, apart from any window. Passwords and
// dates are cp1251 bytes as the edits hold them after conversion.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace prendix {

// A date as the date edits show it: "DD-MM-YY", the year modulo 100.
std::string DateText(int day, int month, int year);

// The first date the date reports offer.
inline constexpr const char* FirstReportDate = "01-01-04";

// "DDMMYY,DDMMYY" from characters 1, 2, 4, 5, 7 and 8 of each date; the
// separators and digits are not looked at. Nothing unless both dates are
// exactly 8 characters long.
std::optional<std::string> DatePair(std::string_view start, std::string_view end);

// The daily report's data: the password, a comma and the report type.
std::string DailyReportData(std::string_view password, char type);

// "password,start,end" for the reports by record number.
std::string NumberRangeData(std::string_view password, int start, int end);

// "password,DDMMYY,DDMMYY" for the reports by date.
std::string DateRangeData(std::string_view password, std::string_view datePair);

// What the articles report lists, in the order of the form's radio buttons.
enum class ArticleKind { Programmed, Sold, SoldStorno, ByGroup, ByGroupStorno };

// The PLU range "low,high" with the smaller value first; empty when either
// bound is 0, which asks for every article.
std::string ArticleRange(std::uint32_t from, std::uint32_t to);

// The articles report's data: the password, a comma and the kind letter,
// with the range after P, S and S# (the group reports take none).
std::string ArticlesReportData(std::string_view password, ArticleKind kind, std::uint32_t from, std::uint32_t to);

// A number typed into an article bound, as an unsigned 32-bit value.
std::uint32_t ReadArticleNumber(std::string_view text);

}  // namespace prendix
