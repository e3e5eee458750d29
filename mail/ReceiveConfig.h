#pragma once

#include "mail/Pop3Options.h"

#include <cstddef>
#include <string>
#include <vector>

namespace mail {

// What one reception run needs to know: the server and account as the client
// takes them, and the two subject keywords (Shift_JIS; an empty keyword
// matches nothing).
struct ReceiveConfig : Pop3Options {
    MailProtocol protocol = MailProtocol::Pop3;
    // The IMAP folder read, Shift_JIS as typed; "" is INBOX.
    std::string folder;
    std::string keyword1;
    std::string keyword2;
    // Read subjects and bodies as MIME mail (encoded-words in any common
    // charset, multipart, Base64, quoted-printable, HTML) instead of taking
    // the body as sent.
    bool decodeMime = false;

    // How long connecting goes on being tried before the run fails: 0 tries
    // once. The logon run waits so for a network that comes up late.
    int networkWaitMs = 0;

    // Remember the memo mails received (by the server's unique ids, UIDL):
    // a remembered mail is never added again, even when the memo no longer
    // holds its text.
    bool remember = false;
    // The ids remembered by earlier runs.
    std::vector<std::string> receivedIds;
    // What the ids may take stored, one a line: more are not remembered.
    std::size_t maxRememberedBytes = std::size_t { 1 } << 20;

    // The memo never grows past this (the largest memo the program reads
    // back): a mail that would take it further is not received.
    std::size_t maxMemoBytes = std::size_t { 16 } << 20;
};

} // namespace mail
