#pragma once

// An IMAP client with what reception needs (IMAP4rev1, RFC 3501; IMAP4rev2,
// RFC 9051, where the server offers it), read-only throughout: a folder is
// opened with EXAMINE and messages are fetched with BODY.PEEK, so nothing is
// marked seen, moved or deleted. The connection, its security (implicit
// TLS, STARTTLS, plain only to this machine), the certificate check, SASL
// and the token command are those of the POP3 client.
//
// One state machine: every command is allowed in the states the command
// table names and leads where it says; SetState is the only place the state
// changes. Responses are read whole, literals included, within the
// connection's line limit, the reply limit and the run's time limit.

#include "mail/ImapParser.h"
#include "mail/Pop3Options.h"
#include "mail/Pop3Status.h"
#include "mail/MailConnection.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace mail {

class ImapClient {
public:
    using StatusHandler = std::function<void(Pop3Status)>;

    enum class State { Disconnected, NotAuthenticated, Authenticated, Selected, Idling, Logout };

    static constexpr int kDefaultPort = 143;
    static constexpr int kDefaultTlsPort = 993;
    static constexpr std::size_t kMaxLineLength = 16384;
    // A subject header beyond this is kept only this far.
    static constexpr std::size_t kMaxHeaderBytes = 256 * 1024;
    // What the subjects (and the bodies) of one command may hold at once;
    // those past it are asked for again by the caller.
    static constexpr std::size_t kMaxHeldSubjectBytes = 8 * 1024 * 1024;
    static constexpr std::size_t kMaxHeldBodyBytes = 16 * 1024 * 1024;
    // UIDs named in one body request, which keeps its line short.
    static constexpr std::size_t kMaxUidsPerFetch = 500;
    // Servers may end an IDLE after 30 minutes of silence (RFC 2177).
    static constexpr int kIdleRenewMs = 29 * 60 * 1000;
    // No real response carries more literals than this.
    static constexpr std::size_t kMaxLiterals = 64;

    // options: the account, security and limits as the POP3 client takes
    // them (port: kDefaultPort or kDefaultTlsPort for IMAP). onStatus is
    // told of resolving, connecting, connected, disconnecting and
    // disconnected.
    explicit ImapClient(Pop3Options options = {}, StatusHandler onStatus = {});
    ~ImapClient();
    ImapClient(const ImapClient&) = delete;
    ImapClient& operator=(const ImapClient&) = delete;

    // Connects, reads the greeting, secures the connection as the security
    // option asks, signs in (LOGIN, or AUTHENTICATE with the auth option's
    // mechanism) and enables UTF8=ACCEPT and IMAP4rev2 where offered. Throws
    // MailError (ConnectError when the server could not be reached).
    void Connect();
    // The same over a socket already connected (taken over), without TLS or
    // status events: for tests and fuzzing.
    void ConnectOver(int connectedSocket);
    // From now on the run's time limit counts afresh (the first Connect
    // starts it too).
    void StartRunClock();

    struct Folder {
        std::uint32_t uidValidity = 0; // 0: the server gave none
        std::uint32_t uidNext = 0; // 0: the server gave none
        std::uint32_t messages = 0;
    };
    // Opens the folder read-only (EXAMINE); sjisName as the user typed it.
    Folder Examine(const std::string& sjisName);

    struct NewMail {
        std::uint32_t uid;
        std::string subject; // the raw Subject value
    };
    // The messages whose UID is from or more, with their subjects, in one
    // command; appended to mails in ascending UID order, total set to how
    // many the server listed. Returns 0, or, where the subjects would hold
    // more than kMaxHeldSubjectBytes, the UID from which the rest were not
    // kept (to be asked for again).
    std::uint32_t FetchSubjects(std::uint32_t from, std::vector<NewMail>& mails, std::uint32_t& total);

    enum class Fetch {
        Ok,
        // The server refused or did not send it.
        Refused,
        // Over the body limit, or a line over the line limit: read and dropped.
        TooLarge,
        LineTooLong,
        // Not kept, to hold no more than kMaxHeldBodyBytes: ask again.
        NotHeld,
    };
    struct Body {
        Fetch fetch = Fetch::Refused;
        std::vector<std::string> lines; // header, empty line, body (Ok only)
    };
    // The whole messages of uids (ascending, at most kMaxUidsPerFetch) in
    // one command (BODY.PEEK[]), one entry per uid in bodies. The first
    // uid's is always kept.
    void FetchBodies(std::span<const std::uint32_t> uids, std::map<std::uint32_t, Body>& bodies);

