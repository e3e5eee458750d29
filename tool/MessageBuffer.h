#pragma once

// The tool's messages (standard error) in the encoding of the user's
// terminal. Inside the program every message is Shift_JIS; a terminal in a
// UTF-8 or EUC-JP locale would show those bytes as garbage, so they are
// converted through the codec on their way out. Where the locale names no
// encoding the tool can write Japanese in (C, POSIX, none set, or another
// one), the Shift_JIS bytes pass as they always have: scripts and tests
// compare them.

#include <streambuf>
#include <string>
#include <string_view>

namespace tool {

enum class MessageEncoding { ShiftJis, Utf8, EucJp };

// The encoding of a locale name such as "ja_JP.UTF-8" or "C.utf8", read from
// its codeset; Shift_JIS for the rest.
MessageEncoding EncodingOfLocale(std::string_view locale);

// A stream buffer that converts the Shift_JIS written to it into encoding
// and passes it to target, a line at a time (a character is never split);
// what is left without a line end passes when the buffer is destroyed.
class MessageBuffer : public std::streambuf {
public:
    MessageBuffer(std::streambuf& target, MessageEncoding encoding);
    ~MessageBuffer() override;
    MessageBuffer(const MessageBuffer&) = delete;
    MessageBuffer& operator=(const MessageBuffer&) = delete;

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* s, std::streamsize n) override;
    int sync() override;

private:
    // Converts and passes the complete lines held, or everything at the end.
    void Pass(bool all);

    std::streambuf& target_;
    MessageEncoding encoding_;
    std::string held_;
};

} // namespace tool
