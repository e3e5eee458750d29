// Over generated date texts: every date the check accepts is placed by the
// upcoming list on some day, and checking its rewritten form again changes
// nothing.
#include "TempFolder.h"
#include "common/SjisLiteral.h"
#include "schedule/TScheduleTable.h"

#include <chrono>
#include <climits>
#include <gtest/gtest.h>
#include <iostream>
#include <random>

using namespace schedule;
using namespace std::chrono;
using schedule_test::TempFolder;
using test_text::Utf8;

namespace {

// Pieces of the date language and of what people type around it.
const char* const kPieces[] = { "0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "１", "２", "５", "０",
    "12", "13", "29", "30", "31", "32", "2026", "9999", "10000", "8011", "7981", "7982", "年", "月", "日",
    "曜", "曜日", "第", "毎週", "毎月", "毎年", "日曜", "月曜", "火曜", "水曜日", "土曜", "平成", "令和", "H",
    "h", "Ｈ", "R", "r", "Ｒ", "ｒ", "元", "元年", " ", "　", "/", "／", "-", "+", "(金)", "X", "明", "\"",
    ",", "ド", "ｓⅰ" };

// Forms with numbers, so that a good share of the texts are dates.
std::string Formed(std::mt19937& random)
{
    // Mostly numbers that fit every field, sometimes those at and past the
    // edges.
    const int edges[] = { -1, 0, 5, 6, 13, 28, 29, 30, 31, 32, 99 };
    const auto n = [&] {
        return std::to_string(
            random() % 3 ? 1 + static_cast<int>(random() % 12) : edges[random() % std::size(edges)]);
    };
    const char* const eras[] = { "", "", "平成", "令和", "H", "R", "ｒ" };
    const char* const weekdays[] = { "日", "月", "火", "水", "木", "金", "土" };
    const auto era = [&] { return std::string(eras[random() % std::size(eras)]); };
    const auto wd = [&] { return std::string(weekdays[random() % 7]); };
    const auto year = [&] {
        std::uniform_int_distribution<int> years(0, 2100);
        const int y = years(random);
        return random() % 2 ? std::to_string(y) : std::to_string(y % 40);
    };
    switch (random() % 8) {
    case 0:
        return "毎週" + wd() + "曜日";
    case 1:
        return "毎月" + n() + "日";
    case 2:
        return "毎月第" + n() + wd() + "曜日";
    case 3:
        return "毎年" + n() + "月" + n() + "日";
    case 4:
        return "毎年" + n() + "月第" + n() + wd() + "曜日";
    case 5:
        return n() + "月" + n() + "日";
    case 6:
        return era() + (random() % 8 ? year() : std::string("元")) + "年" + n() + "月" + n() + "日";
    default:
        return "";
    }
}

// A formed text with a few pieces put in or bytes taken out (which may cut
// a double-byte character in half, as a damaged file would), in Shift_JIS.
std::string Generated(std::mt19937& random)
{
    std::string text = random() % 4 ? Sjis(Formed(random)) : "";
    // Half the formed texts stay as they are; pieces alone take a few.
    const int changes = static_cast<int>(text.empty() ? 1 + random() % 4
            : random() % 2                            ? 0
                                                      : 1 + random() % 2);
    for (int i = 0; i < changes; ++i) {
        const std::string piece = Sjis(kPieces[random() % std::size(kPieces)]);
        text.insert(text.empty() ? 0 : random() % (text.size() + 1), piece);
        if (random() % 3 == 0 && text.size() > piece.size() + 1)
            text.erase(random() % text.size(), 1);
    }
    return text;
}

} // namespace

TEST(DateProperty, AcceptedDatesArePlaced)
{
    constexpr int kInputs = 100000;
    std::mt19937 random(20261208);
    TempFolder dir;
    TScheduleTable table(dir.File());
    // The days looked at: the first day of the calendar, for full dates of
    // any year, and the first of January of 32 years, which between them
    // (with the year after each) hold every weekday on every first of a
    // month and every leap day.
    std::vector<year_month_day> days { 1y / 1 / 1 };
    for (int y = 2000; y < 2032; ++y)
        days.push_back(year { y } / 1 / 1);
    const LookAhead always { INT_MAX, INT_MAX, INT_MAX, INT_MAX };

    int accepted = 0;
    int failures = 0;
    for (int i = 0; i < kInputs; ++i) {
        const std::string typed = Generated(random);
        table.SetDate(0, typed);
        if (table.Check())
            continue;
        ++accepted;
        const std::string shown = table.Entries()[0].date;
        bool placed = false;
        for (const year_month_day& today : days)
            if (!table.ListUpcoming(always, today).empty()) {
                placed = true;
                break;
            }
        EXPECT_TRUE(placed) << "accepted but never placed: " << Utf8(typed) << " -> " << Utf8(shown);
        EXPECT_FALSE(table.Check()) << Utf8(shown);
        EXPECT_EQ(table.Entries()[0].date, shown) << "checked twice: " << Utf8(typed);
        if (!placed && ++failures > 20)
            break;
    }
    std::cout << "[ property ] " << kInputs << " generated date texts, " << accepted
              << " accepted by the check, each placed by the upcoming list\n";
    RecordProperty("inputs", kInputs);
    RecordProperty("accepted", accepted);
    // The generator must reach both sides for the property to mean much.
    EXPECT_GT(accepted, kInputs / 5);
    EXPECT_LT(accepted, kInputs * 4 / 5);
}
