#pragma once

// Reading a calendar's iCalendar text (RFC 5545) with libical into the
// occurrences of its events within a window of days.
//
// Events repeat by RRULE, RDATE and EXDATE; an event with a RECURRENCE-ID
// replaces one occurrence of its series; cancelled events and occurrences
// (STATUS:CANCELLED) are left out. Times with a TZID take libical's zone of
// that IANA name, else the calendar's own VTIMEZONE of that name; floating
// times take the calendar's X-WR-TIMEZONE (where Google puts it), else
// they are local already; all-day events keep their date. Occurrences are
// shown in the window's time zone.
//
// The work is bounded whatever the text: see CalendarTrim.h for what
// reaches libical; a repetition rule is expanded only near the window, and
// a calendar whose expansion still runs long is cut short and says so.

#include "calendar/CalendarError.h"
#include "calendar/Occurrence.h"

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace calendar {

// The days whose occurrences are wanted: today up to today + days, in
// the time zone named (an IANA name; empty: the process's zone).
struct EventWindow {
    std::chrono::year_month_day today;
    int days = 10;
    std::string timeZone {};
};

struct CalendarRead {
    // false: the text holds no calendar at all (nothing else is set).
    bool readable = false;
    // In ComesBefore order; at most the earliest 10,000.
    std::vector<Occurrence> occurrences;
    // The events the calendar holds (a repeating series counts once).
    std::size_t eventCount = 0;
    // Events left out whole or in part: unreadable, without a start, or
    // with a rule that cannot be expanded.
    std::size_t skippedEvents = 0;
    // The expansion reached its work limit or the occurrence limit; later
    // events may be missing.
    bool cutShort = false;
};

// Whether text begins (after a byte order mark and blank lines) with
// BEGIN:VCALENDAR.
bool LooksLikeCalendar(std::string_view text);

// text: iCalendar text in UTF-8. An unknown window time zone throws
// CalendarError; nothing else in the text does.
CalendarRead ReadCalendar(std::string_view text, const EventWindow& window);

} // namespace calendar
