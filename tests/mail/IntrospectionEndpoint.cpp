#include "IntrospectionEndpoint.h"

#include "FakePop3Server.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace mailtest {

IntrospectionEndpoint::IntrospectionEndpoint(std::map<std::string, std::string> tokens)
    : tokens_(std::move(tokens))
    , listenFd_(ListenOnLoopback(port_, 16))
    , thread_([this] { Serve(); })
{
}

IntrospectionEndpoint::~IntrospectionEndpoint()
{
    stop_ = true;
    thread_.join();
    ::close(listenFd_);
}

void IntrospectionEndpoint::Serve()
{
    while (!stop_) {
        pollfd p { listenFd_, POLLIN, 0 };
        if (::poll(&p, 1, 50) <= 0)
            continue;
        const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd >= 0) {
            Answer(fd);
            ::close(fd);
        }
    }
}

void IntrospectionEndpoint::Answer(int fd)
{
    // The request: headers, then a form body of Content-Length bytes.
    std::string request;
    std::size_t end = std::string::npos;
    std::size_t length = 0;
    for (;;) {
        if (end != std::string::npos && request.size() >= end + length)
            break;
        pollfd p { fd, POLLIN, 0 };
        char chunk[4096];
        if (::poll(&p, 1, 2000) <= 0)
            return;
        const ssize_t got = ::recv(fd, chunk, sizeof chunk, 0);
        if (got <= 0)
            return;
        request.append(chunk, static_cast<std::size_t>(got));
        if (end == std::string::npos && (end = request.find("\r\n\r\n")) != std::string::npos) {
            end += 4;
            const std::size_t field = request.find("Content-Length:");
            if (field != std::string::npos && field < end)
                length = std::stoul(request.substr(field + 15));
        }
    }
    // token=…&client_id=…: the token up to the next field.
    const std::string body = request.substr(end, length);
    std::string token = body.substr(0, body.find('&'));
    token = token.rfind("token=", 0) == 0 ? token.substr(6) : "";
    const auto user = tokens_.find(token);
    const std::string json = user == tokens_.end() ? R"({"active":false})"
                                                   : R"({"active":true,"username":")" + user->second + "\"}";
    const std::string reply = "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nConnection: close\r\n"
                              "Content-Length: "
        + std::to_string(json.size()) + "\r\n\r\n" + json;
    ::send(fd, reply.data(), reply.size(), MSG_NOSIGNAL);
}

} // namespace mailtest
