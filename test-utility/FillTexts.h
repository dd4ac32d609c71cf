// The fill series' and the self-test's shared pieces apart from the windows:
// the random numbers both draw, the PLUs of the printer's articles, and the
// data texts of the fill cycles.
#pragma once

#include <array>
#include <cstdint>
#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace vextora {

// A pseudo-random x with 0 <= x < n: a value drawn uniformly from 0 to
// 2^31 - 1, modulo n. For n <= 0 it is 0 and nothing is drawn.
int RandomBelow(int n);
// Seeds the one generator behind RandomBelow.
void SeedRandom(std::uint32_t seed);
// Seeds it as a run starts: with the calendar time in whole seconds, unless
// a test has fixed the seed here.
extern std::optional<std::uint32_t> FixedRandomSeed;
void SeedRandomForRun();

// The PLUs of the printer's articles, in the printer's order; a run keeps
// how many of them it filled.
constexpr int MaxPlus = 100;
extern std::array<int, MaxPlus> PluList;

// The PLU of an article record ("P,PLU,..."): its leading integer from the
// third character; nothing when the reply is no article.
std::optional<int> ArticleRecordPlu(std::string_view reply);

// The PC's local date and time, as the resets set the printer's clock (a
// test may put a fixed time here).
extern std::function<std::tm()> LocalTimeNow;
// "%02u-%02u-%02u %02u:%02u": day, month, year modulo 100, hour, minute.
std::string ResetClockData(const std::tm& time);

// "%d*%.3lf": a PLU and a quantity in thousandths (1 to 9999).
std::string FillSaleData(int plu, int thousandths);

}  // namespace vextora
