#pragma once

#include "platform/UserError.h"

namespace schedule {

// Raised when the schedule file cannot be read or written; what() is the
// text the caller shows to the user.
class ScheduleError : public platform::UserError {
public:
    using UserError::UserError;
};

} // namespace schedule
