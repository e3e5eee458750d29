#include "calendar/CalendarSubscription.h"

#include "calendar/Texts.h"

namespace calendar {

SubscriptionResult LoadSubscription(
    const CalendarAddress& address, const FetchOptions& options, const EventWindow& window)
{
    SubscriptionResult result;
    Feed feed = FetchCalendar(address, options);
    result.origin = feed.origin;
    if (!feed.problem.empty())
        result.problems.push_back(std::move(feed.problem));
    if (feed.origin == FeedOrigin::None)
        return result;

    CalendarRead read = ReadCalendar(feed.text, window);
    const std::string named = texts::kCalendarOpen + address.name + texts::kCalendarClose;
    if (!read.readable) {
        result.problems.push_back(named + texts::kIs + texts::kNotReadable);
        return result;
    }
    result.occurrences = std::move(read.occurrences);
    result.eventCount = read.eventCount;
    if (read.skippedEvents > 0)
        result.problems.push_back(
            named + texts::kSkippedOpen + std::to_string(read.skippedEvents) + texts::kSkippedClose);
    if (read.cutShort)
        result.problems.push_back(named + texts::kCutShort);
    return result;
}

} // namespace calendar
