#pragma once

// Calendar events as upcoming lines beside the schedule's own.

#include "calendar/Occurrence.h"

#include <chrono>
#include <string>
#include <vector>

namespace calendar {

// "<n>日後<m>月<d>日 <summary>" for an all-day event and
// "<n>日後<m>月<d>日 HH:MM <summary>" for a timed one, n the days from today
// (0 is today), m and d without leading zeros. Shift_JIS.
std::string UpcomingLine(const Occurrence& occurrence, std::chrono::year_month_day today);

// The schedule's upcoming lines (as TScheduleTable::ListUpcoming gives
// them: each begins with its day count and 日後) with the events' lines
// among them: each event stands before the first schedule line of a later
// day, so that on one day the schedule's lines come first and the events
// follow by start time; events after the last such line close the list. A
// schedule line without a day count keeps its place. events need not be in
// order (several calendars' may be joined); those before today are left
// out.
std::vector<std::string> MergeUpcoming(const std::vector<std::string>& scheduleLines,
    std::vector<Occurrence> events, std::chrono::year_month_day today);

} // namespace calendar
