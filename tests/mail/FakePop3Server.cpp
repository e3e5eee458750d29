#include "FakePop3Server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace mailtest {

namespace {

// No conversation in these tests lasts longer; a client that hangs makes
// the server give up instead of hanging the test.
constexpr int kPatienceMs = 10000;

bool WaitReadable(int fd)
{
    pollfd p { fd, POLLIN, 0 };
    return ::poll(&p, 1, kPatienceMs) > 0;
}

void SendAll(int fd, const std::string& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t sent = ::send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
        if (sent <= 0)
            return;
        done += static_cast<std::size_t>(sent);
    }
}

} // namespace

int ListenOnLoopback(int& port, int backlog)
{
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(port));
    socklen_t length = sizeof address;
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0
        || ::listen(fd, backlog) != 0
        || ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        if (fd >= 0)
            ::close(fd);
        throw std::runtime_error("cannot listen on loopback");
    }
    port = ntohs(address.sin_port);
    return fd;
}

int UnusedLoopbackPort()
{
    int port = 0;
    int fd = ListenOnLoopback(port);
    ::close(fd);
    return port;
}

FakePop3Server::FakePop3Server(std::vector<std::string> replies, After after, std::string capaReply, int port)
    : replies_(std::move(replies))
    , after_(after)
    , capaReply_(std::move(capaReply))
    , conversation_(port)
{
    conversation_.Start([this] { Serve(); });
}

std::string FakePop3Server::Transcript()
{
    conversation_.Wait();
    return received_;
}

void FakePop3Server::Serve()
{
    if (!WaitReadable(conversation_.listenFd()))
        return;
    int fd = ::accept4(conversation_.listenFd(), nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0)
        return;
    std::size_t next = 0;
    std::size_t lineStart = 0;
    auto reply = [&] {
        if (next < replies_.size())
            SendAll(fd, replies_[next++]);
        return !(next == replies_.size() && after_ == After::Close);
    };
    bool open = reply();
    while (open && WaitReadable(fd)) {
        char chunk[4096];
        ssize_t got = ::recv(fd, chunk, sizeof chunk, 0);
        if (got <= 0)
            break;
        received_.append(chunk, static_cast<std::size_t>(got));
        // Answer each complete line the client sent. A client that waits
        // for each reply never has more than one line outstanding.
        std::size_t lf;
        bool answered = false;
        while (open && (lf = received_.find('\n', lineStart)) != std::string::npos) {
            ahead_ = ahead_ || answered;
            const bool capa = received_.compare(lineStart, lf + 1 - lineStart, "CAPA\r\n") == 0;
            lineStart = lf + 1;
            answered = true;
            if (capa)
                SendAll(fd, capaReply_);
            else if (next < replies_.size())
                open = reply();
        }
        ahead_ = ahead_ || (answered && lineStart < received_.size());
    }
    ::close(fd);
}

} // namespace mailtest
