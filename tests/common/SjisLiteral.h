#pragma once

// Tests write their Japanese text in UTF-8; Sjis() turns it into the
// program's Shift_JIS (code page 932 as Windows writes it) through the codec,
// and Utf8() turns Shift_JIS back for readable failure messages.

#include "jconvert/cp932.h"

#include <stdexcept>
#include <string>
#include <string_view>

namespace test_text {

inline std::string Sjis(std::string_view utf8)
{
    // A character with no Shift_JIS form would silently become the geta
    // mark; in a test that is a typo, not an intended text.
    static constexpr std::string_view kGeta = "\xE3\x80\x93"; // 〓 in UTF-8
    std::string out = jconvert::Utf8ToCp932(utf8);
    if (utf8.find(kGeta) == std::string_view::npos && out.find("\x81\xAC") != std::string::npos)
        throw std::logic_error("test text has no Shift_JIS form: " + std::string(utf8));
    return out;
}

inline std::string Utf8(std::string_view sjis)
{
    return jconvert::Cp932ToUtf8(sjis);
}

} // namespace test_text

using test_text::Sjis;
