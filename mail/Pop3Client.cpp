#include "mail/Pop3Client.h"

#include "mail/MailError.h"
#include "mail/Message.h"
#include "mail/Texts.h"
#include "mail/TlsContext.h"

#include <climits>
#include <optional>

namespace mail {

namespace {

bool WordIs(std::string_view word, std::string_view status)
{
    if (word.size() != status.size())
        return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        char c = word[i];
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        if (c != status[i])
            return false;
    }
    return true;
}

} // namespace

void Pop3Client::Status(Pop3Status status)
{
    if (OnStatus)
        OnStatus(status);
}

void Pop3Client::Connect()
{
    // A line break would end the USER or PASS line early and let the rest
    // through as a command of its own (a DELE, say), so such a login is
    // refused before anything is sent.
    if (Username.find_first_of("\r\n") != std::string::npos
        || Password.find_first_of("\r\n") != std::string::npos)
        throw MailError(texts::kLineBreakInLogin);
    // The trust settings are ready (and a bad CA file reported) before the
    // server is contacted.
    std::optional<TlsContext> tls;
    if (Security != Pop3Security::None)
        tls.emplace(CaFile);
    connection_.SetReadTimeout(ReadTimeoutMs);
    connection_.SetMaxLineLength(kMaxLineLength);
    connection_.Open(Host, Port, ConnectTimeoutMs, [this](Pop3Status s) { Status(s); });
    // A mode this client does not know is taken as the strictest.
    if (Security != Pop3Security::None && Security != Pop3Security::StartTls)
        connection_.StartTls(*tls, Host, ConnectTimeoutMs);
    std::string text;
    Exchange({}, text); // greeting
    if (Security == Pop3Security::StartTls) {
        // A refusal ends the run with the server's words; the login never
        // goes out in clear instead.
        Exchange("STLS", text);
        connection_.StartTls(*tls, Host, ConnectTimeoutMs);
    }
    Exchange("USER " + Username, text);
    Exchange("PASS " + Password, text);
}

Pop3Client::Reply Pop3Client::Exchange(std::string_view command, std::string& text, bool errIsAnswer)
{
    if (!command.empty()) {
        std::string request;
        request.reserve(command.size() + 2);
        request.append(command).append("\r\n");
        connection_.Write(request);
    }
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
        text.assign(rest);
        if (errIsAnswer)
            return Reply::Err;
        // A refusal without words still has to say something.
        throw MailError(rest.empty() ? std::string(word) : std::string(rest));
    }
    throw MailError(std::string(texts::kUnrecognizedReply) + "\n\"" + line_ + "\"");
}

void Pop3Client::ReadMultiLine()
{
    std::size_t count = 0;
    for (;;) {
        connection_.ReadLine(line_);
        if (!line_.empty() && line_.front() == '.') {
            if (line_.size() == 1)
                break;
            if (line_[1] == '.')
                line_.erase(0, 1);
        }
        // Reuse the strings of earlier replies to keep allocation down.
        if (count < lines_.size())
            lines_[count].swap(line_);
        else
            lines_.push_back(std::move(line_));
        ++count;
    }
    lines_.resize(count);
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

void Pop3Client::RetrieveHeader(int n, Message& msg)
{
    std::string text;
    Exchange("TOP " + std::to_string(n) + " 0", text);
    ReadMultiLine();
    msg.LoadHeaders(lines_);
}

bool Pop3Client::Retrieve(int n, Message& msg)
{
    std::string text;
    if (Exchange("RETR " + std::to_string(n), text, true) == Reply::Err)
        return false;
    ReadMultiLine();
    msg.LoadMessage(lines_);
    return true;
}

void Pop3Client::Disconnect() noexcept
{
    // The connection is going away whatever fails here: a QUIT that cannot
    // be sent or a status handler that throws does not stop the close.
    try {
        if (connection_.IsOpen()) {
            Status(hsDisconnecting);
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
}

} // namespace mail
