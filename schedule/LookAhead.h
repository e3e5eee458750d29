#pragma once

namespace schedule {

// How many days ahead the upcoming list looks for each kind of entry:
// weekly, monthly, yearly, and month-day or full dates. A window of N days
// admits today (0) up to today + N; a negative one admits nothing. With
// holidays, the national holidays within the dated window are listed too.
struct LookAhead {
    int weekly = 0;
    int monthly = 0;
    int yearly = 0;
    int dated = 0;
    bool holidays = false;

    bool operator==(const LookAhead&) const = default;
};

} // namespace schedule
