#include "mail/TcpConnection.h"

#include "mail/ConnectError.h"
#include "mail/MailError.h"
#include "mail/Texts.h"
#include "mail/TlsContext.h"
#include "platform/SystemErrorText.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <openssl/bio.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509_vfy.h>
#include <openssl/x509v3.h>
#include <optional>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

namespace mail {

namespace {

constexpr std::size_t kReadChunk = 64 * 1024;
constexpr int kHostNotFoundCode = 11001;

using Clock = std::chrono::steady_clock;

int WindowsSocketsCode(int error)
{
    switch (error) {
    case EINTR:
        return 10004;
    case EACCES:
        return 10013;
    case EINVAL:
        return 10022;
    case EMFILE:
        return 10024;
    case EAFNOSUPPORT:
        return 10047;
    case EADDRINUSE:
        return 10048;
    case EADDRNOTAVAIL:
        return 10049;
    case ENETDOWN:
        return 10050;
    case ENETUNREACH:
        return 10051;
    case ENETRESET:
        return 10052;
    case ECONNABORTED:
        return 10053;
    case ECONNRESET:
        return 10054;
    case ENOBUFS:
        return 10055;
    case ENOTCONN:
        return 10057;
    case ETIMEDOUT:
        return 10060;
    case ECONNREFUSED:
        return 10061;
    case EHOSTDOWN:
        return 10064;
    case EHOSTUNREACH:
        return 10065;
    default:
        return error;
    }
}

std::string SocketMessage(int code, const std::string& text)
{
    return std::string(texts::kSocketError) + std::to_string(code) + "\r\n" + text;
}

bool IsNumericAddress(const std::string& host)
{
    unsigned char address[sizeof(in6_addr)];
    return inet_pton(AF_INET, host.c_str(), address) == 1 || inet_pton(AF_INET6, host.c_str(), address) == 1;
}

int RemainingMs(Clock::time_point deadline)
{
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

long long NowMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now().time_since_epoch()).count();
}

// The TLS layer reads and writes through these instead of the socket calls
// OpenSSL would make itself: send with MSG_NOSIGNAL, so that a server that
// has gone away gives an error instead of killing the program with SIGPIPE,
// and the system error kept for the message.
int BioWrite(BIO* bio, const char* data, int length)
{
    auto* state = static_cast<TcpConnection::SocketState*>(BIO_get_data(bio));
    BIO_clear_retry_flags(bio);
    ssize_t sent = ::send(state->fd, data, static_cast<std::size_t>(length), MSG_NOSIGNAL);
    if (sent >= 0)
        return static_cast<int>(sent);
    if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)
        BIO_set_retry_write(bio);
    else
        state->error = errno;
    return -1;
}

int BioRead(BIO* bio, char* data, int length)
{
    auto* state = static_cast<TcpConnection::SocketState*>(BIO_get_data(bio));
    BIO_clear_retry_flags(bio);
    ssize_t got = ::recv(state->fd, data, static_cast<std::size_t>(length), 0);
    if (got >= 0)
        return static_cast<int>(got);
    if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)
        BIO_set_retry_read(bio);
    else
        state->error = errno;
    return -1;
}

long BioCtrl(BIO*, int command, long, void*)
{
    return command == BIO_CTRL_FLUSH ? 1 : 0;
}

BIO_METHOD* SocketBioMethod()
{
    static BIO_METHOD* const method = [] {
        BIO_METHOD* m = BIO_meth_new(BIO_get_new_index() | BIO_TYPE_SOURCE_SINK, "corkpane socket");
        if (m != nullptr) {
            BIO_meth_set_write(m, BioWrite);
            BIO_meth_set_read(m, BioRead);
            BIO_meth_set_ctrl(m, BioCtrl);
        }
        return m;
    }();
    return method;
}

// The library's own words for the last TLS failure, for the second line of
// the message.
std::string TlsErrorDetail()
{
    const unsigned long code = ERR_peek_last_error();
    const char* reason = code != 0 ? ERR_reason_error_string(code) : nullptr;
    ERR_clear_error();
    return reason != nullptr ? reason : "";
}

