// The list of entries coming up in the next days.
#include "schedule/TScheduleTable.h"
#include "schedule/Texts.h"

#include <chrono>
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
    std::vector<std::string> list;
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

    for (const Entry& entry : entries_) {
        int32_t kind = 0;
        int32_t a = 0;
        int32_t b = 0;
        int32_t c = 0;
        SplitDate(NormalizeDate(entry.date), kind, a, b, c);

        std::int64_t days = 0;
        std::int64_t window = 0;
        std::optional<sys_days> date;
        switch (kind) {
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
            window = kind == 4 ? ahead.yearly : ahead.dated;
            break;
        case 5:
            date = nextYearly([&](std::int64_t y) { return NthWeekdayDate(y, a, b, c); });
            if (!date)
                continue;
            days = (*date - today).count();
            window = ahead.yearly;
            break;
        case 7: {
            // Heisei years are negative: 平成n is 1988 + n.
            const std::int64_t y = a >= 0 ? std::int64_t { a } : 1988 - std::int64_t { a };
            date = MakeDate(y, b, c);
            if (!date || *date < today)
                continue;
            days = (*date - today).count();
            window = ahead.dated;
            break;
        }
        default:
            continue;
        }
        if (days < 0 || days > window)
            continue;
        list.push_back(std::to_string(days) + texts::kDaysLater + entry.date + " " + entry.text);
    }
    return list;
}

} // namespace schedule
