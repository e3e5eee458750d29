// The list of entries coming up in the next days.
#include "schedule/DateRule.h"
#include "schedule/Holidays.h"
#include "schedule/TScheduleTable.h"
#include "schedule/Texts.h"

#include <chrono>
#include <limits>
#include <optional>

namespace schedule {

namespace {

using namespace std::chrono;

// A calendar date from numbers as typed, or nothing when they do not form
// one (month outside 1..12, a day the month lacks, a year outside
// 1..9999). Such an entry is left out of the list instead of stopping it.
std::optional<sys_days> MakeDate(std::int64_t y, std::int64_t m, std::int64_t d)
{
    if (y < 1 || y > 9999 || m < 1 || m > 12 || d < 1 || d > 31)
        return std::nullopt;
    const year_month_day date { year { static_cast<int>(y) }, month { static_cast<unsigned>(m) },
        day { static_cast<unsigned>(d) } };
    if (!date.ok())
        return std::nullopt;
    return sys_days { date };
}

// Weekday code 0 (Sunday) to 6 (Saturday).
std::int64_t WeekdayCode(sys_days date)
{
    return weekday { date }.c_encoding();
}

// The day of the month of the n-th (1-based) weekday code wd, counted from
// the weekday of the month's first day; not limited to the month's length.
std::int64_t NthWeekdayDay(std::int64_t n, std::int64_t wd, std::int64_t firstWeekday)
{
    // Truncating remainder: negative codes give a day before the 1st.
    return (wd - firstWeekday + 7) % 7 + 7 * n - 6;
}

// The n-th weekday wd of month m in year y, or nothing.
std::optional<sys_days> NthWeekdayDate(std::int64_t y, std::int64_t m, std::int64_t n, std::int64_t wd)
{
    const std::optional<sys_days> first = MakeDate(y, m, 1);
    if (!first)
        return std::nullopt;
    return MakeDate(y, m, NthWeekdayDay(n, wd, WeekdayCode(*first)));
}

} // namespace

std::vector<std::string> TScheduleTable::ListUpcoming(const LookAhead& ahead, year_month_day todayDate) const
{
    const sys_days today { todayDate };
    const year_month_day ymd { today };
    const std::int64_t Y = static_cast<int>(ymd.year());
    const std::int64_t D = static_cast<unsigned>(ymd.day());
    const std::int64_t t = WeekdayCode(today);
    const std::int64_t f = WeekdayCode(sys_days { ymd.year() / ymd.month() / 1 });

    // The occurrence this year, or next year's once this year's has passed.
    const auto nextYearly = [&](auto&& dateIn) -> std::optional<sys_days> {
        std::optional<sys_days> date = dateIn(Y);
        if (date && *date < today)
            date = dateIn(Y + 1);
        return date;
    };

    // Each line with its day count; the holidays merge with the dated ones.
    struct Line {
        std::string text;
        std::int64_t days;
        bool dated;
    };
    std::vector<Line> lines;
    for (const Entry& entry : entries_) {
        // Most rows of a long schedule are empty; they never form a date.
        if (entry.date.empty())
            continue;
        const DateRule rule = ReadDateRule(NormalizeDate(entry.date));
        if (rule.fault != DateFault::None)
            continue;
        const std::int64_t a = rule.a;
        const std::int64_t b = rule.b;
        const std::int64_t c = rule.c;

        std::int64_t days = 0;
        std::int64_t window = 0;
        std::optional<sys_days> date;
        switch (rule.kind) {
        case 1:
            days = (a - t + 7) % 7;
            window = ahead.weekly;
            break;
        case 2:
            // This month only: a day already past is not carried over.
            days = a - D;
            window = ahead.monthly;
            break;
        case 3:
            days = NthWeekdayDay(a, b, f) - D;
            window = ahead.monthly;
            break;
        case 4:
        case 6:
            date = nextYearly([&](std::int64_t y) { return MakeDate(y, a, b); });
            if (!date)
                continue;
            days = (*date - today).count();
            window = rule.kind == 4 ? ahead.yearly : ahead.dated;
            break;
        case 5:
            date = nextYearly([&](std::int64_t y) { return NthWeekdayDate(y, a, b, c); });
            if (!date)
                continue;
            days = (*date - today).count();
            window = ahead.yearly;
            break;
        case 7:
            // The year is Gregorian already, the era years converted.
            date = MakeDate(a, b, c);
            if (!date || *date < today)
                continue;
            days = (*date - today).count();
            window = ahead.dated;
            break;
        default:
            continue;
        }
        if (days < 0 || days > window)
            continue;
        lines.push_back({ std::to_string(days) + texts::kDaysLater + entry.date + " " + entry.text, days,
            rule.kind >= 6 });
    }

    std::vector<Holiday> holidays;
    if (ahead.holidays && ahead.dated >= 0)
        holidays = NationalHolidays(today, today + days { ahead.dated });

    // Each holiday goes before the first dated line that falls later; the
    // rest follow the last line.
    std::vector<std::string> list;
    list.reserve(lines.size() + holidays.size());
    std::size_t next = 0;
    const auto holidaysBefore = [&](std::int64_t limit) {
        for (; next < holidays.size() && (holidays[next].date - today).count() < limit; ++next) {
            const year_month_day date { holidays[next].date };
            list.push_back(std::to_string((holidays[next].date - today).count()) + texts::kDaysLater
                + std::to_string(static_cast<unsigned>(date.month())) + texts::kMonth
                + std::to_string(static_cast<unsigned>(date.day())) + texts::kDay + " "
                + holidays[next].name);
        }
    };
    for (Line& line : lines) {
        if (line.dated)
            holidaysBefore(line.days);
        list.push_back(std::move(line.text));
    }
    holidaysBefore(std::numeric_limits<std::int64_t>::max());
    return list;
}

} // namespace schedule
