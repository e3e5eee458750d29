#include "schedule/Holidays.h"

#include "jconvert/cp932.h"
#include "schedule/Texts.h"

#include <algorithm>
#include <cstdint>

namespace schedule {

namespace {

using namespace std::chrono;

using namespace texts;

// Days made holidays by laws of their own, once each.
struct OneDay {
    year_month_day date;
    const char* name; // UTF-8
};
const OneDay kOneDays[] = {
    { 1989y / 2 / 24, "昭和天皇の大喪の礼" },
    { 1990y / 11 / 12, "即位礼正殿の儀" },
    { 1993y / 6 / 9, "皇太子徳仁親王の結婚の儀" },
    { 2019y / 5 / 1, "天皇の即位の日" },
    { 2019y / 10 / 22, "即位礼正殿の儀" },
};

// The Olympic years moved three holidays by special law.
struct MovedDays {
    int year;
    year_month_day umi, sports, yama;
};
const MovedDays kMovedDays[] = {
    { 2020, 2020y / 7 / 23, 2020y / 7 / 24, 2020y / 8 / 10 },
    { 2021, 2021y / 7 / 22, 2021y / 7 / 23, 2021y / 8 / 8 },
};

// The day of the March (spring) or September (autumn) equinox in Japan
// Standard Time by the usual approximation: the equinox moves on by a
// tropical year of 365.242194 days from its 1980 instant (the constants
// before 1980 fit that period), and each leap day sets it back one day.
// Worked in millionths of a day, so no rounding can move a day. It agrees
// with the announced days up to the last announced year and with ephemeris
// computations up to 2099.
unsigned EquinoxDay(int y, bool spring)
{
    std::int64_t base = 0;
    std::int64_t leapDays = 0;
    if (y >= 1980) {
        base = spring ? 20'843'100 : 23'248'800;
        leapDays = (y - 1980) / 4;
    } else {
        // Truncating division, as the formula for these years is written.
        base = spring ? 20'835'700 : 23'258'800;
        leapDays = (y - 1983) / 4;
    }
    const std::int64_t micro = base + 242'194 * std::int64_t { y - 1980 } - 1'000'000 * leapDays;
    return static_cast<unsigned>(micro / 1'000'000);
}

// The n-th Monday of month m in year y ("Happy Monday" holidays).
sys_days NthMonday(int y, unsigned m, unsigned n)
{
    return sys_days { year { y } / month { m } / weekday_indexed { Monday, n } };
}

sys_days Day(int y, unsigned m, unsigned d)
{
    return sys_days { year { y } / month { m } / day { d } };
}

// The holidays the act names for year y, with the one-off days, unsorted.
std::vector<Holiday> NamedHolidays(int y)
{
    std::vector<Holiday> named;
    const auto add = [&named](sys_days date, const std::string& name) { named.push_back({ date, name }); };
    const MovedDays* moved = nullptr;
    for (const MovedDays& m : kMovedDays)
        if (m.year == y)
            moved = &m;

    add(Day(y, 1, 1), kGanjitsu);
    add(y < 2000 ? Day(y, 1, 15) : NthMonday(y, 1, 2), kSeijin);
    add(Day(y, 2, 11), kKenkoku);
    if (y >= 2020)
        add(Day(y, 2, 23), kTennou);
    add(Day(y, 3, EquinoxDay(y, true)), kShunbun);
    add(Day(y, 4, 29), y <= 1988 ? kTennou : y <= 2006 ? kMidori : kShouwa);
    add(Day(y, 5, 3), kKenpou);
    if (y >= 2007)
        add(Day(y, 5, 4), kMidori);
    add(Day(y, 5, 5), kKodomo);
    if (moved)
        add(sys_days { moved->umi }, kUmi);
    else if (y >= 1996)
        add(y <= 2002 ? Day(y, 7, 20) : NthMonday(y, 7, 3), kUmi);
    if (moved)
        add(sys_days { moved->yama }, kYama);
    else if (y >= 2016)
        add(Day(y, 8, 11), kYama);
    add(y <= 2002 ? Day(y, 9, 15) : NthMonday(y, 9, 3), kKeirou);
    add(Day(y, 9, EquinoxDay(y, false)), kShuubun);
    if (moved)
        add(sys_days { moved->sports }, kSports);
    else
        add(y < 2000 ? Day(y, 10, 10) : NthMonday(y, 10, 2), y < 2020 ? kTaiiku : kSports);
    add(Day(y, 11, 3), kBunka);
    add(Day(y, 11, 23), kKinrou);
    if (y >= 1989 && y <= 2018)
        add(Day(y, 12, 23), kTennou);
    for (const OneDay& one : kOneDays)
        if (static_cast<int>(one.date.year()) == y)
            add(sys_days { one.date }, jconvert::Utf8ToCp932(one.name));
    return named;
}

// Substitute holidays began on 12 April 1973, the day between two holidays
// became one on 27 December 1985.
constexpr sys_days kFurikaeFrom = sys_days { 1973y / 4 / 12 };
constexpr sys_days kKokuminFrom = sys_days { 1985y / 12 / 27 };

// Year y's holidays in date order.
std::vector<Holiday> HolidaysOfYear(int y)
{
    std::vector<Holiday> named = NamedHolidays(y);
    const auto isNamed = [&named](sys_days date) {
        return std::any_of(named.begin(), named.end(), [date](const Holiday& h) { return h.date == date; });
    };
    std::vector<Holiday> all = named;
    // A holiday on a Sunday gives the next day that is not itself a
    // holiday (before 2007 only ever the Monday, as no two holidays were
    // then adjacent).
    for (const Holiday& h : named) {
        if (weekday { h.date } != Sunday || h.date < kFurikaeFrom)
            continue;
        sys_days next = h.date + days { 1 };
        while (isNamed(next))
            next += days { 1 };
        all.push_back({ next, kFurikae });
    }
    // A day between two holidays that is no holiday of its own becomes one,
    // unless it is a Sunday or already a substitute holiday.
    for (const Holiday& h : named) {
        const sys_days between = h.date + days { 1 };
        if (between < kKokuminFrom || weekday { between } == Sunday || isNamed(between)
            || !isNamed(between + days { 1 }))
            continue;
        if (std::none_of(all.begin(), all.end(), [between](const Holiday& d) { return d.date == between; }))
            all.push_back({ between, kKokumin });
    }
    std::sort(all.begin(), all.end(), [](const Holiday& a, const Holiday& b) { return a.date < b.date; });
    return all;
}

} // namespace

std::vector<Holiday> NationalHolidays(sys_days first, sys_days last)
{
    // Clamped before the years are taken: a window of millions of days
    // ends far beyond the years a date can name.
    first = std::max(first, sys_days { year { kFirstHolidayYear } / 1 / 1 });
    last = std::min(last, sys_days { year { kLastHolidayYear } / 12 / 31 });
    std::vector<Holiday> found;
    if (last < first)
        return found;
    const int from = static_cast<int>(year_month_day { first }.year());
    const int to = static_cast<int>(year_month_day { last }.year());
    for (int y = from; y <= to; ++y)
        for (Holiday& h : HolidaysOfYear(y))
            if (h.date >= first && h.date <= last)
                found.push_back(std::move(h));
    return found;
}

} // namespace schedule
