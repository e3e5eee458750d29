#pragma once

// The national holidays of Japan (国民の祝日 and the days off the Public
// Holiday Act adds to them: 振替休日 and 国民の休日), computed from the
// act's rules as amended over the years, with the days fixed by special
// laws kept as data.

#include <chrono>
#include <string>
#include <vector>

namespace schedule {

struct Holiday {
    std::chrono::sys_days date;
    std::string name; // Shift_JIS
};

// The years the rules are kept for. Years after the last announced ones
// take their equinox days from the formula; outside these years no day is
// a holiday.
inline constexpr int kFirstHolidayYear = 1970;
inline constexpr int kLastHolidayYear = 2099;

// The holidays from first to last (both included), in date order.
std::vector<Holiday> NationalHolidays(std::chrono::sys_days first, std::chrono::sys_days last);

} // namespace schedule
