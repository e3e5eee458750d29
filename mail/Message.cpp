#include "mail/Message.h"

#include "jconvert/AsciiText.h"
#include "mail/Texts.h"
#include "mail/UuLines.h"

#include <algorithm>

namespace mail {

namespace {

bool IsBlank(char c)
{
    return static_cast<unsigned char>(c) <= 0x20;
}

// Trims bytes up to the blank, as control characters and blanks; in Shift_JIS
// such a byte is never the second byte of a character.
std::string_view Trim(std::string_view s)
{
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

using jconvert::AsciiUpper;

} // namespace

void Message::Clear()
{
    headers_.clear();
    body_.clear();
    bodyError_.clear();
    lines_.clear();
}

std::size_t Message::ParseHeaders(std::span<const std::string> lines)
{
    headers_.clear();
    std::size_t i = 0;
    for (; i < lines.size() && !lines[i].empty(); ++i) {
        const std::string& line = lines[i];
        if (line.front() == ' ' || line.front() == '\t') {
            // A continuation of the field before it; one without a field
            // before it belongs to nothing and is dropped.
            if (!headers_.empty()) {
                std::string& value = headers_.back().value;
                value += ' ';
                value += Trim(line);
            }
            continue;
        }
        std::size_t colon = line.find(':');
        if (colon == std::string::npos)
            continue; // not a header field
        headers_.push_back({ std::string(Trim(std::string_view(line).substr(0, colon))),
            std::string(Trim(std::string_view(line).substr(colon + 1))) });
    }
    for (HeaderField& field : headers_)
        field.value = std::string(Trim(field.value));
    return i;
}

void Message::LoadHeaders(std::span<const std::string> lines)
{
    Clear();
    ParseHeaders(lines);
}

void Message::LoadMessage(std::span<const std::string> lines)
{
    Clear();
    lines_.assign(lines.begin(), lines.end());
    std::size_t end = ParseHeaders(lines);
    if (end < lines.size())
        ParseBody(lines.subspan(end + 1));
}

std::string Message::HeaderValue(std::string_view name) const
{
    for (const HeaderField& field : headers_) {
        if (jconvert::EqualsIgnoringAsciiCase(field.name, name))
            return field.value;
    }
    return {};
}

std::string Message::Boundary() const
{
    std::string value = HeaderValue("Content-Type");
    std::transform(value.begin(), value.end(), value.begin(), AsciiUpper);
    std::size_t at = value.find("BOUNDARY=");
    if (at == std::string::npos)
        return {};
    std::string_view rest = std::string_view(value).substr(at + 9);
    if (!rest.empty() && rest.front() == '"') {
        rest.remove_prefix(1);
        return std::string(rest.substr(0, rest.find('"')));
    }
    // An unquoted boundary is a token: it ends before the next parameter or
    // blank, so "boundary=abc; charset=x" names "ABC".
    std::size_t stop = 0;
    while (stop < rest.size() && rest[stop] != ';' && !IsBlank(rest[stop]))
        ++stop;
    return std::string(rest.substr(0, stop));
}

void Message::ParseBody(std::span<const std::string> lines)
{
    body_.clear();
    const std::string boundary = Boundary();
    const bool hasBoundary = !boundary.empty();
    const std::string opening = "--" + boundary;
    const std::string closing = opening + "--";
    if (hasBoundary) {
        // A message that is itself Base64 or quoted-printable is taken as one
        // encoded part as soon as its body starts: nothing is plain body text.
        const std::string encoding(Trim(HeaderValue("Content-Transfer-Encoding")));
        if (jconvert::EqualsIgnoringAsciiCase(encoding, "base64")
            || jconvert::EqualsIgnoringAsciiCase(encoding, "quoted-printable"))
            return;
    }

    enum class State { Body, Parts, UuBlock };
    State state = State::Body;
    std::size_t size = 0;
    for (const std::string& line : lines)
        size += line.size() + 2;
    body_.reserve(size);

    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        switch (state) {
        case State::Parts:
            if (jconvert::EqualsIgnoringAsciiCase(line, closing))
                state = State::Body;
            continue;
        case State::UuBlock:
            if (IsUuEndLine(line))
                state = State::Body;
            continue;
        case State::Body:
            break;
        }
        if (hasBoundary && jconvert::EqualsIgnoringAsciiCase(line, opening)) {
            state = State::Parts;
            continue;
        }
        if (IsUuBeginLine(line)) {
            // Only uuencode ("M") and xxencode ("h") data lines are known.
            if (i + 1 >= lines.size() || !IsKnownUuDataLine(lines[i + 1])) {
                body_.clear();
                bodyError_ = texts::kUnknownUuScheme;
                return;
            }
            state = State::UuBlock;
            continue;
        }
        body_ += line;
        body_ += "\r\n";
    }
}

} // namespace mail
