#pragma once

#include <vector>

namespace mailtest {

// A loopback listener that never accepts and whose queue has been filled, so
// that a further connection attempt hangs until the client gives up.
class FullQueueListener {
public:
    FullQueueListener();
    ~FullQueueListener();
    FullQueueListener(const FullQueueListener&) = delete;
    FullQueueListener& operator=(const FullQueueListener&) = delete;

    int port() const { return port_; }
    // Whether an attempt to connect now hangs.
    bool full() const { return full_; }

private:
    int listenFd_ = -1;
    int port_ = 0;
    bool full_ = false;
    std::vector<int> queued_;
};

} // namespace mailtest
