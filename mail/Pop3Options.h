#pragma once

#include "mail/TcpConnection.h"

#include <cstddef>
#include <string>

namespace mail {

// How the POP3 connection is protected, in the numbering the settings file
// stores: no encryption, a plain connection upgraded with STLS before the
// login, or TLS from the first byte (POP3S).
enum class Pop3Security : int {
    None = 0,
    StartTls = 1,
    Tls = 2,
};

// How the client signs in: USER and PASS, or AUTH (SASL, RFC 5034) with
// PLAIN, or with an OAuth 2.0 access token as XOAUTH2 or OAUTHBEARER
// (RFC 7628). The numbering is the order of the window's choice.
enum class Pop3Auth : int {
    User = 0,
    Plain = 1,
    XOAuth2 = 2,
    OAuthBearer = 3,
};

// Which protocol the account is read with, in the numbering the settings
// file's choice stores.
enum class MailProtocol : int {
    Pop3 = 0,
    Imap = 1,
};

// Everything a POP3 client is told before it connects: the account, the
// security mode, and the time and size limits that keep a run bounded.
struct Pop3Options {
    static constexpr int kDefaultPort = 110;
    static constexpr int kDefaultTlsPort = 995;
    static constexpr int kDefaultConnectTimeoutMs = 20000;
    static constexpr int kDefaultReadTimeoutMs = 60000;
    // A message whose body is larger is not kept.
    static constexpr std::size_t kDefaultMaxBodyBytes = 1024 * 1024;
    // A reply that goes on past this many bytes, kept or not, ends the run:
    // no mail server sends a message this large, and a reply that never
    // ends must not keep the run going either.
    static constexpr std::size_t kDefaultMaxReplyBytes = 256 * 1024 * 1024;
    // A whole run, however the server paces it, ends after five minutes: a
    // server sending just above the minimum rate cannot hold the logon run.
    static constexpr int kDefaultRunTimeLimitMs = 5 * 60 * 1000;
    static constexpr int kDefaultTokenCommandTimeoutMs = 30000;

    std::string host {};
    int port = kDefaultPort;
    std::string user {};
    std::string password {};
    // With StartTls or Tls the login only ever goes out encrypted, to a
    // server whose certificate has been checked; there is no fallback.
    Pop3Security security = Pop3Security::None;
    // Extra trusted CA certificates (PEM file) beside the system's, for a
    // private mail server.
    std::string caFile {};
    // Also limits the TLS handshake.
    int connectTimeoutMs = kDefaultConnectTimeoutMs;
    // Longest wait for the server; 0 waits for ever.
    int readTimeoutMs = kDefaultReadTimeoutMs;
    // Fewer bytes than lowSpeedBytesPerSecond × lowSpeedWindowMs received in
    // any such window fail with the read time-out, so that a server cannot
    // hold a run by sending a byte now and then. A window of 0 turns it off.
    int lowSpeedBytesPerSecond = TcpConnection::kDefaultLowSpeedBytesPerSecond;
    int lowSpeedWindowMs = TcpConnection::kDefaultLowSpeedWindowMs;
    // A memo mail whose body is larger is logged as too large and skipped.
    std::size_t maxBodyBytes = kDefaultMaxBodyBytes;
    std::size_t maxReplyBytes = kDefaultMaxReplyBytes;
    // Counted from the client's first Connect; 0 turns it off.
    int runTimeLimitMs = kDefaultRunTimeLimitMs;
    // USER/PASS, or SASL. PLAIN and the token methods go out only over TLS
    // or to a server on this machine.
    Pop3Auth auth = Pop3Auth::User;
    // For XOAUTH2 and OAUTHBEARER: the command line whose first output line
    // is the access token, run when the client signs in.
    std::string tokenCommand {};
    int tokenCommandTimeoutMs = kDefaultTokenCommandTimeoutMs;
};

} // namespace mail
