#pragma once

// Mail reception as the window and corkpane-tool run it: the run's
// configuration from the stored settings, and one run with the memory of
// received mail.

#include "app/ReceivedMemory.h"
#include "app/Settings.h"
#include "mail/ReceiveConfig.h"
#include "mail/ReceiveWindow.h"

#include <filesystem>

namespace app {

// The reception run's account, sign-in, keywords and memory switch from the
// stored controls, with the memo's size limit. A port box that does not hold
// a port number (1–65535) gives the POP3 port 110.
mail::ReceiveConfig ToReceiveConfig(const Settings& s);

// The port once the security mode becomes security: the usual port of one
// mode (110 for a plain or STARTTLS connection, 995 for SSL/TLS) becomes
// the other's; a port of the user's own stays.
int PortForSecurity(int port, mail::Pop3Security security);

// One reception run into window (its log and memo) for the account of
// config, whose files lie in folder: the memory of received mail is read
// into config first, and what the run remembered is kept in memory, also
// when the run fails, whose error then goes on to the caller. memory.Save()
// writes it once the memo is saved.
void ReceiveMail(const std::filesystem::path& folder, mail::ReceiveConfig config, mail::ReceiveWindow& window,
    ReceivedMemory& memory);

} // namespace app
