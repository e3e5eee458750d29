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
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

// A run of ASCII digits (nothing else, at least one) as a number, when it
// is at most max; nullopt otherwise. The one reader of decimal digits.
constexpr std::optional<std::uint64_t> ParseDigits(
    std::string_view digits, std::uint64_t max = std::numeric_limits<std::uint64_t>::max())
{
    if (digits.empty())
        return std::nullopt;
    std::uint64_t value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
        const auto digit = static_cast<std::uint64_t>(c - '0');
        if (value > (max - digit) / 10)
            return std::nullopt;
        value = value * 10 + digit;
    }
    return value;
}

// An optional sign ('+' or '-') and digits as a signed 32-bit integer;
// nullopt for anything else or a value out of its range.
constexpr std::optional<std::int32_t> ParseInt32(std::string_view text)
{
    const bool negative = !text.empty() && text.front() == '-';
    if (!text.empty() && (text.front() == '+' || text.front() == '-'))
        text.remove_prefix(1);
    const auto magnitude = ParseDigits(
        text, static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max()) + (negative ? 1 : 0));
    if (!magnitude)
        return std::nullopt;
    return static_cast<std::int32_t>(
        negative ? -static_cast<std::int64_t>(*magnitude) : static_cast<std::int64_t>(*magnitude));
}

// The words of text, separated by runs of blanks (spaces).
inline std::vector<std::string_view> SplitWords(std::string_view text)
{
    std::vector<std::string_view> words;
    while (!text.empty()) {
        const std::size_t start = text.find_first_not_of(' ');
        if (start == std::string_view::npos)
            break;
        text.remove_prefix(start);
        words.push_back(text.substr(0, text.find(' ')));
        text.remove_prefix(words.back().size());
    }
    return words;
}

} // namespace jconvert
