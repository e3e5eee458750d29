// Fuzz entry point for the double-byte aware search: the first byte picks
// where the input splits into needle and memo; the answer must be the first
// occurrence on a character boundary, as a walk over every boundary finds
// it. Long needles take a different path, so the split favours them.
#include "fuzz/FuzzRequire.h"
#include "jconvert/sjis.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

using fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::size_t split = bytes.size() * data[0] / 255;
    const std::string_view needle = bytes.substr(0, split), memo = bytes.substr(split);

    std::size_t expected = std::string_view::npos;
    if (!needle.empty())
        for (std::size_t at = 0; at < memo.size(); at += jconvert::SjisCharLength(memo, at))
            if (memo.substr(at, needle.size()) == needle) {
                expected = at;
                break;
            }
    require(jconvert::SjisFind(memo, needle) == expected);
    return 0;
}
