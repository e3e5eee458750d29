#pragma once

// Shift_JIS (code page 932) character classification and a search that
// respects double-byte characters. Text is bytes; positions are 0-based.

#include <cstddef>
#include <string_view>

namespace jconvert {

// True for a double-byte lead byte: 81–9F or E0–FC. Half-width katakana
// (A1–DF) and every other byte are single-byte characters.
constexpr bool IsSjisLeadByte(unsigned char c) noexcept
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// Length in bytes of the character starting at pos: 2 for a lead byte that
// has a byte after it, otherwise 1. pos must be < text.size().
constexpr std::size_t SjisCharLength(std::string_view text, std::size_t pos) noexcept
{
    return (IsSjisLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size()) ? 2 : 1;
}

// Position of the first occurrence of needle in haystack that starts on a
// character boundary at or after from (from must itself be a boundary), or
// std::string_view::npos. An occurrence that starts on the second byte of a
// double-byte character does not count. An empty needle is never found.
// Runs in time linear in haystack and needle for any input.
std::size_t SjisFind(std::string_view haystack, std::string_view needle, std::size_t from = 0) noexcept;

// True when text begins with prefix, compared byte for byte (a match at
// position 0 is always on a boundary). An empty prefix never matches.
bool SjisStartsWith(std::string_view text, std::string_view prefix) noexcept;

} // namespace jconvert
