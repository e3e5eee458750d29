#include "mail/Pop3Client.h"

#include "jconvert/AsciiText.h"
#include "mail/MailError.h"
#include "mail/Message.h"
#include "mail/Texts.h"
#include "mail/TlsContext.h"

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

} // namespace

Pop3Client::Pop3Client(Pop3Options options, StatusHandler onStatus)
    : options_(std::move(options))
    , onStatus_(std::move(onStatus))
{
}

void Pop3Client::Status(Pop3Status status)
{
    if (onStatus_)
        onStatus_(status);
}

void Pop3Client::Connect()
{
    // A line break would end the USER or PASS line early and let the rest
    // through as a command of its own (a DELE, say), so such a login is
    // refused before anything is sent.
    if (options_.user.find_first_of("\r\n") != std::string::npos
        || options_.password.find_first_of("\r\n") != std::string::npos)
        throw MailError(texts::kLineBreakInLogin);
    // The trust settings are ready (and a bad CA file reported) before the
    // server is contacted.
    std::optional<TlsContext> tls;
    if (options_.security != Pop3Security::None)
        tls.emplace(options_.caFile);
    ResetExchangeState();
    connection_.SetReadTimeout(options_.readTimeoutMs);
    connection_.SetMaxLineLength(kMaxLineLength);
    connection_.SetLowSpeedLimit(options_.lowSpeedBytesPerSecond, options_.lowSpeedWindowMs);
    connection_.Open(
        options_.host, options_.port, options_.connectTimeoutMs, [this](Pop3Status s) { Status(s); });
    // A mode this client does not know is taken as the strictest.
    if (options_.security != Pop3Security::None && options_.security != Pop3Security::StartTls)
        connection_.StartTls(*tls, options_.host, options_.connectTimeoutMs);
    std::string text;
    Exchange({}, text); // greeting
    AskCapabilities();
    if (options_.security == Pop3Security::StartTls) {
        // A refusal ends the run with the server's words; the login never
        // goes out in clear instead.
        Exchange("STLS", text);
        connection_.StartTls(*tls, options_.host, options_.connectTimeoutMs);
        // What the server said before TLS could have been forged on the way.
        AskCapabilities();
    }
    Login();
}

void Pop3Client::ConnectOver(int connectedSocket)
{
    connection_.SetReadTimeout(options_.readTimeoutMs);
    connection_.SetMaxLineLength(kMaxLineLength);
    connection_.SetLowSpeedLimit(options_.lowSpeedBytesPerSecond, options_.lowSpeedWindowMs);
    connection_.Adopt(connectedSocket);
    ResetExchangeState();
    std::string text;
    Exchange({}, text);
    AskCapabilities();
    Login();
}

void Pop3Client::ResetExchangeState()
{
    pipelining_ = false;
    sent_.clear();
    unsent_.clear();
    unsentCount_ = 0;
    headers_.clear();
    wantsWhole_ = nullptr;
    planned_ = 0;
    nextTop_ = 1;
    stopped_ = false;
    lost_ = false;
}

void Pop3Client::Login()
{
    std::string text;
    Exchange("USER " + options_.user, text);
    Exchange("PASS " + options_.password, text);
}

void Pop3Client::AskCapabilities()
{
    pipelining_ = false;
    std::string text;
    // A server without CAPA answers -ERR and is spoken to one command at a
    // time.
    if (Exchange("CAPA", text, true) == Reply::Err)
        return;
    ReadMultiLine(kMaxHeaderBytes, kMaxHeaderBytes);
    for (const std::string& capability : lines_) {
        std::string_view name = std::string_view(capability).substr(0, capability.find(' '));
        if (WordIs(name, "PIPELINING"))
            pipelining_ = true;
    }
}

Pop3Client::Reply Pop3Client::Exchange(std::string_view command, std::string& text, bool errIsAnswer)
{
    if (!command.empty()) {
        std::string request;
        request.reserve(command.size() + 2);
        request.append(command).append("\r\n");
        connection_.Write(request);
    }
    return ReadStatus(text, errIsAnswer);
}

