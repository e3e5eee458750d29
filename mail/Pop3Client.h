#pragma once

// A POP3 client with just the commands reception needs: CAPA, USER/PASS or
// AUTH (SASL PLAIN, XOAUTH2, OAUTHBEARER), STAT, UIDL, TOP n 0, RETR n and
// QUIT, in clear, over TLS from the start (POP3S) or upgraded with STLS
// before the login. Requests are single lines ended by CR LF; a reply whose
// first word is +OK succeeds, -ERR fails with the server's text, anything
// else fails as an unrecognised reply. Multi-line replies end at a line
// holding one dot; a line starting with two dots loses the first.
//
// A server that lists PIPELINING among its capabilities gets the header and
// message requests of a run ahead of their replies, a window of them at a
// time (see PlanFetches); any other server gets one command at a time.
//
// The client is one state machine: a command goes out only in the states
// the command table allows it, and its success moves the client to the
// state the table names (greeting → authorization → transaction), through
// the one state setter.

#include "mail/MailConnection.h"
#include "mail/Pop3Options.h"
#include "mail/Pop3Status.h"

#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace mail {

class Message;

class Pop3Client {
public:
    using StatusHandler = std::function<void(Pop3Status)>;
    // Whether the whole of message n is wanted, judged from its header.
    using WantsWhole = std::function<bool(int n, const Message& header)>;

    static constexpr std::size_t kMaxLineLength = 16384;
    // Header lines beyond this many bytes are read and dropped: no real
    // header comes near it, and it bounds what a header fetch can hold.
    static constexpr std::size_t kMaxHeaderBytes = 256 * 1024;
    // Requests sent ahead of their replies when pipelining. Even with the
    // message requests they trigger, the requests out at once (at most 17
    // bytes each, under 9 KB in all) fit into the socket buffers, so
    // sending them never waits for the server to read, and the client reads
    // every reply before it sends more: neither side can stall on a full
    // buffer.
    static constexpr std::size_t kPipelineWindow = 256;
    // Header replies read ahead of the one the run is waiting for hold at
    // most this much, their bytes and each line's bookkeeping counted. A
    // reply past it is dropped and asked for again when its turn comes, so
    // that a server of huge headers cannot make the window hold hundreds of
    // them at once.
    static constexpr std::size_t kMaxHeldHeaderBytes = 8 * 1024 * 1024;

    // The client of one connection; onStatus is told of resolving,
    // connecting, connected, disconnecting and disconnected.
    explicit Pop3Client(Pop3Options options = {}, StatusHandler onStatus = {});

    const Pop3Options& Options() const noexcept { return options_; }

    // Connects, reads the greeting, asks the capabilities, secures the
    // connection as the security option asks and logs in. Throws MailError
    // (ConnectError when the server could not be reached). The run's time
    // limit counts from the first Connect.
    void Connect();
    // The same over a socket that is already connected (taken over and
    // closed by this client), without status events: for tests and fuzzing.
    void ConnectOver(int connectedSocket);
    // The message count from STAT.
    int CheckMessages();
    // The server's unique id of each message 1 … count (UIDL), by message
    // number; a message without a well-formed id has none. False, with ids
    // empty, when the server does not list UIDL among its capabilities (a
    // server without CAPA is not asked), refuses it, or its list would hold
    // more than maxBytes. Asked before PlanFetches.
    bool ListUniqueIds(int count, std::unordered_map<int, std::string>& ids, std::size_t maxBytes);
    // Tells the client that headers 1 … count will be asked for in order,
    // and for each the whole message exactly when wantsWhole says so. With
    // pipelining the requests then go out ahead; otherwise this changes
    // nothing. The other calls behave the same either way.
    void PlanFetches(int count, WantsWhole wantsWhole);
    // The header of message n (TOP n 0) into msg.
    void RetrieveHeader(int n, Message& msg);
    enum class Fetch { Ok, Refused, TooLarge, LineTooLong };
    // The whole message n (RETR n) into msg: Ok when the server sent it,
    // Refused when it answered -ERR, TooLarge when its body exceeded the
    // body size limit, LineTooLong when one of its lines exceeded the line
    // length limit (both read to their end and dropped; msg is left empty).
    // Other faults throw.
    Fetch Retrieve(int n, Message& msg);
    // Reads and drops the replies still due, then sends QUIT without waiting
    // for its reply and closes the socket. The status events are only
    // raised when the connection was still open. Never throws.
    void Disconnect() noexcept;

