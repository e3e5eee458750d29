#include "LoopbackConversation.h"

#include "FakePop3Server.h"

#include <unistd.h>

namespace mailtest {

LoopbackConversation::LoopbackConversation(int port)
    : port_(port)
    , listenFd_(ListenOnLoopback(port_))
{
}

LoopbackConversation::~LoopbackConversation()
{
    Wait();
    ::close(listenFd_);
}

} // namespace mailtest
