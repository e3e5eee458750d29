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

// The reception run's account, protocol, sign-in, keywords and memory
// switch from the stored controls, with the memo's size limit. A port box
// that does not hold a port number (1–65535) gives the protocol's usual
// port (POP3 110 whatever the security, as always; IMAP 143, or 993 with
// SSL/TLS).
mail::ReceiveConfig ToReceiveConfig(const Settings& s);

// The usual port of a protocol with a security mode: POP3 110, or 995 with
// SSL/TLS; IMAP 143, or 993 with SSL/TLS.
int UsualPort(mail::MailProtocol protocol, mail::Pop3Security security);
// The port once the protocol or the security mode changes: a usual port
// (of either protocol and mode) becomes the new choice's; a port of the
// user's own stays.
int PortAfterChoice(int port, mail::MailProtocol protocol, mail::Pop3Security security);

// One reception run into window (its log and memo) for the account of
// config, whose files lie in folder, by POP3 or IMAP: the memory of
// received mail is read first, and what the run remembered is kept in
// memory, also when the run fails, whose error then goes on to the caller.
// memory.Save() writes it once the memo is saved.
void ReceiveMail(const std::filesystem::path& folder, mail::ReceiveConfig config, mail::ReceiveWindow& window,
    ReceivedMemory& memory);

} // namespace app
