#pragma once

#include "platform/UserError.h"

namespace calendar {

// A calendar subscription that cannot be used as given (an address the
// program refuses, an unknown time zone). what() is the Shift_JIS message.
class CalendarError : public platform::UserError {
public:
    using UserError::UserError;
};

} // namespace calendar
