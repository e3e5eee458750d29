#pragma once

// An OAuth 2.0 token introspection endpoint on loopback for the Dovecot
// test server: it answers each POST of "token=…" with {"active":true,
// "username":…} for a token it knows and {"active":false} for any other.

#include <atomic>
#include <map>
#include <string>
#include <thread>

namespace mailtest {

class IntrospectionEndpoint {
public:
    // token → the user it signs in.
    explicit IntrospectionEndpoint(std::map<std::string, std::string> tokens);
    ~IntrospectionEndpoint();
    IntrospectionEndpoint(const IntrospectionEndpoint&) = delete;
    IntrospectionEndpoint& operator=(const IntrospectionEndpoint&) = delete;

    std::string Url() const { return "http://127.0.0.1:" + std::to_string(port_) + "/introspect"; }

private:
    void Serve();
    void Answer(int fd);

    std::map<std::string, std::string> tokens_;
    int port_ = 0;
    int listenFd_ = -1;
    std::atomic<bool> stop_ { false };
    std::thread thread_;
};

} // namespace mailtest
