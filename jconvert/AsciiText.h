#pragma once

// Character tests on ASCII bytes alone.
//
// Blanks are the bytes 00..20: space and the control characters, tab, CR
// and LF among them. None of them is ever the second byte of a Shift_JIS
// character, so Shift_JIS text is trimmed safely.
//
// Case folding of the bytes 'A'..'Z' and 'a'..'z' only, for protocol words,
// header names, charset names and ini keys. Bytes above ASCII are never
// folded, as the C library's locale-dependent toupper/tolower might. The
// second byte of a Shift_JIS character can fall in the letter range: text
// that may hold such characters skips them before folding.

#include <cstddef>
#include <string>
#include <string_view>

namespace jconvert {

constexpr char AsciiUpper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

constexpr char AsciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

inline std::string AsciiLowerCopy(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = AsciiLower(c);
    return out;
}

constexpr bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiUpper(a[i]) != AsciiUpper(b[i]))
            return false;
    }
    return true;
}

constexpr bool IsAsciiBlank(char c)
{
    return static_cast<unsigned char>(c) <= 0x20;
}

// text without the blanks at either end.
constexpr std::string_view TrimBlanks(std::string_view text)
{
    while (!text.empty() && IsAsciiBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsAsciiBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// The value of a hexadecimal digit (either case), -1 for any other byte.
constexpr int AsciiHexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c = AsciiLower(c);
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

} // namespace jconvert