    bool Connected() const noexcept { return connection_.Tcp().IsOpen(); }
    // Whether the server listed PIPELINING (after STLS: inside TLS).
    bool Pipelining() const noexcept { return caps_.pipelining; }
    // The SASL mechanisms the server listed (after STLS: inside TLS).
    const std::vector<std::string>& Mechanisms() const noexcept { return caps_.mechanisms; }

    // Where the session stands (RFC 1939's states, and before them the
    // greeting).
    enum class State { Closed, Greeting, Authorization, Transaction };
    State CurrentState() const noexcept { return state_; }

private:
    // More: the server's "+" continuation during AUTH.
    enum class Reply { Ok, Err, More };
    // How much of a multi-line reply was kept.
    enum class Kept { Whole, OverLimit, LongLine };
    enum class Command { Capa, Stls, User, Pass, Auth, Stat, Uidl, Top, Retr, Quit };
    // A line of the command table.
    struct Rule {
        Command command;
        std::string_view word;
        // The states it may be sent in, one bit per State.
        unsigned allowedIn;
        // The state its success leads to.
        State success;
    };
    static const Rule kCommands[];
    static const Rule& RuleOf(Command command);

    struct Sent {
        Command command;
        int n;
    };
    struct HeaderReply {
        int n;
        bool ok;
        std::string error;
        std::vector<std::string> lines;
        // Dropped to keep within kMaxHeldHeaderBytes: asked for again.
        bool dropped = false;
        std::size_t held = 0;
    };

    void SetState(State state) noexcept { state_ = state; }
    // The greeting, the capabilities, STLS where asked for, and the sign-in.
    void Greet();
    void Login();
    // AUTH with the SASL mechanism of the auth option.
    void Authenticate();
    // Sends one line of an AUTH exchange and reads the reply.
    Reply AuthStep(std::string_view line, std::string& text);
    // The command's line without its end: its word, and the argument after
    // a blank. A command the table does not allow now throws.
    std::string Request(Command command, std::string_view argument = {}) const;
    // Sends command (where the table allows it now) and reads the status
    // line; success moves to the table's next state. -ERR throws unless
    // errIsAnswer is set. text receives what follows the status word.
    Reply Exchange(Command command, std::string_view argument, std::string& text, bool errIsAnswer = false);
    Reply ReadStatus(std::string& text, bool errIsAnswer, bool moreIsAnswer = false);
    void AskCapabilities();
    // Reads the next line of a multi-line reply into line_, dot-stuffing
    // removed; false at the line that ends the reply. lineWhole_ tells
    // whether the line was within the length limit (else line_ is empty).
    // replyBytes counts the reply's bytes; past maxReplyBytes it fails.
    bool ReadReplyLine(std::size_t& replyBytes);
    // Reads a multi-line reply's lines into lines_, up to maxBytes of them
    // (header or body as body says); the rest is read and dropped, as is
    // everything after a line over the length limit.
    Kept ReadMultiLine(std::size_t maxHeaderBytes, std::size_t maxBodyBytes);
    // Adds a request to those due; it goes out with the next Flush.
    void Queue(Command command, int n);
    bool IsDue(Command command, int n) const;
    // Tops up the window of header requests and writes what is queued.
    void Flush();
    // Reads the reply to the oldest request still due; a header reply is
    // kept for RetrieveHeader, a message reply nobody waits for dropped.
    void ReadNextReply();
    void Status(Pop3Status status);
    // Removes the kept header replies up to end, with what they hold.
    void DropHeaders(std::deque<HeaderReply>::iterator end);

    // What the server said it can do (after STLS: inside TLS).
    struct Capabilities {
        bool pipelining = false;
        bool uidl = false;
        std::vector<std::string> mechanisms;
    };
    // The requests of a run sent ahead of their replies, and the header
    // replies read ahead of the one the run waits for.
    struct Pipeline {
        // Written or queued and not yet answered, oldest first, and the bytes
        // of those not yet written.
        std::deque<Sent> sent;
        std::string unsent;
        std::size_t unsentCount = 0;
        std::deque<HeaderReply> headers;
        std::size_t heldBytes = 0;
        // The header the run is waiting for (0: none), kept whatever it
        // holds.
        int wanted = 0;
        WantsWhole wantsWhole;
        int planned = 0;
        int nextTop = 1;
        // Set by a refused header request: nothing more is asked for.
        bool stopped = false;
        // Set when a reply could not be read whole: the replies after it
        // cannot be told apart, so none is read.
        bool lost = false;
    };

    Pop3Options options_;
    StatusHandler onStatus_;
    MailConnection connection_;
    State state_ = State::Closed;
    Capabilities caps_;
    Pipeline pipe_;
    std::string line_;
    std::vector<std::string> lines_;
    bool lineWhole_ = true;
};

} // namespace mail
