#pragma once

#include "mail/Pop3Client.h"

#include <string>

namespace mail {

// What one reception run needs to know: the account and the two subject
// keywords (Shift_JIS; an empty keyword matches nothing).
struct ReceiveConfig {
    std::string host;
    int port = Pop3Client::kDefaultPort;
    std::string user;
    std::string password;
    std::string keyword1;
    std::string keyword2;
    int connectTimeoutMs = Pop3Client::kDefaultConnectTimeoutMs;
    // Longest wait for the server before the run fails; 0 waits for ever.
    int readTimeoutMs = Pop3Client::kDefaultReadTimeoutMs;
    Pop3Security security = Pop3Security::None;
    // Extra trusted CA certificates (PEM), for a private mail server.
    std::string caFile;
    // Read subjects and bodies as MIME mail (encoded-words in any common
    // charset, multipart, Base64, quoted-printable, HTML) instead of taking
    // the body as sent.
    bool decodeMime = false;
    // A memo mail whose body is larger is logged as too large and skipped.
    std::size_t maxBodyBytes = Pop3Client::kDefaultMaxBodyBytes;
    // Fewer bytes than this rate over lowSpeedWindowMs fail the run with the
    // read time-out (0: no such limit).
    int lowSpeedBytesPerSecond = Pop3Client::kDefaultLowSpeedBytesPerSecond;
    int lowSpeedWindowMs = Pop3Client::kDefaultLowSpeedWindowMs;
};

} // namespace mail
