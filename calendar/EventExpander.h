#pragma once

// The occurrences of one VCALENDAR's events within a window of days: the
// work behind ReadCalendar, once libical has parsed the text.

#include "calendar/CalendarReader.h"
#include "calendar/LocalZone.h"

#include <chrono>
#include <cstdint>

struct icalcomponent_impl;

namespace calendar {

// How much processor time a reading may spend expanding repetitions. Each
// libical iterator is started only while time is left and is stepped
// only near the window, so one that runs long costs at most a fraction of
// a second beyond the limit; once the time is spent, events are still
// listed once by their start and extra dates, and the reading says it was
// cut short.
class WorkBudget {
public:
    explicit WorkBudget(std::chrono::milliseconds limit);
    bool Spent() const;

private:
    std::int64_t deadlineNs_;
};

class EventExpander {
public:
    EventExpander(
        const LocalZone& local, std::chrono::sys_days first, std::chrono::sys_days last, WorkBudget& budget);

    // Adds the occurrences of vcalendar's events to out.
    void Read(icalcomponent_impl* vcalendar, CalendarRead& out);

private:
    const LocalZone& local_;
    std::chrono::sys_days first_;
    std::chrono::sys_days last_;
    WorkBudget& budget_;
};

} // namespace calendar
