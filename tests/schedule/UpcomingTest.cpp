// The upcoming list: day counts, windows, and dates that cannot be formed.
#include "TempFolder.h"
#include "common/SjisLiteral.h"
#include "schedule/TScheduleTable.h"

#include <chrono>
#include <gtest/gtest.h>

using namespace schedule;
using namespace std::chrono;
using schedule_test::TempFolder;
using test_text::Utf8;

namespace {

using Window = LookAhead;

// A table whose first entries hold the given dates (text "t<row>").
class Table {
public:
    explicit Table(const std::vector<const char*>& dates)
        : table_(dir_.File())
    {
        while (table_.Entries().size() < dates.size())
            table_.InsertRow(0);
        for (std::size_t i = 0; i < dates.size(); ++i) {
            table_.SetDate(i, Sjis(dates[i]));
            table_.SetText(i, "t" + std::to_string(i + 1));
        }
        table_.SetModified(false);
    }
    std::vector<std::string> Upcoming(year_month_day today, Window w)
    {
        std::vector<std::string> lines = table_.ListUpcoming(w, today);
        for (std::string& line : lines)
            line = Utf8(line);
        return lines;
    }

private:
    TempFolder dir_;
    TScheduleTable table_;
};

} // namespace

TEST(Upcoming, KindsWindowsAndTurnsOfMonthAndYear)
{
    struct Case {
        year_month_day today;
        Window window;
        std::vector<const char*> dates;
        std::vector<std::string> lines;
    };
    const Window zero { 0, 0, 0, 0 };
    const Window usual { 1, 3, 5, 10 }; // a new window's boxes
    const Case cases[] = {
        // 2026-12-08 is a Tuesday.
        { 2026y / 12 / 8, usual, { "毎週火曜日", "毎週水曜日", "毎週木曜日" },
            { "0日後毎週火曜日 t1", "1日後毎週水曜日 t2" } },
        { 2026y / 12 / 8, { 6, 3, 5, 10 }, { "毎週月曜日" }, { "6日後毎週月曜日 t1" } },
        { 2026y / 12 / 14, usual, { "毎月15日", "毎月14日", "毎月13日" },
            { "1日後毎月15日 t1", "0日後毎月14日 t2" } },
        { 2026y / 11 / 30, usual, { "毎月1日", "毎月31日" }, { "1日後毎月31日 t2" } },
        { 2026y / 12 / 6, usual, { "毎月第2火曜日", "第1日曜" },
            { "2日後毎月第2火曜日 t1", "0日後第1日曜 t2" } },
        // February 2026 has four Mondays; the fifth gets day number 30.
        { 2026y / 2 / 28, usual, { "毎月第5月曜日" }, { "2日後毎月第5月曜日 t1" } },
        { 2026y / 12 / 30, usual, { "毎年1月1日", "毎年12月30日", "毎年12月29日" },
            { "2日後毎年1月1日 t1", "0日後毎年12月30日 t2" } },
        { 2027y / 1 / 1, usual, { "毎年1月1日" }, { "0日後毎年1月1日 t1" } },
        // 2027-01-01 is a Friday, so the second Monday is the 11th.
        { 2026y / 12 / 30, { 1, 3, 12, 10 }, { "毎年1月第2月曜日" }, { "12日後毎年1月第2月曜日 t1" } },
        { 2026y / 12 / 30, { 1, 3, 11, 10 }, { "毎年1月第2月曜日" }, {} },
        { 2026y / 12 / 25, usual, { "12月27日", "1月4日", "1月5日" },
            { "2日後12月27日 t1", "10日後1月4日 t2" } },
        { 2005y / 4 / 1, zero, { "2005年4月1日", "平成17年4月1日" },
            { "0日後2005年4月1日 t1", "0日後平成17年4月1日 t2" } },
        { 2005y / 4 / 2, usual, { "2005年4月1日", "平成17年4月1日" }, {} },
        { 1989y / 1 / 5, usual, { "平成1年1月8日" }, { "3日後平成1年1月8日 t1" } },
        // 2026-12-09 is a Wednesday; the cell is listed as typed.
        { 2026y / 12 / 9, usual, { "水曜" }, { "0日後水曜 t1" } },
        { 2026y / 12 / 8, zero,
            { "毎週水曜日", "毎週火曜日", "毎月8日", "毎月9日", "12月8日", "毎年12月8日" },
            { "0日後毎週火曜日 t2", "0日後毎月8日 t3", "0日後12月8日 t5", "0日後毎年12月8日 t6" } },
        { 2026y / 12 / 8, { -1, -1, -1, -1 }, { "毎週火曜日", "毎月8日", "12月8日", "毎年12月8日" }, {} },
        // Grid order, not date order.
        { 2026y / 12 / 8, usual, { "", "毎年12月13日", "4/1", "毎月8日" },
            { "5日後毎年12月13日 t2", "0日後毎月8日 t4" } },
        // Leap days.
        { 2028y / 2 / 27, usual, { "毎年2月29日" }, { "2日後毎年2月29日 t1" } },
        { 2028y / 2 / 29, zero, { "毎年2月29日", "2月29日" }, { "0日後毎年2月29日 t1", "0日後2月29日 t2" } },
        { 2027y / 2 / 27, usual, { "毎年2月29日", "毎年3月1日" }, { "2日後毎年3月1日 t2" } },
        { 2028y / 3 / 1, { 1, 3, 400, 400 }, { "毎年2月29日" }, {} },
        // Dates that cannot be formed leave only their own row out.
        { 2026y / 2 / 24, { 1, 3, 400, 400 },
            { "2月30日", "毎年2月29日", "毎年2月第5月曜日", "13月1日", "0年1月1日", "10000年1月1日",
                "毎年0月1日", "毎年1月第0月曜日", "毎週火曜日" },
            { "0日後毎週火曜日 t9" } },
        { 9999y / 12 / 31, { 1, 3, 400, 400 }, { "毎年1月1日", "毎年12月31日" }, { "0日後毎年12月31日 t2" } },
        // 令和n is 2018 + n; the line shows the cell as it is.
        { 2026y / 12 / 10, usual,
            { "令和8年12月20日", "R8年12月21日", "令和元年5月1日", "ｒ８年１２月１０日" },
            { "10日後令和8年12月20日 t1", "0日後ｒ８年１２月１０日 t4" } },
        { 2019y / 4 / 30, { 1, 3, 5, 1 }, { "令和元年5月1日", "平成31年5月1日" },
            { "1日後令和元年5月1日 t1", "1日後平成31年5月1日 t2" } },
        // What the check refuses is not listed either (2026-12-12 is a
        // Saturday, which an unreadable weekday once counted as).
        { 2026y / 12 / 12, usual, { "毎週X曜日", "毎週土曜日", "毎月13日(日)" }, { "0日後毎週土曜日 t2" } },
    };
    for (const Case& c : cases)
        EXPECT_EQ(Table(c.dates).Upcoming(c.today, c.window), c.lines)
            << static_cast<int>(c.today.year()) << "-" << static_cast<unsigned>(c.today.month()) << "-"
            << static_cast<unsigned>(c.today.day()) << " first " << c.dates.front();
}

