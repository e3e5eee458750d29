#pragma once

// A scripted POP3 server on loopback for the exchanges a real server will not
// produce. The test lists the server's replies; the server records every byte
// the client sends, so the test can check the client's exact transcript.

#include "LoopbackConversation.h"
#include "common/SjisLiteral.h"

#include <string>
#include <thread>
#include <vector>

namespace mailtest {

class FakePop3Server {
public:
    enum class After {
        // Keep reading (and recording) without replying until the client
        // closes: a server that has gone silent.
        Listen,
        // Close the connection right after the last reply.
        Close,
    };

    // replies[0] is sent when the client connects (the greeting); every later
    // reply answers the next line the client sends, except a CAPA, which is
    // answered with capaReply (by default that of a server without CAPA).
    // It listens on port, or on a free one when port is 0.
    explicit FakePop3Server(std::vector<std::string> replies, After after = After::Listen,
        std::string capaReply = kNoCapa, int port = 0);

    static inline const std::string kNoCapa = "-ERR unknown command\r\n";

    int port() const { return conversation_.port(); }
    // Waits for the conversation to end, then returns what the client sent.
    std::string Transcript();
    // Whether a command ever arrived before the previous one was answered
    // (valid after Transcript).
    bool SawCommandAhead() const { return ahead_; }

private:
    void Serve();

    std::vector<std::string> replies_;
    After after_;
    std::string capaReply_;
    bool ahead_ = false;
    std::string received_;
    LoopbackConversation conversation_;
};

// A socket listening on loopback at port, or on a free one when port is 0
// (then stored in port), with the given queue length; throws when it cannot
// be had.
int ListenOnLoopback(int& port, int backlog = 4);

// A loopback port nothing listens on (just released by the system).
int UnusedLoopbackPort();

} // namespace mailtest
