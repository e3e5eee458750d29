#pragma once

#include <functional>
#include <thread>

namespace mailtest {

// A socket listening on loopback and the thread that serves its one
// conversation. Declared as the last member of a server, it is destroyed
// first, so the thread ends before anything it uses goes away.
class LoopbackConversation {
public:
    // Listens on port, or on a free one when port is 0.
    explicit LoopbackConversation(int port = 0);
    ~LoopbackConversation();
    LoopbackConversation(const LoopbackConversation&) = delete;
    LoopbackConversation& operator=(const LoopbackConversation&) = delete;

    void Start(std::function<void()> serve) { thread_ = std::thread(std::move(serve)); }
    // Waits for the conversation to end.
    void Wait()
    {
        if (thread_.joinable())
            thread_.join();
    }
    int port() const { return port_; }
    int listenFd() const { return listenFd_; }

private:
    int port_ = 0;
    int listenFd_ = -1;
    std::thread thread_;
};

} // namespace mailtest
