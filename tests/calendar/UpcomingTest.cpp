// The events' upcoming lines and where they stand among the schedule's.
#include "calendar/UpcomingEvents.h"
#include "common/SjisLiteral.h"

#include <gtest/gtest.h>

namespace {

using namespace std::chrono;
using calendar::Occurrence;

Occurrence At(year_month_day date, std::optional<minutes> start, const char* summary)
{
    return { date, start, Sjis(summary) };
}

TEST(Upcoming, LinesAndMerge)
{
    const year_month_day today = 2026y / 12 / 28;
    EXPECT_EQ(
        test_text::Utf8(calendar::UpcomingLine(At(2027y / 1 / 4, minutes { 9 * 60 + 5 }, "初出"), today)),
        "7日後1月4日 09:05 初出");

    // The schedule's lines as ListUpcoming gives them: weekly lines in
    // table order, then dated ones (a holiday among them).
    const std::vector<std::string> schedule = { Sjis("1日後毎週火曜日 ゴミ"), Sjis("0日後毎週月曜日 朝礼"),
        Sjis("4日後1月1日 元日"), Sjis("4日後1月1日 初詣"), Sjis("9日後2027年1月6日 新年会") };
    const std::vector<Occurrence> events
        = { At(2027y / 1 / 1, minutes { 10 * 60 }, "親戚"), At(2026y / 12 / 27, std::nullopt, "昨日"),
              At(2026y / 12 / 28, minutes { 23 * 60 }, "夜"), At(2027y / 1 / 1, std::nullopt, "休み"),
              At(2027y / 1 / 8, minutes { 8 * 60 }, "後"), At(2026y / 12 / 28, minutes { 6 * 60 }, "朝") };
    std::vector<std::string> merged;
    for (const std::string& line : calendar::MergeUpcoming(schedule, events, today))
        merged.push_back(test_text::Utf8(line));
    EXPECT_EQ(merged,
        (std::vector<std::string> { "0日後12月28日 06:00 朝", "0日後12月28日 23:00 夜",
            "1日後毎週火曜日 ゴミ", "0日後毎週月曜日 朝礼", "4日後1月1日 元日", "4日後1月1日 初詣",
            "4日後1月1日 休み", "4日後1月1日 10:00 親戚", "9日後2027年1月6日 新年会",
            "11日後1月8日 08:00 後" }));
    EXPECT_EQ(calendar::MergeUpcoming(schedule, {}, today), schedule);
}

} // namespace
