#include "jconvert/sjis.h"
#include "tests/jconvert/hex_bytes.h"

#include <gtest/gtest.h>

using namespace jconvert;
using jconvert_test::Hex;
using jconvert_test::ToHex;

namespace {

constexpr std::size_t npos = std::string_view::npos;

TEST(SjisFind, MatchesOnlyOnCharacterBoundaries)
{
    const struct {
        std::string haystack;
        std::string needle;
        std::size_t from;
        std::size_t expected;
    } cases[] = {
        { Hex("83 41 41"), Hex("41"), 0, 2 }, // first 41 is the trail of ア
        { Hex("83 41"), Hex("41"), 0, npos },
        { Hex("B1 41"), Hex("41"), 0, 1 }, // half-width kana is one byte
        { Hex("41 83"), Hex("83"), 0, 1 }, // lead byte alone at the end
        { Hex("81 81 41"), Hex("81 41"), 0, npos }, // candidate on a trail byte only
        { Hex("83 83 83 83 41"), Hex("83 41"), 0, npos }, // overlapping candidates
        { Hex("83 83 83 41"), Hex("83 41"), 0, 2 },
        { Hex("81 81 81 81"), Hex("81 81"), 0, 0 },
        { Hex("81 81 81 81"), Hex("81 81"), 2, 2 },
        { Hex("E0 61 61 E0 61"), Hex("61"), 0, 2 },
        { Hex("E0 61 61 E0 61"), Hex("61"), 3, npos },
        { "abcabc", "abc", 1, 3 },
        { "abc", "", 0, npos },
        { "abc", "c", 3, npos },
        { "abc", "c", 4, npos },
        { "", "a", 0, npos },
    };
    for (const auto& c : cases)
        EXPECT_EQ(SjisFind(c.haystack, c.needle, c.from), c.expected)
            << ToHex(c.needle) << " in " << ToHex(c.haystack) << " from " << c.from;
}

TEST(SjisFind, LongRunOfLeadBytes)
{
    // The only candidate is a trail byte unless the run has odd length.
    std::string haystack(100000, '\x81');
    haystack += "A";
    EXPECT_EQ(SjisFind(haystack, Hex("81 41")), npos);
    haystack.insert(0, "\x81");
    EXPECT_EQ(SjisFind(haystack, Hex("81 41")), 100000u);
}

TEST(SjisStartsWith, ComparesThePrefix)
{
    EXPECT_TRUE(SjisStartsWith(Hex("83 81 83 82"), Hex("83 81")));
    EXPECT_FALSE(SjisStartsWith(Hex("83 81"), Hex("83 81 83 82")));
    EXPECT_FALSE(SjisStartsWith("abc", ""));
    EXPECT_FALSE(SjisStartsWith("abc", "abd"));
}

} // namespace
