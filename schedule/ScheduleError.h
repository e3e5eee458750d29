#pragma once

#include "platform/UserError.h"

namespace schedule {

// The schedule's own failure: a save refused because the file could not be
// read. what() is the text the caller shows to the user. Failures of the
// file unit pass up as platform::FileIoError.
class ScheduleError : public platform::UserError {
public:
    using UserError::UserError;
};

} // namespace schedule
