#include "FillTexts.h"

#include <cstdio>
#include <random>

#include "Numbers.h"

namespace vextora {

namespace {

std::mt19937& Generator() {
    static std::mt19937 generator;
    return generator;
}

std::tm SystemLocalTime() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

}  // namespace

std::optional<std::uint32_t> FixedRandomSeed;
std::array<int, MaxPlus> PluList{};
std::function<std::tm()> LocalTimeNow = SystemLocalTime;

int RandomBelow(int n) {
    if (n <= 0) return 0;
    const auto value = static_cast<int>(Generator()() >> 1);  // 31 bits
    return value % n;
}

void SeedRandom(std::uint32_t seed) { Generator().seed(seed); }

void SeedRandomForRun() {
    SeedRandom(FixedRandomSeed.value_or(static_cast<std::uint32_t>(std::time(nullptr))));
}

std::optional<int> ArticleRecordPlu(std::string_view reply) {
    if (reply.empty() || reply[0] != 'P') return std::nullopt;
    return qmr::ReadLeadingInt(reply.size() > 2 ? reply.substr(2) : std::string_view{});
}

std::string ResetClockData(const std::tm& time) {
    char text[64];
    std::snprintf(text, sizeof text, "%02u-%02u-%02u %02u:%02u", static_cast<unsigned>(time.tm_mday),
                  static_cast<unsigned>(time.tm_mon + 1), static_cast<unsigned>((time.tm_year + 1900) % 100),
                  static_cast<unsigned>(time.tm_hour), static_cast<unsigned>(time.tm_min));
    return text;
}

std::string FillSaleData(int plu, int thousandths) {
    char text[64];
    std::snprintf(text, sizeof text, "%d*%.3lf", plu, thousandths * 0.001);
    return text;
}

}  // namespace vextora
