#pragma once

// One subscription from address to occurrences: what the draw, the
// window's 確認 and the command line call.

#include "calendar/CalendarAddress.h"
#include "calendar/CalendarFetch.h"
#include "calendar/CalendarReader.h"
#include "calendar/Occurrence.h"

#include <cstddef>
#include <string>
#include <vector>

namespace calendar {

struct SubscriptionResult {
    // In ComesBefore order; from the cached copy when the fetch failed.
    std::vector<Occurrence> occurrences;
    // The events the calendar holds (for 確認: "n 件の予定").
    std::size_t eventCount = 0;
    FeedOrigin origin = FeedOrigin::None;
    // Messages naming the subscription (Shift_JIS), in the order they
    // arose: the fetch's, then the reading's. Empty when all went well.
    std::vector<std::string> problems;
};

// Fetches (or, with FetchMode::CacheOnly, takes the cached copy of) the
// calendar and reads its occurrences in the window. Never throws for the
// network, the server, the files or the text; an unknown window time zone
// throws CalendarError.
SubscriptionResult LoadSubscription(
    const CalendarAddress& address, const FetchOptions& options, const EventWindow& window);

} // namespace calendar
