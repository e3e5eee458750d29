#pragma once

#include <chrono>
#include <functional>

namespace app {

// Where "today" comes from. The window uses the machine's local date; tests
// and the command line fix the date so that results do not depend on when
// they run.
using Clock = std::function<std::chrono::year_month_day()>;

// The local date and time now.
std::chrono::local_seconds LocalNow();

// Today's date in the local time zone, read at every call.
Clock LocalDateClock();

// Always the given date.
Clock FixedDateClock(std::chrono::year_month_day today);

} // namespace app
