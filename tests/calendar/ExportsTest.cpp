// Calendars as Google and iCloud export them, replaced and cancelled
// occurrences, and input that must stay bounded.
#include "calendar/CalendarError.h"
#include "calendar/CalendarReader.h"
#include "calendar/CalendarTrim.h"
#include "calendar/UpcomingEvents.h"
#include "common/SjisLiteral.h"

#include <gtest/gtest.h>

namespace {

using namespace std::chrono;
using calendar::EventWindow;
using calendar::ReadCalendar;

// The upcoming lines of a reading, in UTF-8.
std::vector<std::string> Lines(const calendar::CalendarRead& read, year_month_day today)
{
    std::vector<std::string> lines;
    for (const calendar::Occurrence& o : read.occurrences)
        lines.push_back(test_text::Utf8(calendar::UpcomingLine(o, today)));
    return lines;
}

// Google's private iCal address: X-WR-TIMEZONE, a VTIMEZONE for Asia/Tokyo,
// a weekly meeting with one occurrence moved, one excluded and one
// cancelled, folded lines and alarms.
constexpr const char* kGoogle
    = "BEGIN:VCALENDAR\r\n"
      "PRODID:-//Google Inc//Google Calendar 70.9054//EN\r\n"
      "VERSION:2.0\r\nCALSCALE:GREGORIAN\r\nMETHOD:PUBLISH\r\n"
      "X-WR-CALNAME:仕事\r\nX-WR-TIMEZONE:Asia/Tokyo\r\n"
      "BEGIN:VTIMEZONE\r\nTZID:Asia/Tokyo\r\nX-LIC-LOCATION:Asia/Tokyo\r\n"
      "BEGIN:STANDARD\r\nTZOFFSETFROM:+0900\r\nTZOFFSETTO:+0900\r\nTZNAME:JST\r\n"
      "DTSTART:19700101T000000\r\nEND:STANDARD\r\nEND:VTIMEZONE\r\n"
      "BEGIN:VEVENT\r\nDTSTART;TZID=Asia/Tokyo:20240108T100000\r\n"
      "DTEND;TZID=Asia/Tokyo:20240108T110000\r\nRRULE:FREQ=WEEKLY;BYDAY=MO\r\n"
      "EXDATE;TZID=Asia/Tokyo:20260316T100000\r\nUID:weekly@google.com\r\n"
      "SUMMARY:定例会議\r\nDESCRIPTION:議題は\\n前日までに\r\n  送ってください\r\n"
      "BEGIN:VALARM\r\nACTION:DISPLAY\r\nTRIGGER:-PT10M\r\nEND:VALARM\r\nEND:VEVENT\r\n"
      "BEGIN:VEVENT\r\nDTSTART;TZID=Asia/Tokyo:20260311T150000\r\n"
      "RECURRENCE-ID;TZID=Asia/Tokyo:20260309T100000\r\nUID:weekly@google.com\r\n"
      "SUMMARY:定例会議（移動）\r\nEND:VEVENT\r\n"
      "BEGIN:VEVENT\r\nDTSTART;TZID=Asia/Tokyo:20260323T100000\r\n"
      "RECURRENCE-ID;TZID=Asia/Tokyo:20260323T100000\r\nUID:weekly@google.com\r\n"
      "STATUS:CANCELLED\r\nSUMMARY:定例会議\r\nEND:VEVENT\r\n"
      "BEGIN:VEVENT\r\nDTSTART;VALUE=DATE:20260310\r\nDTEND;VALUE=DATE:20260312\r\n"
      "UID:trip@google.com\r\nSUMMARY:出張（大阪）\r\nEND:VEVENT\r\n"
      "BEGIN:VEVENT\r\nDTSTART:20260312T010000Z\r\nUID:dentist@google.com\r\n"
      "SUMMARY:歯医者\r\nEND:VEVENT\r\n"
      "BEGIN:VEVENT\r\nDTSTART;TZID=Asia/Tokyo:20260301T080000\r\n"
      "RRULE:FREQ=DAILY;UNTIL=20260309T230000Z\r\nUID:run@google.com\r\n"
      "SUMMARY:朝ラン\r\nEND:VEVENT\r\n"
      "BEGIN:VEVENT\r\nDTSTART;VALUE=DATE:19900314\r\nRRULE:FREQ=YEARLY\r\n"
      "UID:birthday@google.com\r\nSUMMARY:誕生日\r\nEND:VEVENT\r\n"
      "BEGIN:VEVENT\r\nDTSTART:20260313T090000\r\nUID:floating@google.com\r\n"
      "SUMMARY:打ち合わせ\r\nEND:VEVENT\r\n"
      "BEGIN:VEVENT\r\nDTSTART:20260313T030000Z\r\nUID:gone@google.com\r\n"
      "STATUS:CANCELLED\r\nSUMMARY:中止\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";

TEST(Exports, GoogleShapedInTokyo)
{
    const year_month_day today = 2026y / 3 / 8;
    const calendar::CalendarRead read = ReadCalendar(kGoogle, EventWindow { today, 17, "Asia/Tokyo" });
    EXPECT_EQ(Lines(read, today),
        (std::vector<std::string> { "0日後3月8日 08:00 朝ラン", "1日後3月9日 08:00 朝ラン",
            "2日後3月10日 出張（大阪）", "2日後3月10日 08:00 朝ラン", "3日後3月11日 15:00 定例会議（移動）",
            "4日後3月12日 10:00 歯医者", "5日後3月13日 09:00 打ち合わせ", "6日後3月14日 誕生日" }));
    EXPECT_EQ(read.eventCount, 7u);
    EXPECT_EQ(read.skippedEvents, 0u);

    // The same calendar seen from New York: the floating time stays in
    // Tokyo (X-WR-TIMEZONE), the all-day dates stay as they are.
    const calendar::CalendarRead there
        = ReadCalendar(kGoogle, EventWindow { 2026y / 3 / 12, 1, "America/New_York" });
    EXPECT_EQ(Lines(there, 2026y / 3 / 12), (std::vector<std::string> { "0日後3月12日 20:00 打ち合わせ" }));
}

// iCloud's shared link: its own VTIMEZONE for America/New_York, an event
// in New York across the start of daylight saving, a zone by a name of
// its own, a TZID nobody defines and a summary outside Shift_JIS.
constexpr const char* kICloud
    = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Apple Inc.//iCloud 2519//EN\r\n"
      "X-WR-TIMEZONE:America/New_York\r\n"
      "BEGIN:VTIMEZONE\r\nTZID:America/New_York\r\n"
      "BEGIN:DAYLIGHT\r\nDTSTART:20070311T020000\r\nRRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=2SU\r\n"
      "TZOFFSETFROM:-0500\r\nTZOFFSETTO:-0400\r\nTZNAME:EDT\r\nEND:DAYLIGHT\r\n"
      "BEGIN:STANDARD\r\nDTSTART:20071104T020000\r\nRRULE:FREQ=YEARLY;BYMONTH=11;BYDAY=1SU\r\n"
      "TZOFFSETFROM:-0400\r\nTZOFFSETTO:-0500\r\nTZNAME:EST\r\nEND:STANDARD\r\nEND:VTIMEZONE\r\n"
      "BEGIN:VTIMEZONE\r\nTZID:Studio Time\r\nBEGIN:STANDARD\r\nDTSTART:19700101T000000\r\n"
      "TZOFFSETFROM:+0530\r\nTZOFFSETTO:+0530\r\nEND:STANDARD\r\nEND:VTIMEZONE\r\n"
      "BEGIN:VEVENT\r\nUID:A1B2@icloud.com\r\nDTSTART;TZID=America/New_York:20260109T180000\r\n"
      "RRULE:FREQ=WEEKLY;INTERVAL=1\r\nSUMMARY:🎉 Party\r\nX-APPLE-TRAVEL-ADVISORY-BEHAVIOR:AUTOMATIC\r\n"
      "END:VEVENT\r\n"
      "BEGIN:VEVENT\r\nUID:C3@icloud.com\r\nDTSTART;TZID=Studio Time:20260310T120000\r\n"
      "SUMMARY:Recording\r\nEND:VEVENT\r\n"
      "BEGIN:VEVENT\r\nUID:D4@icloud.com\r\nDTSTART;TZID=Nowhere Standard Time:20260311T070000\r\n"
      "SUMMARY:Call\\, then\\nlunch\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";

TEST(Exports, ICloudShapedInTokyo)
{
    const year_month_day today = 2026y / 3 / 1;
    const calendar::CalendarRead read = ReadCalendar(kICloud, EventWindow { today, 14, "Asia/Tokyo" });
    EXPECT_EQ(Lines(read, today),
        (std::vector<std::string> { "6日後3月7日 08:00 〓 Party", "9日後3月10日 15:30 Recording",
            "10日後3月11日 20:00 Call, then lunch", "13日後3月14日 07:00 〓 Party" }));
}

TEST(Exports, BadInputLosesOnlyItself)
{
    const std::string good = "BEGIN:VEVENT\r\nDTSTART:20260302T100000\r\nSUMMARY:残る\r\nEND:VEVENT\r\n";
    const std::string junk = ":\r\n;\r\n\"\r\nBEGIN:X\r\nBEGIN:X\r\nEND:X\r\nEND:X\r\nEND:VEVENT\r\n"
                             "BEGIN:VEVENT\r\nDTSTART:2026\r\nEND:VEVENT\r\n"
                             "BEGIN:VEVENT\r\nSUMMARY:no start\r\nEND:VEVENT\r\n"
                             "BEGIN:VEVENT\r\nDTSTART:20260302T110000\r\nSUMMARY"
        + std::string(40, ';') + ":x\r\nEND:VEVENT\r\nBEGIN:VEVENT\r\nDTSTART:20260302T120000\r\nSUMMARY:a"
        + std::string(1, '\0') + "b\r\nEND:VEVENT\r\n";
    const std::string text = "BEGIN:VCALENDAR\r\n" + junk + good + "BEGIN:VEVENT\r\nDTSTART:20260303\r\n";
    const calendar::CalendarRead read = ReadCalendar(text, EventWindow { 2026y / 3 / 1, 5, "UTC" });
    EXPECT_TRUE(read.readable);
    EXPECT_EQ(Lines(read, 2026y / 3 / 1), (std::vector<std::string> { "1日後3月2日 10:00 残る" }));
    // The unreadable start, the missing start, the line of 40 parameters,
    // the NUL and the event never ended.
    EXPECT_EQ(read.skippedEvents, 5u);

    EXPECT_FALSE(ReadCalendar("<!DOCTYPE html><html>Sign in</html>", EventWindow { 2026y / 3 / 1 }).readable);
    EXPECT_THROW(
        ReadCalendar(kGoogle, EventWindow { 2026y / 3 / 1, 1, "../../dev/stdin" }), calendar::CalendarError);
}

TEST(Exports, EndlessAndCostlyRulesStayBounded)
{
    std::string text = "BEGIN:VCALENDAR\r\n";
    const auto event = [&](const std::string& rule) {
        text += "BEGIN:VEVENT\r\nDTSTART:19000101T000000\r\nRRULE:" + rule + "\r\nSUMMARY:" + rule
            + "\r\nEND:VEVENT\r\n";
    };
    event("FREQ=SECONDLY");
    event("FREQ=MINUTELY");
    event("FREQ=DAILY;COUNT=2000000000");
    // Week 53's Monday is never in January: libical searches for
    // centuries before it gives up, each time.
    for (int i = 0; i < 40; ++i)
        event("FREQ=YEARLY;BYWEEKNO=53;BYDAY=MO;BYMONTH=1");
    text += "BEGIN:VEVENT\r\nDTSTART:20260302T100000\r\nSUMMARY:single\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";

    const calendar::CalendarRead read = ReadCalendar(text, EventWindow { 2026y / 3 / 1, 1, "UTC" });
    EXPECT_TRUE(read.cutShort);
    EXPECT_EQ(read.occurrences.size(), 2 * 1440u + 2 + 1); // every minute, the daily one twice, single
    EXPECT_GE(read.skippedEvents, 1u); // the one every second
}

TEST(Exports, HundredThousandEvents)
{
    std::string text = "BEGIN:VCALENDAR\r\n";
    for (int i = 0; i < 100'001; ++i)
        text += "BEGIN:VEVENT\r\nDTSTART:2026" + std::string(i % 2 ? "0302" : "0401")
            + "T100000\r\nEND:VEVENT\r\n";
    text += "END:VCALENDAR\r\n";
    const calendar::CalendarRead read = ReadCalendar(text, EventWindow { 2026y / 3 / 1, 5, "UTC" });
    EXPECT_EQ(read.eventCount, calendar::kMaxEvents);
    EXPECT_EQ(read.skippedEvents, 1u);
    // 50,000 fall in the window; the earliest 10,000 are kept.
    EXPECT_EQ(read.occurrences.size(), 10'000u);
    EXPECT_TRUE(read.cutShort);
}

} // namespace
