#pragma once

// What every mail client of the program does alike around its own protocol:
// the connection opened within the run's limits (with its status events),
// TLS from the first byte or after the protocol's STARTTLS, certificate
// checking, and the secret a SASL sign-in sends (the password, or the
// token from the user's helper, never in clear to another machine).

#include "mail/Pop3Options.h"
#include "mail/TcpConnection.h"
#include "mail/TlsContext.h"

#include <optional>
#include <string>
#include <string_view>

namespace mail {

class MailConnection {
public:
    MailConnection(const Pop3Options& options, TcpConnection::StatusHandler onStatus);

    // Connects to the account's server with the run's limits, TLS from the
    // first byte where the security mode asks for it. A user or password
    // holding a line break is refused before anything is sent (it would end
    // the protocol's line early); the trust settings are read first, so a
    // bad CA file is reported before the server is contacted. Throws
    // MailError (ConnectError when the server cannot be reached).
    void Open(std::size_t maxLineLength);
    // The same over a socket that is already connected (tests, fuzzing).
    void Adopt(int connectedSocket, std::size_t maxLineLength);
    // Encrypts the connection after the protocol's STARTTLS was answered yes.
    void StartTls();

    // The secret a SASL sign-in with auth sends: refused unless the
    // connection is encrypted or the server is this machine; the token from
    // the user's helper for the token methods (run only now, when the
    // network is known to be up: helpers usually ask the provider for a
    // fresh token), else the password.
    std::string SaslSecret(Pop3Auth auth);
    // The client's first response of the SASL method auth (the account's
    // by default), in Base64.
    std::string SaslResponse(std::optional<Pop3Auth> auth = std::nullopt);
    // What answers a challenge that comes after the response, the server's
    // error report, so that it gives its verdict: an empty line for
    // XOAUTH2, a lone ^A for OAUTHBEARER, "*" (cancel) otherwise.
    static std::string_view ErrorChallengeAnswer(Pop3Auth auth);
    // The run's time limit counted afresh from now (a connection held open
    // between runs).
    void RestartRunClock();

    TcpConnection& Tcp() noexcept { return tcp_; }
    const TcpConnection& Tcp() const noexcept { return tcp_; }
    const Pop3Options& Options() const noexcept { return options_; }

private:
    void Prepare(std::size_t maxLineLength);

    const Pop3Options& options_;
    TcpConnection::StatusHandler onStatus_;
    TcpConnection tcp_;
    std::optional<TlsContext> tls_;
    bool clockStarted_ = false;
};

} // namespace mail
