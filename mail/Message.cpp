#include "mail/Message.h"

#include "jconvert/AsciiText.h"
#include "mail/HeaderFields.h"
#include "mail/Texts.h"
#include "mail/UuLines.h"

namespace mail {

void Message::Clear()
{
    headers_.clear();
    body_.clear();
    bodyError_.clear();
    lines_.clear();
}

void Message::LoadHeaders(std::span<const std::string> lines)
{
    Clear();
    ReadHeaderFields(lines, headers_);
}

void Message::LoadMessage(std::span<const std::string> lines)
{
    Clear();
    lines_.assign(lines.begin(), lines.end());
    const std::size_t end = ReadHeaderFields(lines, headers_);
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

void Message::ParseBody(std::span<const std::string> lines)
{
    body_.clear();
    // The boundary Content-Type names, whatever type it names.
    const auto params = ReadHeaderParams(HeaderValue("Content-Type"));
    const auto named = params.find("boundary");
    const std::string boundary = named == params.end() ? std::string() : named->second;
    const bool hasBoundary = !boundary.empty();
    const std::string opening = "--" + boundary;
    const std::string closing = opening + "--";
    if (hasBoundary) {
        // A message that is itself Base64 or quoted-printable is taken as one
        // encoded part as soon as its body starts: nothing is plain body text.
        const std::string encoding = HeaderValue("Content-Transfer-Encoding");
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
