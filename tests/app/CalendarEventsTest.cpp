// The settings' calendar subscriptions on their way to the wallpaper's
// upcoming lines.
#include "app/CalendarEvents.h"

#include "app/DrawKabegami.h"
#include "common/SjisLiteral.h"
#include "common/TempFolder.h"

#include <gtest/gtest.h>

namespace {

using namespace std::chrono;

TEST(CalendarEvents, SubscriptionsJoinTheScheduleLinesAndEachProblemNamesItsOwn)
{
    const test_files::TempFolder folder("calendar");
    folder.Write("family.ics",
        "BEGIN:VCALENDAR\r\nVERSION:2.0\r\n"
        "BEGIN:VEVENT\r\nUID:a\r\nDTSTART;VALUE=DATE:20261209\r\nSUMMARY:歯医者\r\nEND:VEVENT\r\n"
        "BEGIN:VEVENT\r\nUID:b\r\nDTSTART:20261208T093000\r\nSUMMARY:会議\r\nEND:VEVENT\r\n"
        "BEGIN:VEVENT\r\nUID:c\r\nDTSTART;VALUE=DATE:20270301\r\nSUMMARY:先の話\r\nEND:VEVENT\r\n"
        "END:VCALENDAR\r\n");
    const std::string family = (folder.Path() / "family.ics").string();
    const year_month_day today = 2026y / December / 8d;
    app::Settings settings;
    settings.LbCalendars
        = { family, "http://calendar.example.com/c.ics", (folder.Path() / "gone.ics").string() };
    const calendar::FetchOptions options; // no kept copies

    app::CalendarEvents loaded = app::LoadCalendarEvents(settings, today, options);
    EXPECT_EQ(loaded.events.size(), 2U); // the third is past the dated look-ahead
    ASSERT_EQ(loaded.problems.size(), 2U);
    EXPECT_NE(loaded.problems[0].find(Sjis("http:// は、このコンピューターの中")), std::string::npos);
    EXPECT_NE(loaded.problems[1].find(Sjis("カレンダー「3: ")), std::string::npos) << loaded.problems[1];

    app::DrawRequest request;
    request.settings = settings;
    request.today = today;
    request.events = loaded.events;
    EXPECT_EQ(app::TextSceneFor(request).scheduleLines,
        (std::vector<std::string> { Sjis("0日後12月8日 09:30 会議"), Sjis("1日後12月9日 歯医者") }));
    request.settings.ChScMemo = false; // the schedule's lines are not shown
    EXPECT_TRUE(app::TextSceneFor(request).scheduleLines.empty());

    // The window's check says how many events an address holds, or why not.
    EXPECT_TRUE(app::CheckCalendar(settings, family, today, options).ends_with(Sjis("の予定は 3 件です。")));
    EXPECT_EQ(
        app::CheckCalendar(settings, "ftp://x", today, options), app::CalendarAddressProblem("ftp://x"));
    EXPECT_FALSE(app::CalendarAddressProblem("ftp://x").empty());
    EXPECT_TRUE(app::CalendarAddressProblem("webcal://calendar.example.com/c.ics").empty());
}

} // namespace
