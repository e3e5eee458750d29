#include "FullQueueListener.h"

#include <arpa/inet.h>
#include <cerrno>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace mailtest {

FullQueueListener::FullQueueListener()
{
    listenFd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (listenFd_ < 0 || ::bind(listenFd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0
        || ::listen(listenFd_, 0) != 0
        || ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return;
    port_ = ntohs(address.sin_port);
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
