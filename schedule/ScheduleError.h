#pragma once

#include <stdexcept>

namespace schedule {

// Raised when the schedule file cannot be read or written; what() is the
// text the caller shows to the user.
class ScheduleError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace schedule
