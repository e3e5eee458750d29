#include "schedule/SjisSearch.h"

#include "jconvert/sjis.h"

namespace schedule {

bool SjisContains(std::string_view text, std::string_view needle)
{
    return jconvert::SjisFind(text, needle, 0) != std::string_view::npos;
}

std::string SjisReplaceAll(std::string_view text, std::string_view from, std::string_view to)
{
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    for (;;) {
        const std::size_t hit = jconvert::SjisFind(text, from, pos);
        if (hit == std::string_view::npos)
            break;
        out.append(text.substr(pos, hit - pos));
        out.append(to);
        // The patterns are whole characters, so the end of a match is again
        // a character boundary.
        pos = hit + from.size();
    }
    out.append(text.substr(pos));
    return out;
}

} // namespace schedule
