#pragma once

// The one place that talks to the operating system's sockets: name
// resolution, a connect with a time limit, line-buffered reading with a read
// time limit and a line length limit, and sending. Every failure is thrown as
// a MailError carrying the message the user sees.

#include "mail/Pop3Status.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace mail {

class TcpConnection {
public:
    using StatusHandler = std::function<void(Pop3Status)>;

    TcpConnection();
    ~TcpConnection();
    TcpConnection(const TcpConnection&) = delete;
    TcpConnection& operator=(const TcpConnection&) = delete;

    // Resolves host (reporting hsResolving unless it is a numeric address),
    // then connects to the first address that accepts within timeoutMs in
    // all (hsConnecting, then hsConnected). Throws on failure, leaving the
    // connection closed.
    void Open(const std::string& host, int port, int timeoutMs, const StatusHandler& onStatus);

    // True while the socket is open and has not been found closed or broken
    // by the other side.
    bool IsOpen() const noexcept { return fd_ >= 0 && !broken_; }
    bool HasSocket() const noexcept { return fd_ >= 0; }

    // Longest wait for incoming data or for room to send; 0 waits for ever.
    void SetReadTimeout(int ms) noexcept;
    // Longest line ReadLine accepts, line end not counted.
    void SetMaxLineLength(std::size_t length) noexcept { maxLineLength_ = length; }

    // Sends bytes as they are.
    void Write(std::string_view bytes);
    // The next line without its line end (LF, or CR LF).
    void ReadLine(std::string& line);

    // Closes the socket; never fails.
    void Close() noexcept;

private:
    void Fill();
    void ApplyTimeouts() noexcept;
    [[noreturn]] void FailWithErrno(int error);

    int fd_ = -1;
    bool broken_ = false;
    int readTimeoutMs_ = 60000;
    std::size_t maxLineLength_ = 16384;
    // Received bytes not yet handed out are buffer_[begin_, end_); scanned_
    // marks how far a line end has been looked for already.
    std::vector<char> buffer_;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    std::size_t scanned_ = 0;
};

// The message of a socket failure: "Socket エラー # <code>" CR LF <text>.
// System error numbers are given as the Windows Sockets numbers users know
// where one exists (connection refused is 10061 and so on).
std::string SocketErrorMessage(int errnoValue);

} // namespace mail
