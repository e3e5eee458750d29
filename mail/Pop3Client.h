#pragma once

// A POP3 client (plain USER/PASS login) with just the commands reception
// needs: STAT, TOP n 0, RETR n and QUIT, in clear, over TLS from the start
// (POP3S) or upgraded with STLS before the login. Requests are single lines ended by
// CR LF; a reply whose first word is +OK succeeds, -ERR fails with the
// server's text, anything else fails as an unrecognised reply. Multi-line
// replies end at a line holding one dot; a line starting with two dots loses
// the first.

#include "mail/Pop3Security.h"
#include "mail/Pop3Status.h"
#include "mail/TcpConnection.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace mail {

class Message;

class Pop3Client {
public:
    using StatusHandler = std::function<void(Pop3Status)>;

    static constexpr int kDefaultPort = 110;
    static constexpr int kDefaultTlsPort = 995;
    static constexpr int kDefaultConnectTimeoutMs = 20000;
    static constexpr int kDefaultReadTimeoutMs = 60000;
    static constexpr std::size_t kMaxLineLength = 16384;

    std::string Host;
    int Port = kDefaultPort;
    std::string Username;
    std::string Password;
    // With StartTls or Tls the login only ever goes out encrypted, to a
    // server whose certificate has been checked; there is no fallback.
    Pop3Security Security = Pop3Security::None;
    // Extra trusted CA certificates (PEM file) beside the system's.
    std::string CaFile;
    // Also limits the TLS handshake.
    int ConnectTimeoutMs = kDefaultConnectTimeoutMs;
    // Longest wait for the server; 0 waits for ever.
    int ReadTimeoutMs = kDefaultReadTimeoutMs;
    // Told of resolving, connecting, connected, disconnecting, disconnected.
    StatusHandler OnStatus;

    // Connects, reads the greeting, secures the connection as Security asks
    // and logs in. Throws MailError.
    void Connect();
    // The message count from STAT.
    int CheckMessages();
    // The header of message n (TOP n 0) into msg.
    void RetrieveHeader(int n, Message& msg);
    // The whole message n (RETR n) into msg: true when the server sent it,
    // false when it refused with -ERR. Other faults throw.
    bool Retrieve(int n, Message& msg);
    // Sends QUIT without waiting for the reply and closes the socket. The
    // status events are only raised when the connection was still open.
    // Never throws.
    void Disconnect() noexcept;

    bool Connected() const noexcept { return connection_.IsOpen(); }

private:
    enum class Reply { Ok, Err };
    // Sends command (when not empty) and reads the status line; -ERR throws
    // unless errIsAnswer is set. text receives what follows the status word.
    Reply Exchange(std::string_view command, std::string& text, bool errIsAnswer = false);
    void ReadMultiLine();
    void Status(Pop3Status status);

    TcpConnection connection_;
    std::string line_;
    std::vector<std::string> lines_;
};

} // namespace mail
