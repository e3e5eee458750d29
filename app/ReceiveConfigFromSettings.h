#pragma once

#include "app/Settings.h"
#include "mail/ReceiveConfig.h"

namespace app {

// The reception run's account, sign-in, keywords and memory switch from the
// stored controls, with the memo's size limit. A port box that does not hold
// a port number (1–65535) gives the POP3 port 110.
mail::ReceiveConfig ToReceiveConfig(const Settings& s);

} // namespace app