namespace {

// A plain Gregorian calendar stepped one day at a time, independent of the
// date arithmetic of the code under test.
struct NaiveDate {
    int y, m, d, wd; // wd: 0 Sunday

    static int DaysIn(int y, int m)
    {
        static const int days[] = { 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31 };
        const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
        return m == 2 && leap ? 29 : days[m - 1];
    }
    NaiveDate Next() const
    {
        NaiveDate n { y, m, d + 1, (wd + 1) % 7 };
        if (n.d > DaysIn(y, m)) {
            n.d = 1;
            if (++n.m > 12) {
                n.m = 1;
                ++n.y;
            }
        }
        return n;
    }
};

// Days from today to the first day matching pred, within limit days.
template <typename Pred> int DaysUntil(NaiveDate today, Pred pred, int limit)
{
    NaiveDate day = today;
    for (int n = 0; n <= limit; ++n, day = day.Next())
        if (pred(day))
            return n;
    return -1;
}

} // namespace

TEST(Upcoming, HolidaysMergeWithTheDatedLines)
{
    struct Case {
        year_month_day today;
        Window window;
        std::vector<const char*> dates;
        std::vector<std::string> lines;
    };
    const Window on { 1, 3, 5, 10, true };
    const Case cases[] = {
        // 2026-09-18 is a Friday: 敬老の日 on Monday the 21st, 秋分の日 on
        // Wednesday the 23rd, and the Tuesday between them a holiday too.
        { 2026y / 9 / 18, on, { "毎週土曜日", "9月20日", "9月22日", "9月25日" },
            { "1日後毎週土曜日 t1", "2日後9月20日 t2", "3日後9月21日 敬老の日", "4日後9月22日 t3",
                "4日後9月22日 国民の休日", "5日後9月23日 秋分の日", "7日後9月25日 t4" } },
        // Each holiday goes before the first dated line that falls later.
        { 2026y / 9 / 18, on, { "9月25日", "2026年9月19日" },
            { "3日後9月21日 敬老の日", "4日後9月22日 国民の休日", "5日後9月23日 秋分の日", "7日後9月25日 t1",
                "1日後2026年9月19日 t2" } },
        { 2026y / 9 / 18, { 1, 3, 5, 10, false }, { "9月22日" }, { "4日後9月22日 t1" } },
        { 2026y / 9 / 21, { 1, 3, 5, 0, true }, { "毎週月曜日" },
            { "0日後毎週月曜日 t1", "0日後9月21日 敬老の日" } },
        { 2026y / 9 / 21, { 1, 3, 5, -1, true }, { "9月21日" }, {} },
        // After the last line when no dated line falls later; the window is
        // the dated one, across the turn of the year.
        { 2026y / 12 / 28, { 1, 3, 5, 14, true }, { "毎月30日" },
            { "2日後毎月30日 t1", "4日後1月1日 元日", "14日後1月11日 成人の日" } },
    };
    for (const Case& c : cases)
        EXPECT_EQ(Table(c.dates).Upcoming(c.today, c.window), c.lines)
            << static_cast<int>(c.today.year()) << "-" << static_cast<unsigned>(c.today.month()) << "-"
            << static_cast<unsigned>(c.today.day()) << " first " << c.dates.front();
}

