#include "MessageBuffer.h"

#include "jconvert/codes.h"
#include "jconvert/cp932.h"
#include "platform/Locale.h"

#include <algorithm>

namespace tool {

MessageEncoding EncodingOfLocale(std::string_view locale)
{
    const std::string codeset = platform::PartsOf(locale).codeset;
    if (codeset == "utf8")
        return MessageEncoding::Utf8;
    if (codeset == "eucjp" || codeset == "ujis")
        return MessageEncoding::EucJp;
    return MessageEncoding::ShiftJis;
}

MessageBuffer::MessageBuffer(std::streambuf& target, MessageEncoding encoding)
    : target_(target)
    , encoding_(encoding)
{
}

MessageBuffer::~MessageBuffer()
{
    Pass(true);
    target_.pubsync();
}

MessageBuffer::int_type MessageBuffer::overflow(int_type c)
{
    if (traits_type::eq_int_type(c, traits_type::eof()))
        return traits_type::not_eof(c);
    const char byte = traits_type::to_char_type(c);
    xsputn(&byte, 1);
    return c;
}

std::streamsize MessageBuffer::xsputn(const char* s, std::streamsize n)
{
    held_.append(s, static_cast<std::size_t>(n));
    if (encoding_ == MessageEncoding::ShiftJis || std::find(s, s + n, '\n') != s + n)
        Pass(false);
    return n;
}

int MessageBuffer::sync()
{
    Pass(false);
    return target_.pubsync();
}

void MessageBuffer::Pass(bool all)
{
    // Shift_JIS passes as it is; the others a line at a time, since a line
    // end is never part of a double-byte character.
    std::size_t end = held_.size();
    if (!all && encoding_ != MessageEncoding::ShiftJis) {
        const std::size_t lineEnd = held_.rfind('\n');
        end = lineEnd == std::string::npos ? 0 : lineEnd + 1;
    }
    if (end == 0)
        return;
    const std::string_view text(held_.data(), end);
    std::string out;
    switch (encoding_) {
    case MessageEncoding::ShiftJis:
        out.assign(text);
        break;
    case MessageEncoding::Utf8:
        jconvert::AppendCp932AsUtf8(text, true, jconvert::BadInput::Replace, out);
        break;
    case MessageEncoding::EucJp:
        out = jconvert::sjis2euc(std::string(text));
        break;
    }
    target_.sputn(out.data(), static_cast<std::streamsize>(out.size()));
    held_.erase(0, end);
}

} // namespace tool
