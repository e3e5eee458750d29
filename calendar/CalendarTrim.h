#pragma once

// The iCalendar text cut down to what the calendar reader uses, before
// libical parses it.
//
// libical builds a tree of every component and property, and some shapes
// of input cost it far more than their size: thousands of parameters on one
// line, thousands of unreadable values in one component or of time zone
// definitions in one calendar take seconds to minutes, and short junk lines
// hundreds of bytes each. This pass looks only at line structure (the name
// before ';' or ':' and BEGIN/END), in one walk over the text, and keeps:
// the VCALENDAR with its X-WR-TIMEZONE, its VEVENTs with the properties an
// occurrence is made of, and its VTIMEZONEs with their observances. Values
// are passed on untouched for libical to read. Everything else (alarms,
// to-dos, descriptions, attendees, attachments) is dropped, and so is a
// component past its limits, so the work libical is given grows with the
// text and stays small.
//
// Most events of a calendar happen once, long before or after the days
// wanted: an event without RRULE, RDATE or RECURRENCE-ID whose DTSTART
// value begins with a date (YYYYMMDD) outside those days is counted and
// left out too, so libical reads only what can show.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace calendar {

struct TrimmedCalendar {
    std::string text; // CR LF line ends
    // Events dropped whole: too many lines, a line with too many
    // parameters, past the event limit or never ended.
    std::size_t droppedEvents = 0;
    // Events left out because they happen once, outside the days wanted.
    std::size_t farEvents = 0;
};

// The days an event may start on to be kept, as days since 1970-01-01 in
// the event's own time zone (a margin for the zones is the caller's).
struct DayRange {
    std::int64_t first = 0;
    std::int64_t last = 0;
};

inline constexpr std::size_t kMaxLinesPerComponent = 1000;
inline constexpr std::size_t kMaxParameters = 32;
inline constexpr std::size_t kMaxEvents = 100'000;
inline constexpr std::size_t kMaxTimeZones = 100;
inline constexpr std::size_t kMaxObservances = 200;

TrimmedCalendar TrimCalendarText(std::string_view text, DayRange wanted);

} // namespace calendar
