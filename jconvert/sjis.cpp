#include "jconvert/sjis.h"

#include <cstdint>
#include <cstring>
#include <new>
#include <vector>

namespace jconvert {
namespace {

// Longer needles go through KMP: the plain search can cost the needle's
// length at every position (a mail body crafted to match the second bytes
// of a memo's double-byte characters over and over).
constexpr std::size_t kShortNeedle = 64;

// Knuth-Morris-Pratt over the whole haystack: every occurrence is seen once,
// in order, in time linear in haystack and needle; the first one on a
// character boundary is the answer.
std::size_t FindLong(std::string_view haystack, std::string_view needle, std::size_t from)
{
    const std::size_t m = needle.size();
    std::vector<std::uint32_t> border(m, 0);
    for (std::size_t i = 1, k = 0; i < m; ++i) {
        while (k > 0 && needle[i] != needle[k])
            k = border[k - 1];
        if (needle[i] == needle[k])
            ++k;
        border[i] = static_cast<std::uint32_t>(k);
    }
    std::size_t boundary = from;
    for (std::size_t i = from, k = 0; i < haystack.size(); ++i) {
        while (k > 0 && haystack[i] != needle[k])
            k = border[k - 1];
        if (haystack[i] == needle[k])
            ++k;
        if (k < m)
            continue;
        const std::size_t start = i + 1 - m;
        while (boundary < start)
            boundary += SjisCharLength(haystack, boundary);
        if (boundary == start)
            return start;
        k = border[k - 1];
    }
    return std::string_view::npos;
}

// The first occurrence of a long needle: glibc's memmem (two-way, linear
// and fast) finds the first candidate; once one falls inside a double-byte
// character, KMP takes over from the next boundary, so the search never
// restarts once per rejected candidate.
std::size_t FindLongFirst(std::string_view haystack, std::string_view needle, std::size_t from)
{
#ifdef __GLIBC__
    const void* hit = ::memmem(haystack.data() + from, haystack.size() - from, needle.data(), needle.size());
    if (!hit)
        return std::string_view::npos;
    const std::size_t candidate = static_cast<std::size_t>(static_cast<const char*>(hit) - haystack.data());
    std::size_t boundary = from;
    while (boundary < candidate)
        boundary += SjisCharLength(haystack, boundary);
    if (boundary == candidate)
        return candidate;
    from = boundary;
#endif
    return FindLong(haystack, needle, from);
}

} // namespace

std::size_t SjisFind(std::string_view haystack, std::string_view needle, std::size_t from) noexcept
{
    if (needle.empty() || from > haystack.size())
        return std::string_view::npos;
    if (needle.size() > kShortNeedle && needle.size() <= UINT32_MAX) {
        try {
            return FindLongFirst(haystack, needle, from);
        } catch (const std::bad_alloc&) {
            // No room for KMP's table: the plain search below still answers.
        }
    }
    // Candidates come from the plain byte search; a second walker moves over
    // character boundaries and only ever forward, so the whole search stays
    // linear however many candidates fall inside double-byte characters.
    std::size_t boundary = from;
    std::size_t candidate = haystack.find(needle, from);
    while (candidate != std::string_view::npos) {
        while (boundary < candidate)
            boundary += SjisCharLength(haystack, boundary);
        if (boundary == candidate)
            return candidate;
        // candidate is the trail byte of the character starting at
        // boundary - 2; the next character boundary is where to look again.
        candidate = haystack.find(needle, boundary);
    }
    return std::string_view::npos;
}

bool SjisStartsWith(std::string_view text, std::string_view prefix) noexcept
{
    return !prefix.empty() && text.substr(0, prefix.size()) == prefix;
}

} // namespace jconvert
