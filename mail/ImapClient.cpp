#include "mail/ImapClient.h"

#include "jconvert/AsciiText.h"
#include "jconvert/coders.h"
#include "mail/MailError.h"
#include "mail/Message.h"
#include "mail/Sasl.h"
#include "mail/Texts.h"

#include <algorithm>
#include <optional>
#include <set>
#include <stdexcept>

namespace mail {

namespace {

using State = ImapClient::State;

// The states as bits, for the table.
constexpr unsigned Bit(State state)
{
    return 1u << static_cast<unsigned>(state);
}

constexpr unsigned kSignedIn = Bit(State::Authenticated) | Bit(State::Selected);
constexpr unsigned kOpen = Bit(State::NotAuthenticated) | kSignedIn;

// A synchronising literal up to this size may go without waiting where the
// server lists LITERAL- (RFC 7888).
constexpr std::size_t kLiteralMinusLimit = 4096;

// What a kept subject costs beyond its bytes: the map's node and string.
constexpr std::size_t kEntryOverhead = 64;

// The lines of a message as the connection reads them: split at LF, a CR
// before it dropped; nothing after a final line end.
std::vector<std::string> LinesOf(std::string_view bytes)
{
    std::vector<std::string> lines;
    while (!bytes.empty()) {
        const std::size_t lf = bytes.find('\n');
        std::string_view line = bytes.substr(0, lf);
        if (lf != std::string_view::npos && !line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.emplace_back(line);
        if (lf == std::string_view::npos)
            break;
        bytes.remove_prefix(lf + 1);
    }
    return lines;
}

const ImapFetchBody* BodyOf(const ImapResponse& response, bool header)
{
    for (const ImapFetchBody& body : response.bodies) {
        if (header ? body.section.rfind("HEADER", 0) == 0 : body.section.empty())
            return &body;
    }
    return nullptr;
}

} // namespace

// One row of the command table: the command's name on the wire, the states
// it may be sent in, and the state its OK (or NO) leads to.
struct ImapClient::Rule {
    Command command;
    std::string_view name;
    unsigned allowedIn;
    std::optional<State> afterOk;
    std::optional<State> afterNo;
};

const ImapClient::Rule& ImapClient::RuleOf(Command command)
{
    static const Rule kRules[] = {
        { Command::Capability, "CAPABILITY", kOpen, {}, {} },
        { Command::StartTls, "STARTTLS", Bit(State::NotAuthenticated), {}, {} },
        { Command::Login, "LOGIN", Bit(State::NotAuthenticated), State::Authenticated, {} },
        { Command::Authenticate, "AUTHENTICATE", Bit(State::NotAuthenticated), State::Authenticated, {} },
        { Command::Enable, "ENABLE", Bit(State::Authenticated), {}, {} },
        // Never SELECT: the folder is only ever opened read-only. A refused
        // EXAMINE closes the folder open before (RFC 3501 6.3.1).
        { Command::Examine, "EXAMINE", kSignedIn, State::Selected, State::Authenticated },
        { Command::UidFetch, "UID FETCH", Bit(State::Selected), {}, {} },
        // Its "+" leads to Idling, its OK (after DONE) back here.
        { Command::Idle, "IDLE", Bit(State::Selected), State::Selected, {} },
        { Command::Logout, "LOGOUT", kOpen, State::Logout, {} },
    };
    for (const Rule& rule : kRules) {
        if (rule.command == command)
            return rule;
    }
    throw std::logic_error("IMAP command without a rule");
}

ImapClient::ImapClient(Pop3Options options, StatusHandler onStatus)
    : options_(std::move(options))
    , onStatus_(std::move(onStatus))
    , connection_(options_, [this](Pop3Status s) { Status(s); })
{
}

ImapClient::~ImapClient()
{
    connection_.Tcp().Close();
}

void ImapClient::SetState(State state)
{
    state_ = state;
}

void ImapClient::Status(Pop3Status status)
{
    if (onStatus_)
        onStatus_(status);
}

bool ImapClient::HasCapability(std::string_view name) const
{
    return std::any_of(capabilities_.begin(), capabilities_.end(),
        [&](const std::string& c) { return jconvert::EqualsIgnoringAsciiCase(c, name); });
}

void ImapClient::StartRunClock()
{
    connection_.RestartRunClock();
}

void ImapClient::Reset()
{
    SetState(State::Disconnected);
    capabilities_.clear();
    mechanisms_.clear();
    capabilitiesSeen_ = false;
    utf8_ = false;
    exists_ = recent_ = uidValidity_ = uidNext_ = 0;
    arrived_ = false;
}

void ImapClient::Connect()
{
    Reset();
    connection_.Open(kMaxLineLength);
    Greet();
    if (options_.security == Pop3Security::StartTls) {
        // A server that signs in before TLS (PREAUTH) or offers no STARTTLS
        // gets no login in clear instead.
        if (state_ != State::NotAuthenticated || !HasCapability("STARTTLS"))
            throw MailError(texts::kNoStartTls);
        const ImapResponse answer = Run(Command::StartTls, {});
        if (answer.name != "OK")
            throw MailError(answer.text);
        connection_.StartTls();
        // What the server said before TLS could have been forged on the way.
        capabilities_.clear();
        mechanisms_.clear();
        AskCapabilities();
    }
    if (state_ == State::NotAuthenticated)
        SignIn();
    EnableExtensions();
}

void ImapClient::ConnectOver(int connectedSocket)
{
    Reset();
    connection_.Adopt(connectedSocket, kMaxLineLength);
    Greet();
    if (state_ == State::NotAuthenticated)
        SignIn();
    EnableExtensions();
}

void ImapClient::Greet()
{
    answerBytes_ = 0;
    ReadResponse(kMaxLineLength);
    const ImapResponse greeting = ParseImapResponse(text_);
    if (greeting.kind != ImapResponse::Kind::Untagged)
        Unrecognized();
    if (greeting.name == "BYE")
        throw MailError(texts::kServerClosed + greeting.text);
    if (greeting.name != "OK" && greeting.name != "PREAUTH")
        Unrecognized();
    SetState(greeting.name == "OK" ? State::NotAuthenticated : State::Authenticated);
    HandleCode(greeting);
    if (!capabilitiesSeen_)
        AskCapabilities();
}

void ImapClient::AskCapabilities()
{
    capabilitiesSeen_ = false;
    const ImapResponse answer = Run(Command::Capability, {});
    if (answer.name != "OK")
        throw MailError(answer.text);
}

void ImapClient::SignIn()
{
    capabilitiesSeen_ = false;
    if (options_.auth != Pop3Auth::User) {
        Authenticate(options_.auth);
    } else {
        // The password would go out readable by anyone on the way.
        if (!connection_.Tcp().IsSecure() && !connection_.Tcp().PeerIsLocal())
            throw MailError(texts::kLoginNeedsTls);
        if (HasCapability("LOGINDISABLED")) {
            // The same password through SASL PLAIN, where the server has it.
            if (!HasCapability("AUTH=PLAIN"))
                throw MailError(texts::kLoginDisabled);
            Authenticate(Pop3Auth::Plain);
        } else {
            const ImapResponse answer
                = Run(Command::Login, { AsString(options_.user), AsString(options_.password) });
            if (answer.name != "OK")
                throw MailError(RefusalMessage(answer.text, options_.auth, mechanisms_));
        }
    }
    // Servers list more once signed in; most say so in the OK.
    if (!capabilitiesSeen_)
        AskCapabilities();
}

void ImapClient::Authenticate(Pop3Auth auth)
{
    const std::string response = connection_.SaslResponse(auth);
    const std::string mechanism(MechanismName(auth));
    // With SASL-IR (RFC 4959) the response goes with the command.
    const bool initial = HasCapability("SASL-IR");
    const std::string tag = Begin(Command::Authenticate, initial ? mechanism + " " + response : mechanism);
    ImapResponse answer = Await(tag, true, 0);
    auto reply = [&](std::string_view line) {
        connection_.Tcp().Write(std::string(line) + "\r\n");
        answer = Await(tag, true, 0);
    };
    if (!initial && answer.kind == ImapResponse::Kind::Continuation)
        reply(response);
    if (answer.kind == ImapResponse::Kind::Continuation) {
        // A challenge after the response is the server's error report.
        reply(MailConnection::ErrorChallengeAnswer(auth));
        if (answer.kind == ImapResponse::Kind::Continuation) {
            connection_.Tcp().Write("*\r\n");
            Await(tag, false, 0);
            throw MailError(texts::kUnexpectedChallenge);
        }
    }
    Settle(Command::Authenticate, answer);
    if (answer.name != "OK")
        throw MailError(RefusalMessage(answer.text, auth, mechanisms_));
}

void ImapClient::EnableExtensions()
{
    if (state_ != State::Authenticated)
        return;
    std::string wanted;
    if (HasCapability("IMAP4REV2"))
        wanted += " IMAP4rev2";
    if (HasCapability("UTF8=ACCEPT"))
        wanted += " UTF8=ACCEPT";
    // A refusal only leaves folder names in modified UTF-7.
    if (!wanted.empty() && (HasCapability("ENABLE") || HasCapability("IMAP4REV2")))
        Run(Command::Enable, { { wanted.substr(1) } });
}

ImapClient::Argument ImapClient::AsString(std::string_view text) const
{
    if (std::optional<std::string> quoted = QuotedImapString(text, utf8_))
        return { std::move(*quoted) };
    return { std::string(text), true };
}

std::string ImapClient::Begin(Command command, std::string_view line)
{
    const Rule& rule = RuleOf(command);
    if ((rule.allowedIn & Bit(state_)) == 0)
        throw std::logic_error("IMAP command in the wrong state: " + std::string(rule.name));
    answerBytes_ = 0;
    const std::string tag = "A" + std::to_string(++tagNumber_);
    std::string request = tag;
    request.append(" ").append(rule.name);
    if (!line.empty())
        request.append(" ").append(line);
    connection_.Tcp().Write(request.append("\r\n"));
    return tag;
}

ImapResponse ImapClient::Run(Command command, const std::vector<Argument>& arguments, std::size_t literalKeep,
    const FetchHandler& onFetch)
{
    // The line up to each synchronising literal goes out on its own and
    // waits for the server's "+"; LITERAL+ (and LITERAL- for small ones)
    // lets the literal follow at once.
    std::string line;
    std::string tag;
    for (const Argument& argument : arguments) {
        if (!line.empty() || !tag.empty())
            line += ' ';
        if (!argument.literal) {
            line += argument.bytes;
            continue;
        }
        const std::string size = std::to_string(argument.bytes.size());
        if (HasCapability("LITERAL+")
            || (HasCapability("LITERAL-") && argument.bytes.size() <= kLiteralMinusLimit)) {
            line.append("{").append(size).append("+}\r\n").append(argument.bytes);
            continue;
        }
        line.append("{").append(size).append("}");
        if (tag.empty()) {
            tag = Begin(command, line);
        } else {
            connection_.Tcp().Write(line + "\r\n");
        }
        ImapResponse answer = Await(tag, true, literalKeep, onFetch);
        if (answer.kind != ImapResponse::Kind::Continuation) {
            Settle(command, answer);
            return answer;
        }
        line = argument.bytes;
    }
    if (tag.empty())
        tag = Begin(command, line);
    else
        connection_.Tcp().Write(line + "\r\n");
    ImapResponse answer = Await(tag, false, literalKeep, onFetch);
    Settle(command, answer);
    return answer;
}

ImapResponse ImapClient::Await(
    const std::string& tag, bool continuationEnds, std::size_t literalKeep, const FetchHandler& onFetch)
{
    for (;;) {
        ReadResponse(literalKeep);
        ImapResponse response = ParseImapResponse(text_);
        switch (response.kind) {
        case ImapResponse::Kind::Bad:
            Unrecognized();
        case ImapResponse::Kind::Continuation:
            if (!continuationEnds)
                Unrecognized();
            return response;
        case ImapResponse::Kind::Untagged:
            if (response.name == "FETCH" && onFetch)
                onFetch(response);
            HandleUntagged(response);
            continue;
        case ImapResponse::Kind::Tagged:
            if (response.tag != tag)
                Unrecognized();
            HandleCode(response);
            return response;
        }
    }
}

void ImapClient::Settle(Command command, const ImapResponse& answer)
{
    if (answer.kind != ImapResponse::Kind::Tagged)
        return;
    const Rule& rule = RuleOf(command);
    if (answer.name == "OK" && rule.afterOk)
        SetState(*rule.afterOk);
    else if (answer.name == "NO" && rule.afterNo)
        SetState(*rule.afterNo);
}

void ImapClient::CountAnswerBytes(std::size_t bytes)
{
    answerBytes_ += bytes;
    if (answerBytes_ > options_.maxReplyBytes)
        throw MailError(texts::kReplyTooLarge);
}

void ImapClient::ReadResponse(std::size_t literalKeep)
{
    text_.pieces.clear();
    text_.literals.clear();
    std::string line;
    connection_.Tcp().ReadLine(line);
    CountAnswerBytes(line.size() + 2);
    for (;;) {
        const std::optional<std::uint64_t> size = LiteralAtEnd(line);
        text_.pieces.push_back(std::move(line));
        line.clear();
        if (!size)
            return;
        // A literal larger than the reply may be ends the run before a byte
        // of it is read.
        if (text_.literals.size() >= kMaxLiterals || *size > options_.maxReplyBytes - answerBytes_)
            throw MailError(texts::kReplyTooLarge);
        ImapLiteral& literal = text_.literals.emplace_back();
        if (!ReadLiteral(*size, literalKeep, literal, line)) {
            connection_.Tcp().ReadLine(line);
            CountAnswerBytes(line.size() + 2);
        }
    }
}

bool ImapClient::ReadLiteral(std::uint64_t size, std::size_t keep, ImapLiteral& literal, std::string& rest)
{
    // Read line by line, so that the connection's bounds hold inside
    // literals too; each line's end is put back as it came.
    auto append = [&](std::string_view bytes) {
        if (literal.kept != ImapLiteral::Kept::Whole)
            return;
        if (literal.bytes.size() + bytes.size() > keep) {
            literal.bytes.append(bytes.substr(0, keep - literal.bytes.size()));
            literal.kept = ImapLiteral::Kept::OverLimit;
            return;
        }
        literal.bytes.append(bytes);
    };
    std::uint64_t left = size;
    std::string line;
    while (left > 0) {
        std::size_t bytes = 0;
        const bool whole = connection_.Tcp().ReadLineOrSkip(line, bytes, options_.maxReplyBytes - answerBytes_);
        CountAnswerBytes(bytes);
        const std::string_view ending = bytes - line.size() == 2 ? "\r\n" : "\n";
        if (bytes <= left) {
            left -= bytes;
            if (!whole) {
                if (literal.kept == ImapLiteral::Kept::Whole)
                    literal.kept = ImapLiteral::Kept::LongLine;
                continue;
            }
            append(line);
            append(ending);
            continue;
        }
        // The literal ends inside this line; the response goes on after it.
        if (!whole)
            throw MailError(texts::kLineTooLong);
        line.append(ending);
        append(std::string_view(line).substr(0, left));
        rest.assign(line, left);
        rest.resize(rest.size() - std::min(rest.size(), ending.size()));
        return true;
    }
    return false;
}

void ImapClient::HandleCode(const ImapResponse& response)
{
    if (response.code == "CAPABILITY") {
        capabilities_ = response.words;
        capabilitiesSeen_ = true;
    } else if (response.code == "UIDVALIDITY" || response.code == "UIDNEXT") {
        const std::optional<std::uint32_t> n = ParseImapNumber(response.codeText);
        (response.code == "UIDVALIDITY" ? uidValidity_ : uidNext_) = n.value_or(0);
    }
    if (!capabilitiesSeen_)
        return;
    mechanisms_.clear();
    for (const std::string& capability : capabilities_) {
        if (capability.rfind("AUTH=", 0) == 0)
            mechanisms_.push_back(capability.substr(5));
    }
}

void ImapClient::HandleUntagged(const ImapResponse& response)
{
    const std::string& name = response.name;
    if (name == "BYE") {
        // The server is going; nothing more can be asked.
        if (state_ == State::Logout)
            return;
        SetState(State::Logout);
        connection_.Tcp().Close();
        throw MailError(texts::kServerClosed + response.text);
    }
    if (name == "CAPABILITY") {
        capabilities_ = response.words;
        capabilitiesSeen_ = true;
        HandleCode(response);
    } else if (name == "ENABLED") {
        for (const std::string& word : response.words) {
            if (word == "UTF8=ACCEPT" || word == "IMAP4REV2")
                utf8_ = true;
        }
    } else if (name == "EXISTS") {
        arrived_ = arrived_ || response.number > exists_;
        exists_ = response.number;
    } else if (name == "RECENT") {
        arrived_ = arrived_ || response.number > recent_;
        recent_ = response.number;
    } else if (name == "EXPUNGE") {
        exists_ -= exists_ > 0 ? 1 : 0;
    } else {
        HandleCode(response);
    }
}

void ImapClient::Unrecognized() const
{
    std::string shown;
    for (std::size_t i = 0; i < text_.pieces.size(); ++i)
        shown.append(i > 0 ? " … " : "").append(text_.pieces[i]);
    if (shown.size() > 200)
        shown.resize(200);
    throw MailError(texts::kUnrecognizedImapReply + "\n\"" + shown + "\"");
}

ImapClient::Folder ImapClient::Examine(const std::string& sjisName)
{
    exists_ = recent_ = uidValidity_ = uidNext_ = 0;
    const ImapResponse answer = Run(Command::Examine, { AsString(ImapFolderName(sjisName, utf8_)) });
    if (answer.name != "OK")
        throw MailError(texts::kFolderNotOpened + sjisName + texts::kFolderNotOpenedEnd + answer.text);
    return { uidValidity_, uidNext_, exists_ };
}

std::uint32_t ImapClient::FetchSubjects(std::uint32_t from, std::vector<NewMail>& mails, std::uint32_t& total)
{
    std::map<std::uint32_t, std::string> held;
    std::size_t heldBytes = 0;
    // Subjects from this UID on are not kept (0: all are).
    std::uint32_t cutoff = 0;
    total = 0;
    const auto onFetch = [&](ImapResponse& response) {
        const ImapFetchBody* header = BodyOf(response, true);
        // "n:*" also names the last message when n is past it.
        if (header == nullptr || response.uid < from || response.uid == 0)
            return;
        ++total;
        if ((cutoff != 0 && response.uid >= cutoff) || held.count(response.uid) > 0)
            return;
        Message msg;
        msg.LoadHeaders(LinesOf(header->bytes));
        std::string subject = msg.Subject();
        heldBytes += subject.size() + kEntryOverhead;
        held.emplace(response.uid, std::move(subject));
        while (heldBytes > kMaxHeldSubjectBytes && held.size() > 1) {
            const auto last = std::prev(held.end());
            heldBytes -= last->second.size() + kEntryOverhead;
            cutoff = last->first;
            held.erase(last);
        }
    };
    const ImapResponse answer
        = Run(Command::UidFetch, { { std::to_string(from) + ":* (UID BODY.PEEK[HEADER.FIELDS (SUBJECT)])" } },
            kMaxHeaderBytes, onFetch);
    if (answer.name != "OK")
        throw MailError(answer.text);
    for (auto& [uid, subject] : held)
        mails.push_back({ uid, std::move(subject) });
    return cutoff;
}

void ImapClient::FetchBodies(std::span<const std::uint32_t> uids, std::map<std::uint32_t, Body>& bodies)
{
    if (uids.empty())
        return;
    const std::set<std::uint32_t> asked(uids.begin(), uids.end());
    std::size_t held = 0;
    const auto onFetch = [&](ImapResponse& response) {
        const ImapFetchBody* whole = BodyOf(response, false);
        if (whole == nullptr || asked.count(response.uid) == 0)
            return;
        Body& body = bodies[response.uid];
        if (body.fetch == Fetch::Ok)
            return;
        body.lines.clear();
        if (whole->kept != ImapLiteral::Kept::Whole) {
            body.fetch = whole->kept == ImapLiteral::Kept::LongLine ? Fetch::LineTooLong : Fetch::TooLarge;
            return;
        }
        // As POP3 counts them: the header and the body each within its limit.
        std::vector<std::string> lines = LinesOf(whole->bytes);
        std::size_t header = 0;
        std::size_t text = 0;
        bool inBody = false;
        for (const std::string& line : lines) {
            const bool separator = !inBody && line.empty();
            inBody = inBody || separator;
            (inBody ? text : header) += separator ? 0 : line.size() + 2;
        }
        if (header > kMaxHeaderBytes || text > options_.maxBodyBytes) {
            body.fetch = Fetch::TooLarge;
        } else if (response.uid != uids.front() && held + whole->bytes.size() > kMaxHeldBodyBytes) {
            body.fetch = Fetch::NotHeld;
        } else {
            held += whole->bytes.size();
            body.fetch = Fetch::Ok;
            body.lines = std::move(lines);
        }
    };
    Run(Command::UidFetch, { { ImapUidSet(uids) + " (UID BODY.PEEK[])" } },
        options_.maxBodyBytes + kMaxHeaderBytes, onFetch);
    // A refusal (NO) or a message the server did not send: not received.
    for (const std::uint32_t uid : uids)
        bodies.try_emplace(uid);
}

ImapClient::Wake ImapClient::WaitForNewMail(
    std::chrono::steady_clock::time_point deadline, int wakeFd, int renewMs)
{
    if (state_ != State::Selected)
        throw std::logic_error("IMAP IDLE without an open folder");
    if (!HasCapability("IDLE"))
        throw MailError(texts::kNoIdle);
    using Clock = std::chrono::steady_clock;
    try {
        arrived_ = false;
        for (;;) {
            const std::string tag = Begin(Command::Idle, {});
            const ImapResponse started = Await(tag, true, kMaxLineLength);
            if (started.kind == ImapResponse::Kind::Tagged)
                throw MailError(started.text);
            SetState(State::Idling);
            // A connection held open is silent for long: neither the
            // minimum rate nor the run's time applies until DONE.
            connection_.Tcp().SetLowSpeedLimit(0, 0);
            connection_.Tcp().StartRunClock(0);
            const Clock::time_point renewAt = Clock::now() + std::chrono::milliseconds(std::max(renewMs, 1));
            bool woken = false;
            while (!arrived_ && !woken && state_ == State::Idling) {
                const Clock::time_point until = std::min(deadline, renewAt);
                const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now());
                if (left.count() <= 0)
                    break;
                const TcpConnection::Input input = connection_.Tcp().WaitForInput(
                    static_cast<int>(std::min<long long>(left.count(), 1 << 30)), wakeFd);
                if (input == TcpConnection::Input::Woken)
                    woken = true;
                if (input != TcpConnection::Input::Ready)
                    continue;
                answerBytes_ = 0;
                ReadResponse(kMaxLineLength);
                const ImapResponse response = ParseImapResponse(text_);
                if (response.kind == ImapResponse::Kind::Untagged)
                    HandleUntagged(response);
                else if (response.kind == ImapResponse::Kind::Tagged && response.tag == tag)
                    SetState(State::Selected); // the server ended the IDLE itself
                else if (response.kind != ImapResponse::Kind::Continuation)
                    Unrecognized();
            }
            EndIdle(tag);
            if (arrived_)
                return Wake::NewMail;
            if (woken)
                return Wake::Woken;
            if (Clock::now() >= deadline)
                return Wake::Deadline;
        }
    } catch (...) {
        connection_.Tcp().Close();
        SetState(State::Disconnected);
        throw;
    }
}

void ImapClient::EndIdle(const std::string& tag)
{
    RestoreLimits();
    if (state_ != State::Idling)
        return;
    connection_.Tcp().Write("DONE\r\n");
    const ImapResponse answer = Await(tag, false, kMaxLineLength);
    Settle(Command::Idle, answer);
    if (answer.name != "OK")
        throw MailError(answer.text);
}

void ImapClient::RestoreLimits()
{
    connection_.Tcp().SetLowSpeedLimit(options_.lowSpeedBytesPerSecond, options_.lowSpeedWindowMs);
    StartRunClock();
}

void ImapClient::Disconnect() noexcept
{
    // The connection is going away whatever fails here: a LOGOUT that cannot
    // be sent or a status handler that throws does not stop the close.
    try {
        if (connection_.Tcp().IsOpen()) {
            Status(hsDisconnecting);
            try {
                if (state_ == State::Idling) {
                    connection_.Tcp().Write("DONE\r\n");
                    SetState(State::Selected);
                }
                if ((RuleOf(Command::Logout).allowedIn & Bit(state_)) != 0)
                    Begin(Command::Logout, {});
            } catch (const MailError&) {
            }
            SetState(State::Logout);
            connection_.Tcp().Close();
            Status(hsDisconnected);
        }
    } catch (...) {
    }
    connection_.Tcp().Close();
    SetState(State::Disconnected);
}

} // namespace mail
