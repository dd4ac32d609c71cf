#include "Clock.h"

#include <cstdio>
#include <ctime>

#include "Commands.h"
#include "Printer.h"

namespace qmrsim {

namespace {

using namespace std::chrono;

// Two decimal digits at text[at].
std::optional<int> TwoDigits(std::string_view text, std::size_t at) {
    if (at + 2 > text.size()) return std::nullopt;
    const char a = text[at], b = text[at + 1];
    if (a < '0' || a > '9' || b < '0' || b > '9') return std::nullopt;
    return (a - '0') * 10 + (b - '0');
}

}  // namespace

PrinterTime Clock::Now() const {
    if (!set) return base;
    return base + duration_cast<seconds>(steady_clock::now() - setAt);
}

void SetClock(Printer& printer, PrinterTime time) {
    printer.clock.set = true;
    printer.clock.base = time;
    printer.clock.setAt = steady_clock::now();
    printer.SetStatusBit(st::ClockNotSet, false);
}

void UnsetClock(Printer& printer) {
    printer.clock = Clock{};
    printer.SetStatusBit(st::ClockNotSet, true);
}

void SetClockToHostTime(Printer& printer) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    CivilTime civil{local.tm_mday, local.tm_mon + 1, local.tm_year + 1900, local.tm_hour, local.tm_min, local.tm_sec};
    if (const auto time = FromCivil(civil)) SetClock(printer, *time);
}

CivilTime ToCivil(PrinterTime time) {
    const auto day = floor<days>(time);
    const year_month_day ymd{day};
    const hh_mm_ss hms{time - day};
    return {static_cast<int>(static_cast<unsigned>(ymd.day())), static_cast<int>(static_cast<unsigned>(ymd.month())),
            static_cast<int>(ymd.year()), static_cast<int>(hms.hours().count()),
            static_cast<int>(hms.minutes().count()), static_cast<int>(hms.seconds().count())};
}

std::optional<PrinterTime> FromCivil(const CivilTime& c) {
    const year_month_day ymd{year{c.year}, month{static_cast<unsigned>(c.month)}, day{static_cast<unsigned>(c.day)}};
    if (!ymd.ok() || c.hour < 0 || c.hour > 23 || c.minute < 0 || c.minute > 59 || c.second < 0 || c.second > 59)
        return std::nullopt;
    return sys_days{ymd} + hours{c.hour} + minutes{c.minute} + seconds{c.second};
}

std::optional<PrinterTime> ParseClockText(std::string_view text) {
    if (text.size() != 14 && text.size() != 17) return std::nullopt;
    if (text[2] != '-' || text[5] != '-' || text[8] != ' ' || text[11] != ':') return std::nullopt;
    if (text.size() == 17 && text[14] != ':') return std::nullopt;
    const auto d = TwoDigits(text, 0), mo = TwoDigits(text, 3), y = TwoDigits(text, 6), h = TwoDigits(text, 9),
               mi = TwoDigits(text, 12);
    const auto s = text.size() == 17 ? TwoDigits(text, 15) : std::optional<int>(0);
    if (!d || !mo || !y || !h || !mi || !s) return std::nullopt;
    return FromCivil({*d, *mo, 2000 + *y, *h, *mi, *s});
}

std::string ClockText(PrinterTime time) {
    const CivilTime c = ToCivil(time);
    char text[32];
    std::snprintf(text, sizeof text, "%02d-%02d-%02d %02d:%02d:%02d", c.day, c.month, c.year % 100, c.hour, c.minute,
                  c.second);
    return text;
}

void RegisterClockCommands(Printer& printer) {
    // A printer comes with its clock running; a reset stops it.
    SetClockToHostTime(printer);
    printer.SetHandler(qmr::SetDateTime, [](Printer& p, const Request& request) {
        const auto time = ParseClockText(request.data);
        if (!time) {
            p.Fail(st::SyntaxError);
            return std::string();
        }
        SetClock(p, *time);
        return std::string();
    });
    printer.SetHandler(qmr::ReadDateTime, [](Printer& p, const Request&) { return ClockText(p.clock.Now()); });
    // The time is kept as the printer's time at the save; it runs on from the load.
    printer.AddStateSection({"clock",
                             [](const Printer& p) {
                                 std::vector<std::string> lines;
                                 if (p.clock.set) lines.push_back(ClockText(p.clock.Now()));
                                 return lines;
                             },
                             [](Printer& p, const std::vector<std::string>& lines) {
                                 if (lines.empty()) {
                                     UnsetClock(p);
                                     return true;
                                 }
                                 const auto time = lines.size() == 1 ? ParseClockText(lines[0]) : std::nullopt;
                                 if (!time) return false;
                                 SetClock(p, *time);
                                 return true;
                             }});
}

}  // namespace qmrsim
