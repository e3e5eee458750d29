#pragma once

// A settings or memo file that exists but cannot be read, or that cannot be
// written. what() is the Shift_JIS message the window shows in its error
// box (the file unit's "cannot open" or "cannot create" message).

#include "platform/UserError.h"

namespace app {

class FileError : public platform::UserError {
public:
    using UserError::UserError;
};

} // namespace app
