#pragma once

namespace schedule {

// How many days ahead each kind of entry is listed: weekly, monthly,
// yearly (anniversaries) and dated entries.
struct LookAhead {
    int weekly = 1;
    int monthly = 3;
    int yearly = 5;
    int dated = 10;

    bool operator==(const LookAhead&) const = default;
};

} // namespace schedule