std::string TlsFailureMessage(const std::string& detail)
{
    return detail.empty() ? std::string(texts::kTlsFailed) : texts::kTlsFailed + std::string("\r\n") + detail;
}

// The server as the messages name it: "host:port", an IPv6 address in
// brackets.
std::string ServerName(const std::string& host, int port)
{
    const bool ipv6 = host.find(':') != std::string::npos;
    return (ipv6 ? "[" + host + "]" : host) + ":" + std::to_string(port);
}

// "受信の制限時間 (5 分) を超えました。", in minutes where the limit is
// whole minutes.
std::string RunTimeLimitMessage(int limitMs)
{
    if (limitMs % 60000 == 0)
        return texts::kRunTimeLimit + std::to_string(limitMs / 60000) + texts::kRunTimeLimitMinutes;
    return texts::kRunTimeLimit + std::to_string((limitMs + 999) / 1000) + texts::kRunTimeLimitSeconds;
}

// Owns the result of getaddrinfo.
struct AddressList {
    addrinfo* head = nullptr;
    ~AddressList()
    {
        if (head)
            freeaddrinfo(head);
    }
};

} // namespace

std::string SocketErrorMessage(int errnoValue)
{
    return SocketMessage(WindowsSocketsCode(errnoValue), platform::SystemErrorText(errnoValue));
}

TcpConnection::TcpConnection() = default;

TcpConnection::~TcpConnection()
{
    Close();
}

void TcpConnection::Open(const std::string& host, int port, int timeoutMs, const StatusHandler& onStatus)
{
    Close();
    broken_ = false;
    begin_ = end_ = scanned_ = 0;

    // Every failure names the server, so that a wrong name or port shows.
    const std::string where = " (" + ServerName(host, port) + ")";
    auto unreachable = [&where](const std::string& message) { throw ConnectError(message + where); };

    const bool numeric = IsNumericAddress(host);
    if (!numeric && onStatus)
        onStatus(hsResolving);
    if (port < 1 || port > 65535)
        throw MailError(SocketErrorMessage(EINVAL) + where);

    addrinfo hints {};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    hints.ai_flags = AI_NUMERICSERV | (numeric ? AI_NUMERICHOST : 0);
    AddressList addresses;
    const std::string service = std::to_string(port);
    // Any failure to turn the name into an address reads as "host not found".
    if (host.empty() || getaddrinfo(host.c_str(), service.c_str(), &hints, &addresses.head) != 0
        || addresses.head == nullptr)
        unreachable(SocketMessage(kHostNotFoundCode, texts::kHostNotFound));

    if (onStatus)
        onStatus(hsConnecting);
    // A limit of 0 or less waits as long as the system lets a connect wait.
    const auto deadline
        = Clock::now() + std::chrono::milliseconds(timeoutMs > 0 ? timeoutMs : 24 * 3600 * 1000);
    int lastError = ECONNREFUSED;
    for (addrinfo* a = addresses.head; a != nullptr; a = a->ai_next) {
        int fd = ::socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
        if (fd < 0) {
            lastError = errno;
            continue;
        }
        int error = 0;
        if (::connect(fd, a->ai_addr, a->ai_addrlen) != 0) {
            error = errno;
            if (error == EINPROGRESS || error == EINTR) {
                pollfd p { fd, POLLOUT, 0 };
                int ready;
                do {
                    ready = ::poll(&p, 1, RemainingMs(deadline));
                } while (ready < 0 && errno == EINTR);
                if (ready == 0) {
                    ::close(fd);
                    unreachable(texts::kConnectTimeout);
                }
                socklen_t length = sizeof error;
                if (ready < 0)
                    error = errno;
                else if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0)
                    error = errno;
            }
        }
        if (error == 0) {
            // From here on the socket blocks, with time limits on each wait:
            // one system call per read or write instead of a poll first.
            ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
            int one = 1;
            ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
            fd_ = fd;
            ApplyTimeouts();
            StartSpeedWindow();
            if (onStatus)
                onStatus(hsConnected);
            return;
        }
        ::close(fd);
        lastError = error;
        if (RemainingMs(deadline) == 0)
            unreachable(texts::kConnectTimeout);
    }
    unreachable(SocketErrorMessage(lastError));
}

