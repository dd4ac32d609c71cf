// The printer's clock: set by SetDateTime, read by ReadDateTime, running on
// from the moment it was set. A new printer's clock runs on the host's local
// time; after a reset (UnsetClock) the printer reports "clock not set" in
// every reply until the clock is set again.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace qmrsim {

class Printer;

using PrinterTime = std::chrono::sys_seconds;

struct Clock {
    bool set = false;
    // The printer's time when it was set, and the host's steady time then.
    PrinterTime base{};
    std::chrono::steady_clock::time_point setAt{};

    PrinterTime Now() const;
};

// Sets the clock and clears the "clock not set" bit.
void SetClock(Printer& printer, PrinterTime time);
// Forgets the time, as a reset does; the "clock not set" bit is raised.
void UnsetClock(Printer& printer);
// Sets the clock to the host's local time.
void SetClockToHostTime(Printer& printer);

// "DD-MM-YY HH:MM" or "DD-MM-YY HH:MM:SS" (years 2000-2099); nothing for a
// malformed text or an impossible date.
std::optional<PrinterTime> ParseClockText(std::string_view text);
// "DD-MM-YY HH:MM:SS".
std::string ClockText(PrinterTime time);

// The calendar fields of a printer time.
struct CivilTime {
    int day = 1, month = 1, year = 2000, hour = 0, minute = 0, second = 0;
};
CivilTime ToCivil(PrinterTime time);
std::optional<PrinterTime> FromCivil(const CivilTime& civil);

// Registers SetDateTime and ReadDateTime and the clock's lasting state.
void RegisterClockCommands(Printer& printer);

}  // namespace qmrsim
