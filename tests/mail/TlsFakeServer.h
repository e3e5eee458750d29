#pragma once

// A scripted POP3S server on loopback: like FakePop3Server, but the
// connection is TLS from the start, with the given certificate, and the
// transcript is what the client sent inside TLS. CAPA is refused as a
// server without it would. After the last reply it stays silent until the
// client closes.

#include <string>
#include <thread>
#include <vector>

namespace mailtest {

class TlsFakeServer {
public:
    TlsFakeServer(const std::string& certFile, const std::string& keyFile, std::vector<std::string> replies);
    ~TlsFakeServer();
    TlsFakeServer(const TlsFakeServer&) = delete;
    TlsFakeServer& operator=(const TlsFakeServer&) = delete;

    int port() const { return port_; }
    // Waits for the conversation to end, then returns the decrypted bytes
    // the client sent.
    std::string Transcript();

private:
    void Serve(const std::string& certFile, const std::string& keyFile);

    std::vector<std::string> replies_;
    int listenFd_ = -1;
    int port_ = 0;
    std::thread thread_;
    std::string received_;
};

} // namespace mailtest