void TcpConnection::Adopt(int connectedSocket)
{
    Close();
    broken_ = false;
    begin_ = end_ = scanned_ = 0;
    fd_ = connectedSocket;
    ApplyTimeouts();
    StartSpeedWindow();
}

void TcpConnection::Close() noexcept
{
    if (ssl_ != nullptr) {
        // The close notice goes out only on a sound connection, and without
        // waiting for the server's; a failed send of it changes nothing.
        if (!broken_ && fd_ >= 0)
            SSL_shutdown(ssl_);
        SSL_free(ssl_);
        ssl_ = nullptr;
        ERR_clear_error();
    }
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

void TcpConnection::StartTls(const TlsContext& context, const std::string& host, int timeoutMs)
{
    if (!IsOpen())
        throw MailError(texts::kConnectionClosed);
    // Whatever goes wrong, the connection is dropped before anything else is
    // sent: no QUIT in clear after a refused handshake, no login to a server
    // that could not prove who it is.
    auto fail = [this](const std::string& message) {
        broken_ = true;
        Close();
        throw MailError(message);
    };
    if (begin_ != end_)
        fail(TlsFailureMessage(texts::kDataBeforeHandshake));
    begin_ = end_ = scanned_ = 0;

    BIO_METHOD* method = SocketBioMethod();
    ssl_ = SSL_new(context.get());
    BIO* bio = method != nullptr ? BIO_new(method) : nullptr;
    if (ssl_ == nullptr || bio == nullptr) {
        BIO_free(bio);
        fail(TlsFailureMessage(TlsErrorDetail()));
    }
    socketState_ = { fd_, 0 };
    BIO_set_data(bio, &socketState_);
    BIO_set_init(bio, 1);
    SSL_set_bio(ssl_, bio, bio);

    // A numeric address is checked against the certificate's IP entries and
    // sent no server name; a name is both sent (SNI) and checked.
    SSL_set_hostflags(ssl_, X509_CHECK_FLAG_NO_PARTIAL_WILDCARDS);
    const bool named = !IsNumericAddress(host);
    const int checked = named ? SSL_set1_host(ssl_, host.c_str())
                              : X509_VERIFY_PARAM_set1_ip_asc(SSL_get0_param(ssl_), host.c_str());
    if (checked != 1 || (named && SSL_set_tlsext_host_name(ssl_, host.c_str()) != 1))
        fail(CertificateErrorMessage(X509_V_ERR_HOSTNAME_MISMATCH, host));

    // Non-blocking from here on: every wait goes through poll with the time
    // left, so the limits hold however the TLS records are cut.
    ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) | O_NONBLOCK);
    const long long deadline = WithinRun(timeoutMs > 0 ? NowMs() + timeoutMs : -1);
    for (;;) {
        ERR_clear_error();
        const int rc = SSL_connect(ssl_);
        if (rc == 1)
            break;
        const int error = SSL_get_error(ssl_, rc);
        if (error == SSL_ERROR_WANT_READ || error == SSL_ERROR_WANT_WRITE) {
            if (!WaitForTls(error, deadline)) {
                if (runEndMs_ >= 0 && NowMs() >= runEndMs_)
                    fail(RunTimeLimitMessage(runLimitMs_));
                fail(texts::kConnectTimeout);
            }
            continue;
        }
        const long verified = SSL_get_verify_result(ssl_);
        if (verified != X509_V_OK)
            fail(CertificateErrorMessage(verified, host));
        if (error == SSL_ERROR_SYSCALL || error == SSL_ERROR_ZERO_RETURN) {
            const int system = socketState_.error;
            fail(TlsFailureMessage(system != 0 ? SocketErrorMessage(system) : texts::kConnectionClosed));
        }
        fail(TlsFailureMessage(TlsErrorDetail()));
    }
    // Peer verification is on, so a server without a certificate cannot get
    // this far; checked all the same, since the login depends on it.
    if (SSL_get0_peer_certificate(ssl_) == nullptr || SSL_get_verify_result(ssl_) != X509_V_OK)
        fail(texts::kCertificatePrefix + std::string(texts::kCertMissing) + texts::kCertificateSuffix);
    StartSpeedWindow();
}

