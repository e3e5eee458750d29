#include "app/CalendarEvents.h"

#include "app/DrawKabegami.h"
#include "app/Texts.h"
#include "calendar/CalendarAddress.h"
#include "calendar/CalendarError.h"
#include "calendar/CalendarSubscription.h"
#include "platform/UserFolders.h"

namespace app {
namespace {

calendar::EventWindow WindowFrom(const Settings& settings, std::chrono::year_month_day today)
{
    return { today, LookAheadFrom(settings).dated, std::string() };
}

} // namespace

calendar::FetchOptions UserCalendarFetch(calendar::FetchMode mode)
{
    calendar::FetchOptions options;
    options.mode = mode;
    options.cacheFolder = platform::UserFolders::OfProcess().OwnCache();
    if (!options.cacheFolder.empty())
        options.cacheFolder /= "calendars";
    return options;
}

CalendarEvents LoadCalendarEvents(
    const Settings& settings, std::chrono::year_month_day today, const calendar::FetchOptions& options)
{
    CalendarEvents result;
    const calendar::EventWindow window = WindowFrom(settings, today);
    int number = 0;
    for (const std::string& typed : settings.LbCalendars) {
        ++number;
        try {
            calendar::CalendarAddress address = calendar::ReadCalendarAddress(typed);
            // Two subscriptions on one server differ by their number.
            address.name = std::to_string(number) + ": " + address.name;
            calendar::SubscriptionResult loaded = calendar::LoadSubscription(address, options, window);
            result.events.insert(result.events.end(), loaded.occurrences.begin(), loaded.occurrences.end());
            result.problems.insert(result.problems.end(), loaded.problems.begin(), loaded.problems.end());
        } catch (const calendar::CalendarError& refused) {
            result.problems.emplace_back(refused.what());
        }
    }
    return result;
}

std::string CalendarAddressProblem(const std::string& typed)
{
    try {
        calendar::ReadCalendarAddress(typed);
        return {};
    } catch (const calendar::CalendarError& refused) {
        return refused.what();
    }
}

std::string CheckCalendar(const Settings& settings, const std::string& typed,
    std::chrono::year_month_day today, const calendar::FetchOptions& options)
{
    try {
        const calendar::CalendarAddress address = calendar::ReadCalendarAddress(typed);
        const calendar::SubscriptionResult loaded
            = calendar::LoadSubscription(address, options, WindowFrom(settings, today));
        std::string said;
        if (loaded.origin != calendar::FeedOrigin::None)
            said = texts::CalendarHolds(address.name, std::to_string(loaded.eventCount));
        for (const std::string& problem : loaded.problems)
            said += (said.empty() ? "" : "\r\n") + problem;
        return said;
    } catch (const calendar::CalendarError& refused) {
        return refused.what();
    }
}

} // namespace app
