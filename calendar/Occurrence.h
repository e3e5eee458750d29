#pragma once

#include <chrono>
#include <optional>
#include <string>

namespace calendar {

// One occurrence of a calendar event, in the local time zone.
struct Occurrence {
    std::chrono::year_month_day date;
    // The start as minutes after local midnight; nothing for an all-day
    // event.
    std::optional<std::chrono::minutes> start;
    // Shift_JIS, one line; characters outside Shift_JIS are the geta mark 〓.
    std::string summary;

    bool operator==(const Occurrence&) const = default;
};

// Date order; on one day all-day events first, then by start time. Events
// that tie keep their order.
bool ComesBefore(const Occurrence& a, const Occurrence& b);

} // namespace calendar
