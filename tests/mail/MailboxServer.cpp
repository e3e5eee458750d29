#include "MailboxServer.h"

#include "FakePop3Server.h"
#include "common/SjisLiteral.h"

#include <algorithm>
#include <chrono>
#include <functional>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace mailtest {

namespace {

constexpr int kPatienceMs = 10000;

bool SendAll(int fd, const std::string& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t sent = ::send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
        if (sent <= 0)
            return false;
        done += static_cast<std::size_t>(sent);
    }
    return true;
}

// The message as a multi-line reply body: CR LF line ends, dot-stuffed,
// ended by the dot line. With headerOnly, only the header and its blank line.
std::string MultiLine(const std::string& message, bool headerOnly)
{
    std::string out;
    std::size_t start = 0;
    while (start < message.size()) {
        std::size_t lf = message.find('\n', start);
        if (lf == std::string::npos)
            lf = message.size();
        const std::string line = message.substr(start, lf - start);
        out += (!line.empty() && line[0] == '.' ? "." : "") + line + "\r\n";
        start = lf + 1;
        if (headerOnly && line.empty())
            break;
    }
    return out + ".\r\n";
}

} // namespace

const std::string MailboxServer::kPipelining = "+OK\r\nTOP\r\nUIDL\r\nPIPELINING\r\n.\r\n";
const std::string MailboxServer::kNoPipelining = "+OK\r\nTOP\r\nUIDL\r\n.\r\n";
const std::string MailboxServer::kNoCapa = "-ERR unknown command\r\n";

std::string MailboxServer::UniqueId(const std::string& message)
{
    return "uid" + std::to_string(std::hash<std::string> {}(message));
}

MailboxServer::MailboxServer(Script script)
    : script_(std::move(script))
    , conversation_(script_.port)
{
    conversation_.Start([this] { Serve(); });
}

std::string MailboxServer::Transcript()
{
    conversation_.Wait();
    return received_;
}

std::string MailboxServer::Answer(const std::string& command, bool& close)
{
    const int count = static_cast<int>(script_.messages.size());
    auto number = [&](std::size_t from) {
        int n = 0;
        for (std::size_t i = from; i < command.size() && command[i] >= '0' && command[i] <= '9'; ++i)
            n = n * 10 + (command[i] - '0');
        return n;
    };
    if (command == "CAPA")
        return script_.capa;
    if (command == "STAT")
        return "+OK " + std::to_string(count) + " 0\r\n";
    if (command == "UIDL") {
        if (!script_.uidl)
            return "-ERR unknown command\r\n";
        std::string list = "+OK\r\n";
        for (int n = 1; n <= count; ++n)
            list += std::to_string(n) + " " + UniqueId(script_.messages[n - 1]) + "\r\n";
        return list + ".\r\n";
    }
    if (command.rfind("TOP ", 0) == 0) {
        const int n = number(4);
        if (n == script_.closeAtTop) {
            close = true;
            return {};
        }
        if (n == script_.refuseTop) {
            refused_ = true;
            return "-ERR no such message\r\n";
        }
        return n >= 1 && n <= count ? "+OK\r\n" + MultiLine(script_.messages[n - 1], true)
                                    : "-ERR no such message\r\n";
    }
    if (command.rfind("RETR ", 0) == 0) {
        const int n = number(5);
        if (n == script_.refuseRetr || n < 1 || n > count)
            return "-ERR cannot read it\r\n";
        return "+OK\r\n" + MultiLine(script_.messages[n - 1], false);
    }
    return "+OK\r\n"; // USER, PASS
}

void MailboxServer::Serve()
{
    pollfd listening { conversation_.listenFd(), POLLIN, 0 };
    if (::poll(&listening, 1, kPatienceMs) <= 0)
        return;
    const int fd = ::accept4(conversation_.listenFd(), nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0)
        return;
    auto send = [&](const std::string& reply) {
        if (script_.dripMs <= 0)
            return SendAll(fd, reply);
        for (char c : reply) {
            std::this_thread::sleep_for(std::chrono::milliseconds(script_.dripMs));
            if (!SendAll(fd, std::string(1, c)))
                return false;
        }
        return true;
    };
    // Reads whatever has arrived, waiting up to waitMs for the first byte.
    auto receive = [&](int waitMs) {
        pollfd p { fd, POLLIN, 0 };
        if (::poll(&p, 1, waitMs) <= 0)
            return false;
        char chunk[4096];
        const ssize_t got = ::recv(fd, chunk, sizeof chunk, 0);
        if (got <= 0)
            return false;
        received_.append(chunk, static_cast<std::size_t>(got));
        return true;
    };
    std::size_t lineStart = 0;
    bool open = send("+OK ready\r\n");
    while (open && receive(kPatienceMs)) {
        std::size_t lf;
        while (open && (lf = received_.find('\n', lineStart)) != std::string::npos) {
            // Commands received and not yet answered, this one included.
            const auto ahead = std::count(
                received_.begin() + static_cast<std::ptrdiff_t>(lineStart), received_.end(), '\n');
            mostAhead_ = std::max(mostAhead_, static_cast<int>(ahead));
            std::string command = received_.substr(lineStart, lf - lineStart);
            if (!command.empty() && command.back() == '\r')
                command.pop_back();
            lineStart = lf + 1;
            if (command == "QUIT") {
                open = false;
                break;
            }
            const bool late = refused_;
            bool close = false;
            const std::string reply = Answer(command, close);
            if (close) {
                // A close, not a reset: what the client already has stays
                // readable.
                ::shutdown(fd, SHUT_WR);
                open = false;
                break;
            }
            if (late && script_.delayAfterRefusalMs > 0) {
                std::this_thread::sleep_for(std::chrono::milliseconds(script_.delayAfterRefusalMs));
                while (receive(0)) { }
                // This reply is not sent yet: a QUIT already here was sent
                // without waiting for it.
                if (received_.find("QUIT\r\n", lineStart) != std::string::npos)
                    quitEarly_ = true;
            }
            open = send(reply);
        }
    }
    // After QUIT the client may still close first; what it sent is kept.
    while (receive(200)) { }
    ::close(fd);
}

} // namespace mailtest
