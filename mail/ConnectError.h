#pragma once

#include "mail/MailError.h"

namespace mail {

// The server could not be reached at all: its name was not found, the
// connection was refused or unreachable, or no answer came in time. Nothing
// was exchanged, so trying again later may succeed (the network may not be
// up yet).
class ConnectError : public MailError {
public:
    using MailError::MailError;
};

} // namespace mail
