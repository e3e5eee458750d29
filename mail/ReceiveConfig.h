#pragma once

#include "mail/Pop3Options.h"

#include <string>

namespace mail {

// What one reception run needs to know: the server and account as the client
// takes them, and the two subject keywords (Shift_JIS; an empty keyword
// matches nothing).
struct ReceiveConfig : Pop3Options {
    std::string keyword1;
    std::string keyword2;
    // Read subjects and bodies as MIME mail (encoded-words in any common
    // charset, multipart, Base64, quoted-printable, HTML) instead of taking
    // the body as sent.
    bool decodeMime = false;
};

} // namespace mail