    enum class Wake { NewMail, Deadline, Woken };
    // Holds the opened folder in IDLE until the server tells of new mail
    // (EXISTS or RECENT growing), deadline passes or wakeFd (-1: none)
    // becomes readable, renewing the IDLE every renewMs; then ends it (DONE)
    // and returns why. No read or run limit applies while idling; the run's
    // time counts afresh after it. Throws MailError when the connection
    // fails or the server lacks IDLE (HasCapability("IDLE")); the connection
    // is then closed.
    Wake WaitForNewMail(
        std::chrono::steady_clock::time_point deadline, int wakeFd, int renewMs = kIdleRenewMs);

    // Ends an IDLE, sends LOGOUT without waiting for its reply and closes
    // the socket; the status events only when the connection was open.
    // Never throws.
    void Disconnect() noexcept;

    bool Connected() const noexcept { return connection_.Tcp().IsOpen() && state_ != State::Disconnected; }
    State CurrentState() const noexcept { return state_; }
    // Capabilities as last listed (after STARTTLS: inside TLS), in capitals.
    bool HasCapability(std::string_view name) const;
    // The SASL mechanisms listed (AUTH=…).
    const std::vector<std::string>& Mechanisms() const noexcept { return mechanisms_; }
    // Whether folder names and quoted strings go as UTF-8 (UTF8=ACCEPT or
    // IMAP4rev2 enabled).
    bool Utf8() const noexcept { return utf8_; }

private:
    enum class Command { Capability, StartTls, Login, Authenticate, Enable, Examine, UidFetch, Idle, Logout };
    struct Rule;
    // An argument: an atom or quoted string as written, or a literal.
    struct Argument {
        std::string bytes;
        bool literal = false;
    };
    using FetchHandler = std::function<void(ImapResponse&)>;

    static const Rule& RuleOf(Command command);
    void SetState(State state);
    void Reset();
    void Greet();
    void AskCapabilities();
    void SignIn();
    void Authenticate(Pop3Auth auth);
    void EnableExtensions();
    Argument AsString(std::string_view text) const;
    // Checks the command against the state, writes its line (up to its
    // first synchronising literal) and returns its tag.
    std::string Begin(Command command, std::string_view line);
    // Reads until the tagged answer to tag (or, when continuationEnds, a
    // continuation), handling the untagged responses on the way.
    ImapResponse Await(const std::string& tag, bool continuationEnds, std::size_t literalKeep,
        const FetchHandler& onFetch = {});
    // Moves the state as the table says for the answer.
    void Settle(Command command, const ImapResponse& answer);
    // A whole command: begin, literals, answer, settle.
    ImapResponse Run(Command command, const std::vector<Argument>& arguments, std::size_t literalKeep = 0,
        const FetchHandler& onFetch = {});
    void ReadResponse(std::size_t literalKeep);
    // Reads a literal of size bytes, keeping at most keep; true when it
    // ended inside a line, whose rest is then in rest.
    bool ReadLiteral(std::uint64_t size, std::size_t keep, ImapLiteral& literal, std::string& rest);
    void CountAnswerBytes(std::size_t bytes);
    void HandleUntagged(const ImapResponse& response);
    void HandleCode(const ImapResponse& response);
    [[noreturn]] void Unrecognized() const;
    void EndIdle(const std::string& tag);
    void RestoreLimits();
    void Status(Pop3Status status);

    Pop3Options options_;
    StatusHandler onStatus_;
    MailConnection connection_;
    State state_ = State::Disconnected;
    unsigned tagNumber_ = 0;
    std::size_t answerBytes_ = 0;
    ImapResponseText text_;
    std::vector<std::string> capabilities_;
    std::vector<std::string> mechanisms_;
    bool capabilitiesSeen_ = false;
    bool utf8_ = false;
    std::uint32_t exists_ = 0;
    std::uint32_t recent_ = 0;
    std::uint32_t uidValidity_ = 0;
    std::uint32_t uidNext_ = 0;
    // Set when EXISTS or RECENT grew.
    bool arrived_ = false;
};

} // namespace mail
