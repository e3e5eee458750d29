#include "mail/Pop3Client.h"

#include "jconvert/AsciiText.h"
#include "jconvert/coders.h"
#include "mail/MailError.h"
#include "mail/Message.h"
#include "mail/Sasl.h"
#include "mail/Texts.h"

#include <algorithm>
#include <climits>
#include <optional>

namespace mail {

namespace {

// status is written in capitals; the server may answer in either case.
bool WordIs(std::string_view word, std::string_view status)
{
    return jconvert::EqualsIgnoringAsciiCase(word, status);
}

// What a kept line costs beyond its bytes: the string and its allocation.
constexpr std::size_t kLineOverhead = sizeof(std::string) + 16;

// A unique id as RFC 1939 allows it: 1 to 70 characters from 0x21 to 0x7E.
bool IsUniqueId(std::string_view id)
{
    return !id.empty() && id.size() <= 70
        && std::all_of(id.begin(), id.end(), [](char c) { return c >= 0x21 && c <= 0x7e; });
}

} // namespace

Pop3Client::Pop3Client(Pop3Options options, StatusHandler onStatus)
    : options_(std::move(options))
    , onStatus_(std::move(onStatus))
    , connection_(options_, [this](Pop3Status s) { Status(s); })
{
}

void Pop3Client::Status(Pop3Status status)
{
    if (onStatus_)
        onStatus_(status);
}

// POP3's commands: the states each may be sent in, and where its success
// leads.
constexpr unsigned In(Pop3Client::State state)
{
    return 1u << static_cast<unsigned>(state);
}

const Pop3Client::Rule Pop3Client::kCommands[] = {
    { Command::Capa, "CAPA", In(State::Authorization), State::Authorization },
    { Command::Stls, "STLS", In(State::Authorization), State::Authorization },
    { Command::User, "USER", In(State::Authorization), State::Authorization },
    { Command::Pass, "PASS", In(State::Authorization), State::Transaction },
    { Command::Auth, "AUTH", In(State::Authorization), State::Transaction },
    { Command::Stat, "STAT", In(State::Transaction), State::Transaction },
    { Command::Uidl, "UIDL", In(State::Transaction), State::Transaction },
    { Command::Top, "TOP", In(State::Transaction), State::Transaction },
    { Command::Retr, "RETR", In(State::Transaction), State::Transaction },
    { Command::Quit, "QUIT", In(State::Greeting) | In(State::Authorization) | In(State::Transaction),
        State::Closed },
};

const Pop3Client::Rule& Pop3Client::RuleOf(Command command)
{
    return *std::find_if(std::begin(kCommands), std::end(kCommands),
        [command](const Rule& rule) { return rule.command == command; });
}

std::string Pop3Client::Request(Command command, std::string_view argument) const
{
    const Rule& rule = RuleOf(command);
    if ((rule.allowedIn & In(state_)) == 0)
        throw MailError(std::string(texts::kCommandOutOfTurn) + std::string(rule.word));
    std::string request(rule.word);
    if (!argument.empty())
        request.append(" ").append(argument);
    return request;
}

void Pop3Client::Connect()
{
    caps_ = {};
    pipe_ = {};
    connection_.Open(kMaxLineLength);
    Greet();
}

void Pop3Client::ConnectOver(int connectedSocket)
{
    caps_ = {};
    pipe_ = {};
    connection_.Adopt(connectedSocket, kMaxLineLength);
    Greet();
}

void Pop3Client::Greet()
{
    SetState(State::Greeting);
    std::string text;
    ReadStatus(text, false);
    SetState(State::Authorization);
    AskCapabilities();
    if (options_.security == Pop3Security::StartTls) {
        // A refusal ends the run with the server's words; the login never
        // goes out in clear instead.
        Exchange(Command::Stls, {}, text);
        connection_.StartTls();
        // What the server said before TLS could have been forged on the way.
        AskCapabilities();
    }
    Login();
}

void Pop3Client::Login()
{
    if (options_.auth != Pop3Auth::User) {
        Authenticate();
        return;
    }
    std::string text;
    if (Exchange(Command::User, options_.user, text, true) == Reply::Err
        || Exchange(Command::Pass, options_.password, text, true) == Reply::Err)
        throw MailError(RefusalMessage(text, options_.auth, caps_.mechanisms));
}

void Pop3Client::Authenticate()
{
    const std::string response = connection_.SaslResponse();
    const std::string command = Request(Command::Auth, MechanismName(options_.auth));
    std::string text;
    // A command with its initial response stays within 255 octets (RFC
    // 5034); a longer one, as a token makes it, goes in two steps: the
    // mechanism, then the response after the server's "+".
    const bool initial = command.size() + 1 + response.size() + 2 <= 255;
    Reply reply = AuthStep(initial ? command + " " + response : command, text);
    if (!initial && reply == Reply::More)
        reply = AuthStep(response, text);
    if (reply == Reply::More) {
        // A challenge after the response is the server's error report.
        reply = AuthStep(MailConnection::ErrorChallengeAnswer(options_.auth), text);
        if (reply == Reply::More) {
            AuthStep("*", text);
            throw MailError(texts::kUnexpectedChallenge);
        }
    }
    if (reply == Reply::Err)
        throw MailError(RefusalMessage(text, options_.auth, caps_.mechanisms));
    SetState(RuleOf(Command::Auth).success);
}

Pop3Client::Reply Pop3Client::AuthStep(std::string_view line, std::string& text)
{
    std::string request;
    request.reserve(line.size() + 2);
    request.append(line).append("\r\n");
    connection_.Tcp().Write(request);
    return ReadStatus(text, true, true);
}

void Pop3Client::AskCapabilities()
{
    caps_.pipelining = false;
    caps_.uidl = false;
    caps_.mechanisms.clear();
    std::string text;
    // A server without CAPA answers -ERR and is spoken to one command at a
    // time.
    if (Exchange(Command::Capa, {}, text, true) == Reply::Err)
        return;
    ReadMultiLine(kMaxHeaderBytes, kMaxHeaderBytes);
    for (const std::string& capability : lines_) {
        std::string_view rest = capability;
        std::string_view name = rest.substr(0, rest.find(' '));
        if (WordIs(name, "PIPELINING"))
            caps_.pipelining = true;
        if (WordIs(name, "UIDL"))
            caps_.uidl = true;
        if (WordIs(name, "SASL"))
            for (const std::string_view mechanism : jconvert::SplitWords(rest.substr(name.size())))
                caps_.mechanisms.emplace_back(mechanism);
    }
}

Pop3Client::Reply Pop3Client::Exchange(
    Command command, std::string_view argument, std::string& text, bool errIsAnswer)
{
    connection_.Tcp().Write(Request(command, argument) + "\r\n");
    const Reply reply = ReadStatus(text, errIsAnswer);
    if (reply == Reply::Ok)
        SetState(RuleOf(command).success);
    return reply;
}

Pop3Client::Reply Pop3Client::ReadStatus(std::string& text, bool errIsAnswer, bool moreIsAnswer)
{
    connection_.Tcp().ReadLine(line_);
    std::string_view reply = line_;
    std::size_t space = reply.find(' ');
    std::string_view word = reply.substr(0, space);
    std::string_view rest = space == std::string_view::npos ? std::string_view() : reply.substr(space + 1);
    if (WordIs(word, "+OK")) {
        text.assign(rest);
        return Reply::Ok;
    }
    if (moreIsAnswer && word == "+") {
        text.assign(rest);
        return Reply::More;
    }
    if (WordIs(word, "-ERR")) {
        while (!rest.empty() && rest.front() == ' ')
            rest.remove_prefix(1);
        // A refusal without words still has to say something.
        text.assign(rest.empty() ? word : rest);
        if (errIsAnswer)
            return Reply::Err;
        throw MailError(text);
    }
    throw MailError(std::string(texts::kUnrecognizedReply) + "\n\"" + line_ + "\"");
}

bool Pop3Client::ReadReplyLine(std::size_t& replyBytes)
{
    std::size_t bytes = 0;
    lineWhole_ = connection_.Tcp().ReadLineOrSkip(line_, bytes, options_.maxReplyBytes - replyBytes);
    replyBytes += bytes;
    if (replyBytes > options_.maxReplyBytes)
        throw MailError(texts::kReplyTooLarge);
    if (!line_.empty() && line_.front() == '.') {
        if (line_.size() == 1)
            return false;
        if (line_[1] == '.')
            line_.erase(0, 1);
    }
    return true;
}

Pop3Client::Kept Pop3Client::ReadMultiLine(std::size_t maxHeaderBytes, std::size_t maxBodyBytes)
{
    std::size_t count = 0;
    std::size_t headerBytes = 0;
    std::size_t bodyBytes = 0;
    std::size_t replyBytes = 0;
    bool inBody = false;
    Kept kept = Kept::Whole;
    while (ReadReplyLine(replyBytes)) {
        // Past a limit the rest of the reply is still read, so that the
        // next reply is found, but nothing of it is held.
        if (kept != Kept::Whole)
            continue;
        // A line over the length limit loses the rest of the header (or the
        // message) with it: what follows could be taken for something else.
        if (!lineWhole_) {
            kept = Kept::LongLine;
            continue;
        }
        // The blank line between header and body belongs to neither.
        const bool separator = !inBody && line_.empty();
        inBody = inBody || separator;
        std::size_t& used = inBody ? bodyBytes : headerBytes;
        used += separator ? 0 : line_.size() + 2;
        if (used > (inBody ? maxBodyBytes : maxHeaderBytes)) {
            kept = Kept::OverLimit;
            continue;
        }
        // Reuse the strings of earlier replies to keep allocation down.
        if (count < lines_.size())
            lines_[count].swap(line_);
        else
            lines_.push_back(std::move(line_));
        ++count;
    }
    lines_.resize(count);
    return kept;
}

int Pop3Client::CheckMessages()
{
    std::string text;
    Exchange(Command::Stat, {}, text);
    const std::string_view number = std::string_view(text).substr(0, text.find(' '));
    // No number at all is an empty mailbox.
    const auto count
        = number.empty() ? std::optional<std::uint64_t>(0) : jconvert::ParseDigits(number, INT_MAX);
    if (!count)
        throw MailError(std::string(texts::kBadStatReply) + "\n\"" + line_ + "\"");
    return static_cast<int>(*count);
}

bool Pop3Client::ListUniqueIds(int count, std::unordered_map<int, std::string>& ids, std::size_t maxBytes)
{
    ids.clear();
    std::string text;
    if (!caps_.uidl || Exchange(Command::Uidl, {}, text, true) == Reply::Err)
        return false;
    std::size_t replyBytes = 0;
    std::size_t held = 0;
    bool fits = true;
    while (ReadReplyLine(replyBytes)) {
        if (!fits || !lineWhole_)
            continue;
        // "n id": a line of any other form, a number outside the mailbox or
        // a second id for one message gives that message none.
        std::string_view line = line_;
        const std::size_t space = line.find(' ');
        if (space == std::string_view::npos)
            continue;
        const auto n = jconvert::ParseDigits(line.substr(0, space), static_cast<std::uint64_t>(count));
        const std::string_view id = jconvert::TrimBlanks(line.substr(space + 1));
        if (!n || *n < 1 || !IsUniqueId(id))
            continue;
        held += id.size() + 2 * kLineOverhead;
        if (held > maxBytes) {
            fits = false;
            continue;
        }
        ids.emplace(static_cast<int>(*n), id);
    }
    if (!fits)
        ids.clear();
    return fits;
}

void Pop3Client::PlanFetches(int count, WantsWhole wantsWhole)
{
    pipe_.planned = count;
    pipe_.wantsWhole = std::move(wantsWhole);
}

void Pop3Client::Queue(Command command, int n)
{
    pipe_.unsent
        .append(Request(command, command == Command::Top ? std::to_string(n) + " 0" : std::to_string(n)))
        .append("\r\n");
    pipe_.sent.push_back({ command, n });
    ++pipe_.unsentCount;
    if (command == Command::Top && n >= pipe_.nextTop)
        pipe_.nextTop = n + 1;
}

bool Pop3Client::IsDue(Command command, int n) const
{
    return std::any_of(pipe_.sent.begin(), pipe_.sent.end(),
        [&](const Sent& s) { return s.command == command && s.n == n; });
}

void Pop3Client::Flush()
{
    // Keeps the window full: refilled in one write once a quarter of it has
    // been answered, so that a run costs a few round trips, not one per
    // message, and the requests still go out in batches.
    // While replies dropped for their size wait to be asked for again, no
    // more are asked ahead: each header then costs at most two fetches.
    const bool dropping = std::any_of(
        pipe_.headers.begin(), pipe_.headers.end(), [](const HeaderReply& h) { return h.dropped; });
    if (caps_.pipelining && !pipe_.stopped && !pipe_.lost && !dropping
        && pipe_.sent.size() <= kPipelineWindow * 3 / 4 && pipe_.heldBytes <= kMaxHeldHeaderBytes / 2) {
        while (pipe_.sent.size() < kPipelineWindow && pipe_.nextTop <= pipe_.planned)
            Queue(Command::Top, pipe_.nextTop);
    }
    if (!pipe_.unsent.empty()) {
        connection_.Tcp().Write(pipe_.unsent);
        pipe_.unsent.clear();
        pipe_.unsentCount = 0;
    }
}

void Pop3Client::ReadNextReply()
{
    const Sent due = pipe_.sent.front();
    try {
        Flush();
        std::string text;
        const Reply reply = ReadStatus(text, true);
        pipe_.sent.pop_front();
        if (due.command == Command::Retr) {
            // A message nobody waits for any more: read and dropped.
            if (reply == Reply::Ok)
                ReadMultiLine(0, 0);
            return;
        }
        HeaderReply header { due.n, reply == Reply::Ok, std::move(text), {} };
        if (!header.ok) {
            // The run ends at this refusal, as it would one command at a
            // time: nothing further is asked for.
            pipe_.stopped = true;
        } else {
            ReadMultiLine(kMaxHeaderBytes, 0);
            for (const std::string& line : lines_)
                header.held += line.size() + kLineOverhead;
            if (due.n != pipe_.wanted && pipe_.heldBytes + header.held > kMaxHeldHeaderBytes) {
                // Asked for again when the run comes to it.
                header.dropped = true;
                header.held = 0;
            } else {
                header.lines.assign(lines_.begin(), lines_.end());
                // The whole message is asked for now, behind the requests
                // already out, so that it is on its way when the run needs
                // it.
                if (caps_.pipelining && !pipe_.stopped && pipe_.wantsWhole && due.n <= pipe_.planned) {
                    Message msg;
                    msg.LoadHeaders(header.lines);
                    if (pipe_.wantsWhole(due.n, msg))
                        Queue(Command::Retr, due.n);
                }
            }
        }
        pipe_.heldBytes += header.held;
        pipe_.headers.push_back(std::move(header));
    } catch (...) {
        pipe_.lost = true;
        throw;
    }
}

void Pop3Client::DropHeaders(std::deque<HeaderReply>::iterator end)
{
    for (auto h = pipe_.headers.begin(); h != end; ++h)
        pipe_.heldBytes -= h->held;
    pipe_.headers.erase(pipe_.headers.begin(), end);
}

void Pop3Client::RetrieveHeader(int n, Message& msg)
{
    pipe_.wanted = n;
    for (;;) {
        auto found = std::find_if(
            pipe_.headers.begin(), pipe_.headers.end(), [n](const HeaderReply& h) { return h.n == n; });
        if (found != pipe_.headers.end()) {
            HeaderReply header = std::move(*found);
            DropHeaders(found + 1);
            if (!header.dropped) {
                pipe_.wanted = 0;
                if (!header.ok)
                    throw MailError(header.error);
                msg.LoadHeaders(header.lines);
                return;
            }
        }
        if (!IsDue(Command::Top, n))
            Queue(Command::Top, n);
        ReadNextReply();
    }
}

Pop3Client::Fetch Pop3Client::Retrieve(int n, Message& msg)
{
    if (!IsDue(Command::Retr, n))
        Queue(Command::Retr, n);
    // Header replies ahead of it are kept for the messages that follow.
    while (pipe_.sent.front().command != Command::Retr || pipe_.sent.front().n != n)
        ReadNextReply();
    Kept kept = Kept::Whole;
    try {
        Flush();
        std::string text;
        const Reply reply = ReadStatus(text, true);
        pipe_.sent.pop_front();
        if (reply == Reply::Err)
            return Fetch::Refused;
        kept = ReadMultiLine(kMaxHeaderBytes, options_.maxBodyBytes);
    } catch (...) {
        pipe_.lost = true;
        throw;
    }
    if (kept != Kept::Whole) {
        lines_.clear();
        msg.Clear();
        return kept == Kept::LongLine ? Fetch::LineTooLong : Fetch::TooLarge;
    }
    msg.LoadMessage(lines_);
    return Fetch::Ok;
}

void Pop3Client::Disconnect() noexcept
{
    // The connection is going away whatever fails here: a QUIT that cannot
    // be sent or a status handler that throws does not stop the close.
    try {
        if (connection_.Tcp().IsOpen()) {
            Status(hsDisconnecting);
            // Replies still due are read first, so that the QUIT is the
            // server's last command and meets no unread replies; requests
            // never written are forgotten.
            pipe_.sent.resize(pipe_.sent.size() - pipe_.unsentCount);
            pipe_.unsent.clear();
            pipe_.unsentCount = 0;
            pipe_.stopped = true;
            try {
                while (!pipe_.lost && !pipe_.sent.empty()) {
                    ReadNextReply();
                    DropHeaders(pipe_.headers.end());
                }
            } catch (const MailError&) {
            }
            try {
                connection_.Tcp().Write(Request(Command::Quit) + "\r\n");
            } catch (const MailError&) {
            }
            connection_.Tcp().Close();
            Status(hsDisconnected);
        }
    } catch (...) {
    }
    connection_.Tcp().Close();
    SetState(State::Closed);
    caps_ = {};
    pipe_ = {};
}

} // namespace mail
