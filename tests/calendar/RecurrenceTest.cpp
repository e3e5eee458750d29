// The repetition rules: RFC 5545's examples (section 3.8.5.3) read as a
// calendar in America/New_York and listed in that zone, and the same rules
// far from their start, where the reader starts libical's iteration late,
// against libical stepping from the start itself.
#include "calendar/CalendarReader.h"

#include <gtest/gtest.h>
#include <libical/ical.h>
#include <sstream>

namespace {

using namespace std::chrono;
using calendar::EventWindow;
using calendar::ReadCalendar;

// The occurrences as "YYYYMMDD", with "THHMM" when not at 09:00 (the start
// time of almost every example), space-separated.
std::string Listed(const calendar::CalendarRead& read)
{
    std::ostringstream out;
    for (const calendar::Occurrence& o : read.occurrences) {
        char text[24];
        const long m = o.start ? o.start->count() : -1;
        std::snprintf(text, sizeof text, "%04d%02u%02u", static_cast<int>(o.date.year()),
            static_cast<unsigned>(o.date.month()), static_cast<unsigned>(o.date.day()));
        out << (out.tellp() > 0 ? " " : "") << text;
        if (m != 9 * 60)
            out << (o.start ? (std::snprintf(text, sizeof text, "T%02ld%02ld", m / 60, m % 60), text) : "T-");
    }
    return out.str();
}

std::string Calendar(const std::string& start, const std::string& lines)
{
    return "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nUID:rfc\r\nDTSTART" + start + "\r\n" + lines
        + "SUMMARY:x\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
}

struct Example {
    const char* start; // DTSTART in New York, "YYYYMMDDTHHMMSS"
    const char* lines; // RRULE and any EXDATE
    int days; // the window from the start's day
    const char* expected;
};

// Every 20 minutes from 9:00 to 16:40 on 2 September 1997.
constexpr const char* kEvery20 = "19970902 19970902T0920 19970902T0940 19970902T1000 19970902T1020 "
                                 "19970902T1040 19970902T1100 19970902T1120 19970902T1140 19970902T1200 "
                                 "19970902T1220 19970902T1240 19970902T1300 19970902T1320 19970902T1340 "
                                 "19970902T1400 19970902T1420 19970902T1440 19970902T1500 19970902T1520 "
                                 "19970902T1540 19970902T1600 19970902T1620 19970902T1640";

// The examples in the RFC's order; open-ended ones within a window.
const Example kExamples[] = {
    { "19970902T090000", "RRULE:FREQ=DAILY;COUNT=10", 40,
        "19970902 19970903 19970904 19970905 19970906 19970907 19970908 19970909 19970910 19970911" },
    { "19970902T090000", "RRULE:FREQ=DAILY;UNTIL=19970905T000000Z", 40, "19970902 19970903 19970904" },
    { "19970902T090000", "RRULE:FREQ=DAILY;INTERVAL=2", 6, "19970902 19970904 19970906 19970908" },
    { "19970902T090000", "RRULE:FREQ=DAILY;INTERVAL=10;COUNT=5", 60,
        "19970902 19970912 19970922 19971002 19971012" },
    { "19980101T090000", "RRULE:FREQ=YEARLY;UNTIL=20000131T140000Z;BYMONTH=1;BYDAY=SU,MO,TU,WE,TH,FR,SA", 800,
        nullptr }, // 93 days: counted below
    { "19970902T090000", "RRULE:FREQ=WEEKLY;COUNT=10", 90,
        "19970902 19970909 19970916 19970923 19970930 19971007 19971014 19971021 19971028 19971104" },
    { "19970902T090000", "RRULE:FREQ=WEEKLY;INTERVAL=2;WKST=SU", 42, "19970902 19970916 19970930 19971014" },
    { "19970902T090000", "RRULE:FREQ=WEEKLY;UNTIL=19971007T000000Z;WKST=SU;BYDAY=TU,TH", 60,
        "19970902 19970904 19970909 19970911 19970916 19970918 19970923 19970925 19970930 19971002" },
    { "19970901T090000", "RRULE:FREQ=WEEKLY;INTERVAL=2;UNTIL=19971224T000000Z;WKST=SU;BYDAY=MO,WE,FR", 120,
        "19970901 19970903 19970905 19970915 19970917 19970919 19970929 19971001 19971003 19971013 19971015 "
        "19971017 19971027 19971029 19971031 19971110 19971112 19971114 19971124 19971126 19971128 19971208 "
        "19971210 19971212 19971222" },
    { "19970902T090000", "RRULE:FREQ=WEEKLY;INTERVAL=2;COUNT=8;WKST=SU;BYDAY=TU,TH", 60,
        "19970902 19970904 19970916 19970918 19970930 19971002 19971014 19971016" },
    { "19970905T090000", "RRULE:FREQ=MONTHLY;COUNT=10;BYDAY=1FR", 400,
        "19970905 19971003 19971107 19971205 19980102 19980206 19980306 19980403 19980501 19980605" },
    { "19970907T090000", "RRULE:FREQ=MONTHLY;INTERVAL=2;COUNT=10;BYDAY=1SU,-1SU", 400,
        "19970907 19970928 19971102 19971130 19980104 19980125 19980301 19980329 19980503 19980531" },
    { "19970922T090000", "RRULE:FREQ=MONTHLY;COUNT=6;BYDAY=-2MO", 400,
        "19970922 19971020 19971117 19971222 19980119 19980216" },
    { "19970928T090000", "RRULE:FREQ=MONTHLY;BYMONTHDAY=-3", 160,
        "19970928 19971029 19971128 19971229 19980129 19980226" },
    { "19970902T090000", "RRULE:FREQ=MONTHLY;COUNT=10;BYMONTHDAY=2,15", 400,
        "19970902 19970915 19971002 19971015 19971102 19971115 19971202 19971215 19980102 19980115" },
    { "19970930T090000", "RRULE:FREQ=MONTHLY;COUNT=10;BYMONTHDAY=1,-1", 400,
        "19970930 19971001 19971031 19971101 19971130 19971201 19971231 19980101 19980131 19980201" },
    { "19970910T090000", "RRULE:FREQ=MONTHLY;INTERVAL=18;COUNT=10;BYMONTHDAY=10,11,12,13,14,15", 800,
        "19970910 19970911 19970912 19970913 19970914 19970915 19990310 19990311 19990312 19990313" },
    { "19970902T090000", "RRULE:FREQ=MONTHLY;INTERVAL=2;BYDAY=TU", 70,
        "19970902 19970909 19970916 19970923 19970930 19971104 19971111" },
    { "19970610T090000", "RRULE:FREQ=YEARLY;COUNT=10;BYMONTH=6,7", 800,
        "19970610 19970710 19980610 19980710 19990610 19990710" },
    { "19970310T090000", "RRULE:FREQ=YEARLY;INTERVAL=2;COUNT=10;BYMONTH=1,2,3", 800,
        "19970310 19990110 19990210 19990310" },
    { "19970101T090000", "RRULE:FREQ=YEARLY;INTERVAL=3;COUNT=10;BYYEARDAY=1,100,200", 1200,
        "19970101 19970410 19970719 20000101 20000409" },
    { "19970519T090000", "RRULE:FREQ=YEARLY;BYDAY=20MO", 800, "19970519 19980518 19990517" },
    { "19970512T090000", "RRULE:FREQ=YEARLY;BYWEEKNO=20;BYDAY=MO", 800, "19970512 19980511 19990517" },
    { "19970313T090000", "RRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=TH", 400,
        "19970313 19970320 19970327 19980305 19980312 19980319 19980326" },
    { "19970605T090000", "RRULE:FREQ=YEARLY;BYDAY=TH;BYMONTH=6,7,8", 40,
        "19970605 19970612 19970619 19970626 19970703 19970710" },
    { "19970902T090000",
        "EXDATE;TZID=America/New_York:19970902T090000\r\nRRULE:FREQ=MONTHLY;BYDAY=FR;BYMONTHDAY=13", 1200,
        "19980213 19980313 19981113 19990813 20001013" },
    { "19970913T090000", "RRULE:FREQ=MONTHLY;BYDAY=SA;BYMONTHDAY=7,8,9,10,11,12,13", 150,
        "19970913 19971011 19971108 19971213 19980110 19980207" },
    { "19961105T090000", "RRULE:FREQ=YEARLY;INTERVAL=4;BYMONTH=11;BYDAY=TU;BYMONTHDAY=2,3,4,5,6,7,8", 3000,
        "19961105 20001107 20041102" },
    { "19970904T090000", "RRULE:FREQ=MONTHLY;COUNT=3;BYDAY=TU,WE,TH;BYSETPOS=3", 400,
        "19970904 19971007 19971106" },
    { "19970929T090000", "RRULE:FREQ=MONTHLY;BYDAY=MO,TU,WE,TH,FR;BYSETPOS=-2", 160,
        "19970929 19971030 19971127 19971230 19980129 19980226" },
    { "19970902T090000", "RRULE:FREQ=HOURLY;INTERVAL=3;UNTIL=19970902T210000Z", 3,
        "19970902 19970902T1200 19970902T1500" },
    { "19970902T090000", "RRULE:FREQ=MINUTELY;INTERVAL=15;COUNT=6", 3,
        "19970902 19970902T0915 19970902T0930 19970902T0945 19970902T1000 19970902T1015" },
    { "19970902T090000", "RRULE:FREQ=MINUTELY;INTERVAL=90;COUNT=4", 3,
        "19970902 19970902T1030 19970902T1200 19970902T1330" },
    { "19970902T090000", "RRULE:FREQ=DAILY;BYHOUR=9,10,11,12,13,14,15,16;BYMINUTE=0,20,40", 0, kEvery20 },
    { "19970902T090000", "RRULE:FREQ=MINUTELY;INTERVAL=20;BYHOUR=9,10,11,12,13,14,15,16", 0, kEvery20 },
    { "19970805T090000", "RRULE:FREQ=WEEKLY;INTERVAL=2;COUNT=4;BYDAY=TU,SU;WKST=MO", 60,
        "19970805 19970810 19970819 19970824" },
    { "19970805T090000", "RRULE:FREQ=WEEKLY;INTERVAL=2;COUNT=4;BYDAY=TU,SU;WKST=SU", 60,
        "19970805 19970817 19970819 19970831" },
    { "20070115T090000", "RRULE:FREQ=MONTHLY;BYMONTHDAY=15,30;COUNT=5", 100,
        "20070115 20070130 20070215 20070315 20070330" },
};

TEST(Recurrence, Rfc5545Examples)
{
    for (const Example& e : kExamples) {
        const std::string start = e.start;
        const year_month_day first { year { std::stoi(start.substr(0, 4)) },
            month { static_cast<unsigned>(std::stoi(start.substr(4, 2))) },
            day { static_cast<unsigned>(std::stoi(start.substr(6, 2))) } };
        const calendar::CalendarRead read
            = ReadCalendar(Calendar(";TZID=America/New_York:" + start, std::string(e.lines) + "\r\n"),
                EventWindow { first, e.days, "America/New_York" });
        if (e.expected)
            EXPECT_EQ(Listed(read), e.expected) << e.lines;
        else // every day of January 1998, 1999 and 2000
            EXPECT_EQ(read.occurrences.size(), 93u) << e.lines;
        EXPECT_EQ(read.skippedEvents, 0u) << e.lines;
    }
}

// libical's own iteration from the start, for floating times: the
// reference the reader's late start must agree with.
std::string FromTheStart(const std::string& start, const std::string& rule, sys_days first, sys_days last)
{
    calendar::CalendarRead read;
    icalrecur_iterator* it = icalrecur_iterator_new(
        icalrecurrencetype_from_string(rule.c_str()), icaltime_from_string(start.c_str()));
    for (int guard = 0; it && guard < 2'000'000; ++guard) {
        const icaltimetype t = icalrecur_iterator_next(it);
        if (icaltime_is_null_time(t))
            break;
        const sys_days date { year { t.year } / t.month / t.day };
        if (date > last)
            break;
        if (date >= first)
            read.occurrences.push_back({ year_month_day { date }, minutes { t.hour * 60 + t.minute }, "x" });
    }
    icalrecur_iterator_free(it);
    return Listed(read);
}

TEST(Recurrence, LateStartAgreesWithLibical)
{
    const std::pair<const char*, const char*> rules[] = {
        { "19970902T090000", "FREQ=DAILY;INTERVAL=3" },
        { "19970902T153000", "FREQ=DAILY;BYHOUR=9,15" },
        { "19970901T090000", "FREQ=WEEKLY;INTERVAL=2;WKST=SU;BYDAY=MO,WE,FR" },
        { "19970905T090000", "FREQ=WEEKLY" },
        { "19970902T090000", "FREQ=WEEKLY;INTERVAL=3;BYDAY=TU,SU;WKST=MO;BYSETPOS=-1" },
        { "19970131T090000", "FREQ=MONTHLY" },
        { "19970907T090000", "FREQ=MONTHLY;INTERVAL=2;BYDAY=1SU,-1SU" },
        { "19970929T090000", "FREQ=MONTHLY;BYDAY=MO,TU,WE,TH,FR;BYSETPOS=-2" },
        { "19970928T090000", "FREQ=MONTHLY;INTERVAL=2;BYMONTHDAY=-3" },
        { "19960229T090000", "FREQ=YEARLY" },
        { "19970512T090000", "FREQ=YEARLY;BYWEEKNO=20;BYDAY=MO" },
        { "19970313T090000", "FREQ=YEARLY;INTERVAL=2;BYMONTH=3" },
        { "19961105T090000", "FREQ=YEARLY;INTERVAL=4;BYMONTH=11;BYDAY=TU;BYMONTHDAY=2,3,4,5,6,7,8" },
        { "20240101T000000", "FREQ=HOURLY;INTERVAL=7" },
        { "20250101T000500", "FREQ=MINUTELY;INTERVAL=37" },
    };
    for (const auto& [start, rule] : rules) {
        for (const year_month_day today : { 2026y / 2 / 25, 2028y / 12 / 27 }) {
            const int span = std::string(rule).find("YEARLY") != std::string::npos ? 1500 : 70;
            const calendar::CalendarRead read
                = ReadCalendar(Calendar(std::string(":") + start, "RRULE:" + std::string(rule) + "\r\n"),
                    EventWindow { today, span, "UTC" });
            EXPECT_EQ(Listed(read),
                FromTheStart(start, rule, sys_days { today }, sys_days { today } + days { span }))
                << rule;
            EXPECT_FALSE(read.occurrences.empty()) << rule;
        }
    }
}

} // namespace
