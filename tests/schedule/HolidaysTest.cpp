// The national holidays against the Cabinet Office's list, and where the
// rules meet the edges of the years they are kept for.
#include "schedule/Holidays.h"

#include "common/SjisLiteral.h"

#include <chrono>
#include <climits>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <string>

using namespace schedule;
using namespace std::chrono;
using test_text::Utf8;

namespace {

std::string Iso(sys_days date)
{
    const year_month_day d { date };
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(d.year()),
        static_cast<unsigned>(d.month()), static_cast<unsigned>(d.day()));
    return text;
}

// The list's name in the program's words: the list writes a substitute
// holiday as "<holiday> 振替休日", a day between two holidays as "休日", and
// shortens the names of the days fixed by special laws.
std::string ProgramName(const std::string& date, const std::string& listed)
{
    static const std::map<std::string, std::string> special {
        { "1989-02-24", "昭和天皇の大喪の礼" },
        { "1993-06-09", "皇太子徳仁親王の結婚の儀" },
        { "2019-05-01", "天皇の即位の日" },
        { "2019-10-22", "即位礼正殿の儀" },
        // Renamed スポーツの日 from 2020 on.
        { "2019-10-14", "体育の日" },
    };
    if (const auto it = special.find(date); it != special.end())
        return it->second;
    if (listed == "休日")
        return "国民の休日";
    if (listed.ends_with(" 振替休日"))
        return "振替休日";
    return listed;
}

} // namespace

// The list: tests/schedule/holidays-1970-2027.txt, the Cabinet Office's
// holidays (syukujitsu.csv) as the npm package @holiday-jp/holiday_jp 2.5.1
// carries them.
TEST(Holidays, EveryListedHolidayFrom1970To2027)
{
    std::ifstream in(CORKPANE_HOLIDAY_LIST);
    ASSERT_TRUE(in) << CORKPANE_HOLIDAY_LIST;
    std::map<std::string, std::string> listed;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        const std::string date = line.substr(0, 10);
        listed[date] = ProgramName(date, line.substr(11));
    }
    ASSERT_EQ(listed.size(), 920U);

    std::map<std::string, std::string> computed;
    for (const Holiday& h : NationalHolidays(sys_days { 1970y / 1 / 1 }, sys_days { 2027y / 12 / 31 }))
        computed[Iso(h.date)] = Utf8(h.name);

    std::size_t matched = 0;
    for (const auto& [date, name] : listed) {
        const auto it = computed.find(date);
        if (it == computed.end())
            ADD_FAILURE() << date << " " << name << " is missing";
        else if (it->second != name)
            ADD_FAILURE() << date << " is " << it->second << ", listed as " << name;
        else
            ++matched;
    }
    for (const auto& [date, name] : computed)
        EXPECT_TRUE(listed.contains(date)) << date << " " << name << " is not listed";
    EXPECT_EQ(matched, listed.size());
    std::cout << "[ holidays ] " << matched << " of " << listed.size()
              << " listed holidays 1970-2027 matched\n";
    RecordProperty("matched", static_cast<int>(matched));
}

TEST(Holidays, WindowsAndYearsKept)
{
    const auto names = [](sys_days first, sys_days last) {
        std::vector<std::string> out;
        for (const Holiday& h : NationalHolidays(first, last))
            out.push_back(Iso(h.date) + " " + Utf8(h.name));
        return out;
    };
    using V = std::vector<std::string>;
    // Across the turn of a year, both days included.
    EXPECT_EQ(names(sys_days { 2026y / 12 / 23 }, sys_days { 2027y / 1 / 11 }),
        (V { "2027-01-01 元日", "2027-01-11 成人の日" }));
    EXPECT_EQ(names(sys_days { 2027y / 1 / 2 }, sys_days { 2027y / 1 / 1 }), V {});
    // Outside the years the rules are kept for, no day is a holiday.
    EXPECT_EQ(names(sys_days { 1969y / 12 / 1 }, sys_days { 1970y / 1 / 1 }), (V { "1970-01-01 元日" }));
    EXPECT_EQ(names(sys_days { 2099y / 12 / 31 }, sys_days { 2100y / 1 / 31 }), V {});
    // A window of any length ends at the last year kept.
    EXPECT_EQ(NationalHolidays(sys_days { 2099y / 11 / 24 }, sys_days { 2099y / 11 / 24 } + days { INT_MAX })
                  .size(),
        0U);
    EXPECT_EQ(NationalHolidays(sys_days { 2099y / 11 / 23 }, sys_days { 2099y / 11 / 23 } + days { INT_MAX })
                  .size(),
        1U);
    // Where the equinox formula comes close to midnight: the spring
    // equinox falls on 19 March only in 2092 and 2096 this century, and
    // on the 20th in 2088.
    for (const int y : { 2088, 2092, 2096 }) {
        const year_month_day spring {
            NationalHolidays(sys_days { year { y } / 3 / 1 }, sys_days { year { y } / 3 / 31 }).at(0).date
        };
        EXPECT_EQ(static_cast<unsigned>(spring.day()), y == 2088 ? 20U : 19U) << y;
    }
    // Every year to the last one kept has its sixteen holidays at least,
    // each on a day of its own, in order.
    for (int y = 2028; y <= kLastHolidayYear; ++y) {
        const auto days
            = NationalHolidays(sys_days { year { y } / 1 / 1 }, sys_days { year { y } / 12 / 31 });
        EXPECT_GE(days.size(), 16U) << y;
        for (std::size_t i = 1; i < days.size(); ++i)
            EXPECT_LT(days[i - 1].date, days[i].date) << y;
    }
}
