#pragma once

// Tests write their Japanese text in UTF-8 and convert it to the program's
// code page 932 here, through the C library's own converter, so the
// expected bytes do not come from the code under test.

#include <iconv.h>
#include <stdexcept>
#include <string>
#include <string_view>

namespace schedule_test {

inline std::string Convert(std::string_view text, const char* to, const char* from)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        throw std::runtime_error("iconv_open failed");
    std::string out(text.size() * 4 + 4, '\0');
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    char* dst = out.data();
    std::size_t outLeft = out.size();
    const std::size_t rc = iconv(cd, &in, &inLeft, &dst, &outLeft);
    iconv_close(cd);
    if (rc == static_cast<std::size_t>(-1))
        throw std::runtime_error("iconv failed on test text");
    out.resize(out.size() - outLeft);
    return out;
}

// UTF-8 test text as Shift_JIS bytes.
inline std::string S(std::string_view utf8)
{
    return Convert(utf8, "CP932", "UTF-8");
}
// Shift_JIS bytes as UTF-8, for readable failure messages.
inline std::string U(std::string_view sjis)
{
    return Convert(sjis, "UTF-8", "CP932");
}

} // namespace schedule_test
