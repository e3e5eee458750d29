#include "calendar/CalendarReader.h"

#include "calendar/CalendarTrim.h"
#include "calendar/EventExpander.h"
#include "calendar/LocalZone.h"
#include "jconvert/AsciiText.h"

#include <algorithm>
#include <libical/ical.h>
#include <memory>

namespace calendar {

namespace {

using namespace std::chrono;

// The processor time a reading may spend on repetitions; with the parse
// of a megabyte it stays well under two seconds.
constexpr milliseconds kExpansionTime { 1000 };

struct ComponentDeleter {
    void operator()(icalcomponent* component) const { icalcomponent_free(component); }
};

} // namespace

bool ComesBefore(const Occurrence& a, const Occurrence& b)
{
    if (a.date != b.date)
        return a.date < b.date;
    if (a.start.has_value() != b.start.has_value())
        return !a.start.has_value();
    return a.start.value_or(minutes {}) < b.start.value_or(minutes {});
}

bool LooksLikeCalendar(std::string_view text)
{
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    while (!text.empty() && jconvert::IsAsciiBlank(text.front()))
        text.remove_prefix(1);
    constexpr std::string_view kBegin = "BEGIN:VCALENDAR";
    return text.size() >= kBegin.size()
        && jconvert::EqualsIgnoringAsciiCase(text.substr(0, kBegin.size()), kBegin);
}

CalendarRead ReadCalendar(std::string_view text, const EventWindow& window)
{
    const LocalZone local(window.timeZone);
    CalendarRead read;
    if (!LooksLikeCalendar(text))
        return read;
    WorkBudget budget(kExpansionTime);
    const sys_days first { window.today };
    // Ten years is more than any look-ahead; a larger window would only
    // spend the budget.
    const sys_days last = first + days { std::clamp(window.days, -1, 3660) };
    // Two days either side cover the difference between any two zones.
    const TrimmedCalendar trimmed = TrimCalendarText(
        text, { first.time_since_epoch().count() - 2, last.time_since_epoch().count() + 2 });
    const std::unique_ptr<icalcomponent, ComponentDeleter> root(
        icalparser_parse_string(trimmed.text.c_str()));
    if (!root)
        return read;
    std::vector<icalcomponent*> calendars;
    if (icalcomponent_isa(root.get()) == ICAL_VCALENDAR_COMPONENT) {
        calendars.push_back(root.get());
    } else {
        for (icalcomponent* c = icalcomponent_get_first_component(root.get(), ICAL_VCALENDAR_COMPONENT); c;
             c = icalcomponent_get_next_component(root.get(), ICAL_VCALENDAR_COMPONENT))
            calendars.push_back(c);
    }
    if (calendars.empty())
        return read;

    read.readable = true;
    read.skippedEvents = trimmed.droppedEvents;
    read.eventCount = trimmed.farEvents;
    EventExpander expander(local, first, last, budget);
    for (icalcomponent* calendar : calendars)
        expander.Read(calendar, read);
    return read;
}

} // namespace calendar
