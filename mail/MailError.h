#pragma once

#include "platform/UserError.h"

namespace mail {

// A reception step that failed. what() is the message shown to the user, in
// Shift_JIS bytes, exactly as the error box and the command line print it.
class MailError : public platform::UserError {
public:
    using UserError::UserError;
};

} // namespace mail
