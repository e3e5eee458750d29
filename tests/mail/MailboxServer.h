#pragma once

// A scripted POP3 server on loopback that answers from a mailbox, whatever
// the order and grouping of the commands: for the pipelined exchanges,
// where the test cannot list the replies in advance. It records what the
// client sent and how it sent it, and can be told to fail at a given point.

#include "LoopbackConversation.h"
#include "common/SjisLiteral.h"

#include <string>
#include <thread>
#include <vector>

namespace mailtest {

class MailboxServer {
public:
    struct Script {
        // Messages, LF line ends; message 1 first.
        std::vector<std::string> messages;
        // The whole reply to CAPA.
        std::string capa;
        // TOP of this message is refused (0: none).
        int refuseTop = 0;
        // RETR of this message is refused (0: none).
        int refuseRetr = 0;
        // The connection is closed instead of answering TOP of this
        // message (0: never).
        int closeAtTop = 0;
        // Each reply after a refused TOP waits this long first, so that a
        // QUIT sent before those replies were read would be seen early.
        int delayAfterRefusalMs = 0;
        // Every byte of every reply is sent on its own, this far apart
        // (0: replies go out whole).
        int dripMs = 0;
        // Whether UIDL is answered; each message's id follows from its
        // content, so it stays when other messages come or go.
        bool uidl = true;
        // The loopback port to listen on (0: any free one).
        int port = 0;
    };

    explicit MailboxServer(Script script);

    int port() const { return conversation_.port(); }
    // Waits for the conversation to end; then the accessors below are valid.
    std::string Transcript();
    // The most commands that were ever waiting for their replies at once.
    int MostAhead() const { return mostAhead_; }
    // Whether QUIT arrived while replies to earlier commands were unsent.
    bool QuitBeforeReplies() const { return quitEarly_; }

    // The id UIDL gives a message.
    static std::string UniqueId(const std::string& message);

    // A CAPA reply listing PIPELINING, one listing only TOP, and a refusal.
    static const std::string kPipelining;
    static const std::string kNoPipelining;
    static const std::string kNoCapa;

private:
    void Serve();
    std::string Answer(const std::string& command, bool& close);

    Script script_;
    std::string received_;
    int mostAhead_ = 0;
    bool quitEarly_ = false;
    bool refused_ = false;
    LoopbackConversation conversation_;
};

} // namespace mailtest