bool TcpConnection::WaitForTls(int sslError, long long deadlineMs)
{
    pollfd p { fd_, static_cast<short>(sslError == SSL_ERROR_WANT_WRITE ? POLLOUT : POLLIN), 0 };
    for (;;) {
        long long left = -1;
        if (deadlineMs >= 0) {
            left = deadlineMs - NowMs();
            if (left <= 0)
                return false;
        }
        const int ready = ::poll(&p, 1, left < 0 ? -1 : static_cast<int>(std::min(left, 3600LL * 1000)));
        if (ready > 0)
            return true; // readable, writable or failed: the next TLS call tells
        if (ready < 0 && errno != EINTR)
            return true;
    }
}

void TcpConnection::FailSecure(int sslError)
{
    broken_ = true;
    if (sslError == SSL_ERROR_SYSCALL && socketState_.error != 0)
        FailWithErrno(socketState_.error);
    if (sslError == SSL_ERROR_SSL)
        throw MailError(TlsFailureMessage(TlsErrorDetail()));
    ERR_clear_error();
    throw MailError(texts::kConnectionClosed);
}

template <typename Call> void TcpConnection::RetrySecure(Call&& call)
{
    const long long deadline = readTimeoutMs_ > 0 ? NowMs() + readTimeoutMs_ : -1;
    for (;;) {
        ERR_clear_error();
        const int rc = call();
        if (rc == 1)
            return;
        const int error = SSL_get_error(ssl_, rc);
        if (error == SSL_ERROR_WANT_READ || error == SSL_ERROR_WANT_WRITE) {
            long long until = deadline;
            const long long windowEnd = SpeedWindowEndMs();
            if (windowEnd >= 0 && (until < 0 || windowEnd < until))
                until = windowEnd;
            if (!WaitForTls(error, WithinRun(until))) {
                CountReceived(0);
                if (deadline >= 0 && NowMs() >= deadline)
                    throw MailError(texts::kReadTimeout);
            }
            continue;
        }
        FailSecure(error);
    }
}

void TcpConnection::WriteSecure(std::string_view bytes)
{
    while (!bytes.empty()) {
        std::size_t written = 0;
        RetrySecure([&] { return SSL_write_ex(ssl_, bytes.data(), bytes.size(), &written); });
        bytes.remove_prefix(written);
    }
}

void TcpConnection::FillSecure()
{
    std::size_t got = 0;
    RetrySecure([&] { return SSL_read_ex(ssl_, buffer_.data() + end_, buffer_.size() - end_, &got); });
    end_ += got;
    CountReceived(got);
}

void TcpConnection::FailWithErrno(int error)
{
    broken_ = true;
    if (error == EPIPE)
        throw MailError(texts::kConnectionClosed);
    throw MailError(SocketErrorMessage(error));
}