Pop3Client::Reply Pop3Client::ReadStatus(std::string& text, bool errIsAnswer)
{
    connection_.ReadLine(line_);
    std::string_view reply = line_;
    std::size_t space = reply.find(' ');
    std::string_view word = reply.substr(0, space);
    std::string_view rest = space == std::string_view::npos ? std::string_view() : reply.substr(space + 1);
    if (WordIs(word, "+OK")) {
        text.assign(rest);
        return Reply::Ok;
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

bool Pop3Client::ReadMultiLine(std::size_t maxHeaderBytes, std::size_t maxBodyBytes)
{
    std::size_t count = 0;
    std::size_t headerBytes = 0;
    std::size_t bodyBytes = 0;
    std::size_t replyBytes = 0;
    bool inBody = false;
    bool keeping = true;
    for (;;) {
        connection_.ReadLine(line_);
        replyBytes += line_.size() + 2;
        if (replyBytes > options_.maxReplyBytes)
            throw MailError(texts::kReplyTooLarge);
        if (!line_.empty() && line_.front() == '.') {
            if (line_.size() == 1)
                break;
            if (line_[1] == '.')
                line_.erase(0, 1);
        }
        // Past a limit the rest of the reply is still read, so that the
        // next reply is found, but nothing of it is held.
        if (!keeping)
            continue;
        // The blank line between header and body belongs to neither.
        const bool separator = !inBody && line_.empty();
        inBody = inBody || separator;
        std::size_t& used = inBody ? bodyBytes : headerBytes;
        used += separator ? 0 : line_.size() + 2;
        if (used > (inBody ? maxBodyBytes : maxHeaderBytes)) {
            keeping = false;
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
    return keeping;
}

int Pop3Client::CheckMessages()
{
    std::string text;
    Exchange("STAT", text);
    std::string_view number = std::string_view(text).substr(0, text.find(' '));
    long long count = 0;
    for (char c : number) {
        if (c < '0' || c > '9' || count > INT_MAX / 10)
            throw MailError(std::string(texts::kBadStatReply) + "\n\"" + line_ + "\"");
        count = count * 10 + (c - '0');
    }
    if (count > INT_MAX)
        throw MailError(std::string(texts::kBadStatReply) + "\n\"" + line_ + "\"");
    return static_cast<int>(count);
}

void Pop3Client::PlanFetches(int count, WantsWhole wantsWhole)
{
    planned_ = count;
    wantsWhole_ = std::move(wantsWhole);
}

void Pop3Client::Queue(Command command, int n)
{
    unsent_.append(command == Command::Top ? "TOP " : "RETR ").append(std::to_string(n));
    unsent_.append(command == Command::Top ? " 0\r\n" : "\r\n");
    sent_.push_back({ command, n });
    ++unsentCount_;
    if (command == Command::Top && n >= nextTop_)
        nextTop_ = n + 1;
}

bool Pop3Client::IsDue(Command command, int n) const
{
    return std::any_of(
        sent_.begin(), sent_.end(), [&](const Sent& s) { return s.command == command && s.n == n; });
}

void Pop3Client::Flush()
{
    // Keeps the window full: refilled in one write once a quarter of it has
    // been answered, so that a run costs a few round trips, not one per
    // message, and the requests still go out in batches.
    if (pipelining_ && !stopped_ && !lost_ && sent_.size() <= kPipelineWindow * 3 / 4) {
        while (sent_.size() < kPipelineWindow && nextTop_ <= planned_)
            Queue(Command::Top, nextTop_);
    }
    if (!unsent_.empty()) {
        connection_.Write(unsent_);
        unsent_.clear();
        unsentCount_ = 0;
    }
}

void Pop3Client::ReadNextReply()
{
    const Sent due = sent_.front();
    try {
        Flush();
        std::string text;
        const Reply reply = ReadStatus(text, true);
        sent_.pop_front();
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
            stopped_ = true;
        } else {
            ReadMultiLine(kMaxHeaderBytes, 0);
            header.lines.assign(lines_.begin(), lines_.end());
            // The whole message is asked for now, behind the requests
            // already out, so that it is on its way when the run needs it.
            if (pipelining_ && !stopped_ && wantsWhole_ && due.n <= planned_) {
                Message msg;
                msg.LoadHeaders(header.lines);
                if (wantsWhole_(msg))
                    Queue(Command::Retr, due.n);
            }
        }
        headers_.push_back(std::move(header));
    } catch (...) {
        lost_ = true;
        throw;
    }
}

void Pop3Client::RetrieveHeader(int n, Message& msg)
{
    for (;;) {
        auto found
            = std::find_if(headers_.begin(), headers_.end(), [n](const HeaderReply& h) { return h.n == n; });
        if (found != headers_.end()) {
            HeaderReply header = std::move(*found);
            headers_.erase(headers_.begin(), found + 1);
            if (!header.ok)
                throw MailError(header.error);
            msg.LoadHeaders(header.lines);
            return;
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
    while (sent_.front().command != Command::Retr || sent_.front().n != n)
        ReadNextReply();
    bool kept = false;
    try {
        Flush();
        std::string text;
        const Reply reply = ReadStatus(text, true);
        sent_.pop_front();
        if (reply == Reply::Err)
            return Fetch::Refused;
        kept = ReadMultiLine(kMaxHeaderBytes, options_.maxBodyBytes);
    } catch (...) {
        lost_ = true;
        throw;
    }
    if (!kept) {
        lines_.clear();
        msg.Clear();
        return Fetch::TooLarge;
    }
    msg.LoadMessage(lines_);
    return Fetch::Ok;
}

void Pop3Client::Disconnect() noexcept
{
    // The connection is going away whatever fails here: a QUIT that cannot
    // be sent or a status handler that throws does not stop the close.
    try {
        if (connection_.IsOpen()) {
            Status(hsDisconnecting);
            // Replies still due are read first, so that the QUIT is the
            // server's last command and meets no unread replies; requests
            // never written are forgotten.
            sent_.resize(sent_.size() - unsentCount_);
            unsent_.clear();
            unsentCount_ = 0;
            stopped_ = true;
            try {
                while (!lost_ && !sent_.empty()) {
                    ReadNextReply();
                    headers_.clear();
                }
            } catch (const MailError&) {
            }
            try {
                connection_.Write("QUIT\r\n");
            } catch (const MailError&) {
            }
            connection_.Close();
            Status(hsDisconnected);
        }
    } catch (...) {
    }
    connection_.Close();
    ResetExchangeState();
}

} // namespace mail
