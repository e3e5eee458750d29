#pragma once

#include <stdexcept>
#include <string>

namespace mail {

// A reception step that failed. what() is the message shown to the user, in
// Shift_JIS bytes, exactly as the error box and the command line print it.
class MailError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace mail