void TcpConnection::ApplyTimeouts() noexcept
{
    if (fd_ < 0)
        return;
    // The socket blocks in recv and send; these limits make a wait that
    // lasts too long return EAGAIN instead. Zero means no limit.
    timeval limit {};
    if (readTimeoutMs_ > 0) {
        limit.tv_sec = readTimeoutMs_ / 1000;
        limit.tv_usec = (readTimeoutMs_ % 1000) * 1000;
    }
    ::setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    ::setsockopt(fd_, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
}

void TcpConnection::SetLowSpeedLimit(int bytesPerSecond, int windowMs) noexcept
{
    lowSpeedBytesPerSecond_ = std::max(bytesPerSecond, 0);
    lowSpeedWindowMs_ = std::max(windowMs, 0);
    StartSpeedWindow();
}

void TcpConnection::StartSpeedWindow() noexcept
{
    speedWindowStartMs_ = NowMs();
    speedWindowBytes_ = 0;
}

long long TcpConnection::SpeedWindowEndMs() const noexcept
{
    return lowSpeedWindowMs_ > 0 ? speedWindowStartMs_ + lowSpeedWindowMs_ : -1;
}

void TcpConnection::StartRunClock(int limitMs) noexcept
{
    runLimitMs_ = std::max(limitMs, 0);
    runEndMs_ = runLimitMs_ > 0 ? NowMs() + runLimitMs_ : -1;
}

long long TcpConnection::WithinRun(long long until) const
{
    if (runEndMs_ < 0)
        return until;
    if (NowMs() >= runEndMs_)
        throw MailError(RunTimeLimitMessage(runLimitMs_));
    return until < 0 || runEndMs_ < until ? runEndMs_ : until;
}

void TcpConnection::CountReceived(std::size_t bytes)
{
    // A server that keeps sending just enough is still stopped at the end
    // of the run's time.
    WithinRun(-1);
    speedWindowBytes_ += bytes;
    const long long end = SpeedWindowEndMs();
    if (end < 0 || NowMs() < end)
        return;
    const auto least = static_cast<std::size_t>(
        static_cast<long long>(lowSpeedBytesPerSecond_) * lowSpeedWindowMs_ / 1000);
    if (speedWindowBytes_ < least)
        throw MailError(texts::kReadTimeout);
    StartSpeedWindow();
}

void TcpConnection::WaitReadable()
{
    const long long deadline = readTimeoutMs_ > 0 ? NowMs() + readTimeoutMs_ : -1;
    pollfd p { fd_, POLLIN, 0 };
    for (;;) {
        long long until = deadline;
        const long long windowEnd = SpeedWindowEndMs();
        if (windowEnd >= 0 && (until < 0 || windowEnd < until))
            until = windowEnd;
        until = WithinRun(until);
        const long long left = until < 0 ? -1 : std::max(until - NowMs(), 0LL);
        const int ready = ::poll(&p, 1, left < 0 ? -1 : static_cast<int>(std::min(left, 3600LL * 1000)));
        if (ready > 0 || (ready < 0 && errno != EINTR))
            return; // readable, closed or failed: the next recv tells
        if (ready == 0) {
            CountReceived(0);
            if (deadline >= 0 && NowMs() >= deadline)
                throw MailError(texts::kReadTimeout);
        }
    }
}

void TcpConnection::SetReadTimeout(int ms) noexcept
{
    readTimeoutMs_ = ms;
    ApplyTimeouts();
}

void TcpConnection::Write(std::string_view bytes)
{
    if (!IsOpen())
        throw MailError(texts::kConnectionClosed);
    if (ssl_ != nullptr) {
        WriteSecure(bytes);
        return;
    }
    while (!bytes.empty()) {
        ssize_t sent = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent >= 0) {
            bytes.remove_prefix(static_cast<std::size_t>(sent));
            continue;
        }
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            throw MailError(texts::kReadTimeout);
        if (errno != EINTR)
            FailWithErrno(errno);
    }
}

void TcpConnection::Fill()
{
    if (!IsOpen())
        throw MailError(texts::kConnectionClosed);
    if (buffer_.size() < maxLineLength_ + 2 * kReadChunk)
        buffer_.resize(maxLineLength_ + 2 * kReadChunk);
    // Keep the pending part of a line at the front so that the buffer never
    // needs to grow beyond one maximal line and one read.
    if (begin_ > 0 && buffer_.size() - end_ < kReadChunk) {
        std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
        end_ -= begin_;
        scanned_ -= begin_;
        begin_ = 0;
    }
    if (ssl_ != nullptr) {
        FillSecure();
        return;
    }
    for (;;) {
        // Without waiting: the wait is WaitReadable's, which keeps both the
        // read time limit and the low-speed window.
        ssize_t got = ::recv(fd_, buffer_.data() + end_, buffer_.size() - end_, MSG_DONTWAIT);
        if (got > 0) {
            end_ += static_cast<std::size_t>(got);
            CountReceived(static_cast<std::size_t>(got));
            return;
        }
        if (got == 0) {
            broken_ = true;
            throw MailError(texts::kConnectionClosed);
        }
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            WaitReadable();
        else if (errno != EINTR)
            FailWithErrno(errno);
    }
}

std::optional<TcpConnection::LineEnd> TcpConnection::FindLineEnd()
{
    const char* start = buffer_.data() + scanned_;
    const void* found = scanned_ < end_ ? std::memchr(start, '\n', end_ - scanned_) : nullptr;
    if (found == nullptr) {
        scanned_ = end_;
        return std::nullopt;
    }
    const std::size_t lf = static_cast<std::size_t>(static_cast<const char*>(found) - buffer_.data());
    std::size_t stop = lf;
    if (stop > begin_ && buffer_[stop - 1] == '\r')
        --stop;
    return LineEnd { stop, lf + 1 };
}

