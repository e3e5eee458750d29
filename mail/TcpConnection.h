#pragma once

// The one place that talks to the operating system's sockets: name
// resolution, a connect with a time limit, line-buffered reading with a read
// time limit and a line length limit, and sending, in clear or, once StartTls
// has succeeded, through TLS. Every failure is thrown as a MailError carrying
// the message the user sees.

#include "mail/Pop3Status.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct ssl_st;

namespace mail {

class TlsContext;

class TcpConnection {
public:
    using StatusHandler = std::function<void(Pop3Status)>;

    TcpConnection();
    ~TcpConnection();
    TcpConnection(const TcpConnection&) = delete;
    TcpConnection& operator=(const TcpConnection&) = delete;

    static constexpr int kDefaultLowSpeedBytesPerSecond = 4;
    static constexpr int kDefaultLowSpeedWindowMs = 60000;

    // Resolves host (reporting hsResolving unless it is a numeric address),
    // then connects to the first address that accepts within timeoutMs in
    // all (hsConnecting, then hsConnected). Throws on failure, leaving the
    // connection closed: ConnectError when the server could not be reached
    // (name not found, refused, unreachable, no answer in time). Every
    // message of a failure here ends with the server and port, " (host:port)".
    void Open(const std::string& host, int port, int timeoutMs, const StatusHandler& onStatus);

    // Takes over a socket that is already connected, in place of Open.
    void Adopt(int connectedSocket);

    // True while the socket is open and has not been found closed or broken
    // by the other side.
    bool IsOpen() const noexcept { return fd_ >= 0 && !broken_; }
    bool HasSocket() const noexcept { return fd_ >= 0; }

    // Longest wait for incoming data or for room to send; 0 waits for ever.
    void SetReadTimeout(int ms) noexcept;
    // Fewer than bytesPerSecond × windowMs / 1000 bytes received within any
    // windowMs fails the next read with the read time-out, however the bytes
    // are spread: a per-read limit alone lets a server that sends a byte
    // just within it hold the connection for ever. windowMs 0 turns it off.
    void SetLowSpeedLimit(int bytesPerSecond, int windowMs) noexcept;
    // Longest line ReadLine accepts, line end not counted.
    void SetMaxLineLength(std::size_t length) noexcept { maxLineLength_ = length; }
    // From now on no read or wait goes on past limitMs from this moment: a
    // bound on the whole run, whatever the server's pace. 0 turns it off.
    void StartRunClock(int limitMs) noexcept;

    // Sends bytes as they are.
    void Write(std::string_view bytes);
    // The next line without its line end (LF, or CR LF).
    void ReadLine(std::string& line);
    // The same, except that a line over the length limit is read to its end
    // and dropped instead of failing: false then, with line empty. Nothing
    // of a dropped line is held. bytes receives what the line took, line end
    // included. A dropped line that runs on past skipLimit bytes fails with
    // the reply-too-large error.
    bool ReadLineOrSkip(std::string& line, std::size_t& bytes, std::size_t skipLimit);

    // What ended WaitForInput.
    enum class Input { Ready, Woken, TimedOut };
    // Waits, reading nothing, until bytes have come (or the connection has
    // closed or failed, which the next read reports), wakeFd (-1: none) is
    // readable, or timeoutMs has passed (negative: no limit). Neither the
    // read time limit, the low-speed window nor the run's time applies: this
    // is the wait of a connection held open for the server's news.
    Input WaitForInput(int timeoutMs, int wakeFd);

    // Whether the other end is this machine (a loopback address or a local
    // socket).
    bool PeerIsLocal() const noexcept;

    // Turns the open connection into a TLS one: handshake within timeoutMs
    // (0 or less: no limit), the certificate checked against context's trust
    // and against host (a name or a numeric address). Bytes the server sent
    // before the handshake, which could only have come from a third party,
    // fail it. On failure the socket is closed at once, so that nothing more
    // goes out, and the reason is thrown.
    void StartTls(const TlsContext& context, const std::string& host, int timeoutMs);
    bool IsSecure() const noexcept { return ssl_ != nullptr; }

    // Closes the socket (after a TLS close notice when it can be sent at
    // once); never fails.
    void Close() noexcept;

    // What the TLS layer needs of the socket: its descriptor, and the system
    // error of the last failed call.
    struct SocketState {
        int fd = -1;
        int error = 0;
    };

private:
    // Where the next line ends in what has arrived: stop just before its
    // CR LF (or LF), next just after it.
    struct LineEnd {
        std::size_t stop;
        std::size_t next;
    };
    // The next line's end, or nothing while it has not all arrived (what
    // has been looked at is not looked at again).
    std::optional<LineEnd> FindLineEnd();
    // Bytes of the line still arriving, a final CR not counted (it may be
    // the CR of its CR LF).
    std::size_t PendingLineBytes() const;
    void Fill();
    void FillSecure();
    void WriteSecure(std::string_view bytes);
    // Repeats one TLS read or write (call returns its result code) until it
    // succeeds, waiting for the socket as the TLS layer asks, within the read
    // time limit; throws on a timeout or failure.
    template <typename Call> void RetrySecure(Call&& call);
    // Waits for the socket to become ready for what the TLS layer asked
    // (SSL_ERROR_WANT_READ or _WANT_WRITE) until deadlineMs on the steady
    // clock (negative: no limit). False when the time is up.
    bool WaitForTls(int sslError, long long deadlineMs);
    // Handles an SSL_read/SSL_write outcome that is neither data nor a wait.
    [[noreturn]] void FailSecure(int sslError);
    void ApplyTimeouts() noexcept;
    // Waits until the socket is readable, within the read time limit and
    // the low-speed window.
    void WaitReadable();
    // Counts bytes just received and, once a window is over, fails when it
    // brought too few or starts the next.
    void CountReceived(std::size_t bytes);
    void StartSpeedWindow() noexcept;
    // The steady-clock time at which the current window ends (-1: never).
    long long SpeedWindowEndMs() const noexcept;
    // The earliest of until and the run's end (-1: neither); fails once the
    // run's time is up.
    long long WithinRun(long long until) const;
    [[noreturn]] void FailWithErrno(int error);

    int fd_ = -1;
    bool broken_ = false;
    ssl_st* ssl_ = nullptr;
    SocketState socketState_;
    int readTimeoutMs_ = 60000;
    int lowSpeedBytesPerSecond_ = kDefaultLowSpeedBytesPerSecond;
    int lowSpeedWindowMs_ = kDefaultLowSpeedWindowMs;
    long long speedWindowStartMs_ = 0;
    // When the run's time is up on the steady clock (-1: never), and its
    // length for the message.
    long long runEndMs_ = -1;
    int runLimitMs_ = 0;
    std::size_t speedWindowBytes_ = 0;
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
