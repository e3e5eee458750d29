#pragma once

// The user's calendar subscriptions (Settings::LbCalendars) as events for
// the wallpaper's upcoming lines: each address fetched or taken from its
// kept copy, read within the dated look-ahead, the problems said in words
// that name the subscription.

#include "app/Settings.h"
#include "calendar/CalendarFetch.h"
#include "calendar/Occurrence.h"

#include <chrono>
#include <string>
#include <vector>

namespace app {

struct CalendarEvents {
    // In no particular order across calendars (the merge orders them).
    std::vector<calendar::Occurrence> events;
    // Shift_JIS, one message each, naming the subscription by its number
    // in the list and its address's host; empty when all went well.
    std::vector<std::string> problems;
};

// The fetch options of the user's own run: copies kept under the user's
// cache folder (~/.cache/corkpane/calendars), mode as given.
calendar::FetchOptions UserCalendarFetch(calendar::FetchMode mode);

// The events of every subscription from today through the dated look-ahead
// (指定日表示日). A subscription that cannot be fetched uses its kept copy;
// one that cannot be used at all adds only its problem. Never throws for
// the network, the server, the files or the text.
CalendarEvents LoadCalendarEvents(
    const Settings& settings, std::chrono::year_month_day today, const calendar::FetchOptions& options);

// Why the address as typed cannot be a subscription (Shift_JIS), or empty
// when it can.
std::string CalendarAddressProblem(const std::string& address);

// The window's 確認 of one address as typed, read as a draw with these
// settings would: "カレンダー「…」の予定は n 件です。" with the problems
// after it, or the problem alone. Shift_JIS.
std::string CheckCalendar(const Settings& settings, const std::string& address,
    std::chrono::year_month_day today, const calendar::FetchOptions& options);

} // namespace app