std::size_t TcpConnection::PendingLineBytes() const
{
    std::size_t pending = end_ - begin_;
    if (pending > 0 && buffer_[end_ - 1] == '\r')
        --pending; // may still become the CR of a CR LF
    return pending;
}

void TcpConnection::ReadLine(std::string& line)
{
    for (;;) {
        if (const std::optional<LineEnd> end = FindLineEnd()) {
            if (end->stop - begin_ > maxLineLength_)
                throw MailError(texts::kLineTooLong);
            line.assign(buffer_.data() + begin_, end->stop - begin_);
            begin_ = scanned_ = end->next;
            return;
        }
        if (PendingLineBytes() > maxLineLength_)
            throw MailError(texts::kLineTooLong);
        Fill();
    }
}

bool TcpConnection::ReadLineOrSkip(std::string& line, std::size_t& bytes, std::size_t skipLimit)
{
    // Bytes of an over-long line already let go of.
    std::size_t dropped = 0;
    bool tooLong = false;
    for (;;) {
        if (const std::optional<LineEnd> end = FindLineEnd()) {
            bytes = dropped + (end->next - begin_);
            tooLong = tooLong || end->stop - begin_ > maxLineLength_;
            if (tooLong)
                line.clear();
            else
                line.assign(buffer_.data() + begin_, end->stop - begin_);
            begin_ = scanned_ = end->next;
            return !tooLong;
        }
        const std::size_t pending = PendingLineBytes();
        if (pending > maxLineLength_) {
            // The line is lost anyway: what has come of it is let go of
            // (a final CR kept, as it may belong to the line end), so that
            // memory stays at one line however long this one runs.
            tooLong = true;
            const std::size_t keep = end_ - begin_ - pending;
            dropped += pending;
            begin_ = scanned_ = end_ - keep;
            if (dropped > skipLimit)
                throw MailError(texts::kReplyTooLarge);
        }
        Fill();
    }
}

TcpConnection::Input TcpConnection::WaitForInput(int timeoutMs, int wakeFd)
{
    if (!IsOpen() || begin_ != end_ || (ssl_ != nullptr && SSL_pending(ssl_) > 0))
        return Input::Ready;
    const long long deadline = timeoutMs >= 0 ? NowMs() + timeoutMs : -1;
    pollfd p[2] = { { fd_, POLLIN, 0 }, { wakeFd, POLLIN, 0 } };
    for (;;) {
        const long long left = deadline < 0 ? -1 : std::max(deadline - NowMs(), 0LL);
        const int ready
            = ::poll(p, wakeFd >= 0 ? 2 : 1, left < 0 ? -1 : static_cast<int>(std::min(left, 3600LL * 1000)));
        if (ready > 0)
            return p[0].revents != 0 ? Input::Ready : Input::Woken;
        if (ready < 0 && errno != EINTR)
            return Input::Ready; // the next read tells what failed
        if (ready == 0 && deadline >= 0 && NowMs() >= deadline)
            return Input::TimedOut;
    }
}

bool TcpConnection::PeerIsLocal() const noexcept
{
    sockaddr_storage peer {};
    socklen_t length = sizeof peer;
    if (fd_ < 0 || ::getpeername(fd_, reinterpret_cast<sockaddr*>(&peer), &length) != 0)
        return false;
    if (peer.ss_family == AF_UNIX)
        return true;
    if (peer.ss_family == AF_INET) {
        const auto* v4 = reinterpret_cast<const sockaddr_in*>(&peer);
        return (ntohl(v4->sin_addr.s_addr) >> 24) == 127;
    }
    if (peer.ss_family == AF_INET6) {
        const in6_addr& a = reinterpret_cast<const sockaddr_in6*>(&peer)->sin6_addr;
        return IN6_IS_ADDR_LOOPBACK(&a) || (IN6_IS_ADDR_V4MAPPED(&a) && a.s6_addr[12] == 127);
    }
    return false;
}

} // namespace mail