TEST(Upcoming, DayCountsAgreeWithPlainCalendarOverSeveralYears)
{
    const std::vector<const char*> dates { "毎年1月1日", "毎年2月29日", "毎年12月31日", "毎年1月第2月曜日",
        "毎週水曜日", "毎月第2火曜日", "平成37年3月1日", "7月4日" };
    const int window = 400;
    Table table(dates);
    NaiveDate day { 2023, 1, 1, 0 }; // a Sunday
    while (day.y < 2027) {
        const year_month_day today { year { day.y }, month { unsigned(day.m) },
            std::chrono::day { unsigned(day.d) } };
        const bool leap = NaiveDate::DaysIn(day.y, 2) == 29;
        const int expected[] = {
            DaysUntil(
                day, [](NaiveDate x) { return x.m == 1 && x.d == 1; }, window),
            // Only this year's leap day: next year's never exists after one.
            leap && (day.m < 2 || (day.m == 2 && day.d <= 29)) ? DaysUntil(
                day, [](NaiveDate x) { return x.m == 2 && x.d == 29; }, window)
                                                               : -1,
            DaysUntil(
                day, [](NaiveDate x) { return x.m == 12 && x.d == 31; }, window),
            DaysUntil(
                day, [](NaiveDate x) { return x.m == 1 && x.wd == 1 && x.d >= 8 && x.d <= 14; }, window),
            DaysUntil(
                day, [](NaiveDate x) { return x.wd == 3; }, window),
            // This month's second Tuesday only.
            DaysUntil(
                day, [&](NaiveDate x) { return x.m == day.m && x.wd == 2 && x.d >= 8 && x.d <= 14; }, 31),
            DaysUntil(
                day, [](NaiveDate x) { return x.y == 2025 && x.m == 3 && x.d == 1; }, window),
            DaysUntil(
                day, [](NaiveDate x) { return x.m == 7 && x.d == 4; }, window),
        };
        const std::vector<std::string> lines = table.Upcoming(today, { window, window, window, window });
        std::vector<std::string> wanted;
        for (std::size_t i = 0; i < dates.size(); ++i)
            if (expected[i] >= 0)
                wanted.push_back(
                    std::to_string(expected[i]) + "日後" + dates[i] + " t" + std::to_string(i + 1));
        ASSERT_EQ(lines, wanted) << day.y << "-" << day.m << "-" << day.d;
        day = day.Next();
    }
}
