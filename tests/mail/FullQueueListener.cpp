#include "FullQueueListener.h"

#include "FakePop3Server.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstdint>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace mailtest {

FullQueueListener::FullQueueListener()
{
    // Without a listener nothing can be queued; full() then stays false.
    try {
        listenFd_ = ListenOnLoopback(port_, 0);
    } catch (const std::runtime_error&) {
        return;
    }
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<std::uint16_t>(port_));
    // Connect until an attempt no longer completes at once: from then on the
    // queue is full and the system leaves new attempts waiting.
    for (int i = 0; i < 16 && !full_; ++i) {
        int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (fd < 0)
            return;
        queued_.push_back(fd);
        if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0)
            continue;
        if (errno != EINPROGRESS)
            return;
        pollfd p { fd, POLLOUT, 0 };
        full_ = ::poll(&p, 1, 200) == 0;
    }
}

FullQueueListener::~FullQueueListener()
{
    for (int fd : queued_)
        ::close(fd);
    if (listenFd_ >= 0)
        ::close(listenFd_);
}

} // namespace mailtest
