#include "jconvert/sjis.h"

namespace jconvert {

std::size_t SjisFind(std::string_view haystack, std::string_view needle, std::size_t from) noexcept
{
    if (needle.empty() || from > haystack.size())
        return std::string_view::npos;
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
