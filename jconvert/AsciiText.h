#pragma once

// Character tests on ASCII bytes alone.
//
// Case folding of the bytes 'A'..'Z' and 'a'..'z' only, for protocol words,
// header names, charset names and ini keys. Bytes above ASCII are never
// folded, as the C library's locale-dependent toupper/tolower might. The
// second byte of a Shift_JIS character can fall in the letter range: text
// that may hold such characters skips them before folding.

#include <cstddef>
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
