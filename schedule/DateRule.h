#pragma once

// A normalised date expression read as the numbers the upcoming list places
// (internal to the schedule module). The check accepts exactly the
// expressions that read as a rule, and the upcoming list places only those,
// so an accepted date is always one that can appear on the wallpaper.

#include <cstdint>
#include <string_view>

namespace schedule {

// Why an expression is not a rule, in the order the fields are looked at.
enum class DateFault {
    None,
    Form, // not classified: kind -1
    Fields, // a field missing, left over, or not a number
    Weekday, // a weekday code outside 0..6
    DayOfMonth, // a day of the month outside 1..31
    Nth, // the n of "第n" outside 1..5
    Month, // a month outside 1..12
    NoSuchDay, // a day the month never has (2月30日, 4月31日)
    Year, // a year outside 1..9999, or era year 0
};

struct DateRule {
    // The kind as NormalizeDate classifies it (1..7), -1 when not
    // classified.
    std::int32_t kind = -1;
    // The kind's fields in order. For kind 7, a is the Gregorian year (the
    // era years converted), b the month and c the day.
    std::int32_t a = -1;
    std::int32_t b = -1;
    std::int32_t c = -1;
    DateFault fault = DateFault::Form;
};

// Reads a normalised expression. A rule whose fault is None names a date
// the calendar has: weekdays 0..6, days of the month 1..31, n 1..5, months
// 1..12, month and day together a day of some year (2月29日 included), and
// full dates real days in years 1..9999.
DateRule ReadDateRule(std::string_view normalized);

} // namespace schedule
