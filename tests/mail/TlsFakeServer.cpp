#include "TlsFakeServer.h"

#include "FakePop3Server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <openssl/ssl.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

namespace mailtest {

TlsFakeServer::TlsFakeServer(
    const std::string& certFile, const std::string& keyFile, std::vector<std::string> replies)
    : replies_(std::move(replies))
{
    conversation_.Start([this, certFile, keyFile] { Serve(certFile, keyFile); });
}

std::string TlsFakeServer::Transcript()
{
    conversation_.Wait();
    return received_;
}

void TlsFakeServer::Serve(const std::string& certFile, const std::string& keyFile)
{
    pollfd p { conversation_.listenFd(), POLLIN, 0 };
    if (::poll(&p, 1, 10000) <= 0)
        return;
    const int fd = ::accept4(conversation_.listenFd(), nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0)
        return;
    // A client that hangs makes the server give up instead of the test.
    timeval limit { 10, 0 };
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    SSL_CTX* ctx = SSL_CTX_new(TLS_server_method());
    SSL* ssl = nullptr;
    if (ctx != nullptr && SSL_CTX_use_certificate_chain_file(ctx, certFile.c_str()) == 1
        && SSL_CTX_use_PrivateKey_file(ctx, keyFile.c_str(), SSL_FILETYPE_PEM) == 1
        && (ssl = SSL_new(ctx)) != nullptr && SSL_set_fd(ssl, fd) == 1 && SSL_accept(ssl) == 1) {
        std::size_t next = 0;
        std::size_t lineStart = 0;
        auto reply = [&] {
            if (next < replies_.size()) {
                const std::string& r = replies_[next++];
                SSL_write(ssl, r.data(), static_cast<int>(r.size()));
            }
        };
        reply();
        char chunk[4096];
        int got;
        while ((got = SSL_read(ssl, chunk, sizeof chunk)) > 0) {
            received_.append(chunk, static_cast<std::size_t>(got));
            std::size_t lf;
            while ((lf = received_.find('\n', lineStart)) != std::string::npos) {
                const bool capa = received_.compare(lineStart, lf + 1 - lineStart, "CAPA\r\n") == 0;
                lineStart = lf + 1;
                if (capa)
                    SSL_write(ssl, FakePop3Server::kNoCapa.data(),
                        static_cast<int>(FakePop3Server::kNoCapa.size()));
                else
                    reply();
            }
        }
    }
    SSL_free(ssl);
    SSL_CTX_free(ctx);
    ::close(fd);
}

} // namespace mailtest
