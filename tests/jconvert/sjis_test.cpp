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

// The meaning of SjisFind written the slow way: every boundary in turn.
std::size_t FindByBoundaries(std::string_view haystack, std::string_view needle, std::size_t from)
{
    for (std::size_t at = from; at < haystack.size(); at += SjisCharLength(haystack, at))
        if (haystack.substr(at, needle.size()) == needle)
            return at;
    return npos;
}

TEST(SjisFind, LongNeedlesAgreeWithTheBoundaryWalk)
{
    // Needles longer than the short-needle path: matches inside double-byte
    // characters first, a self-overlapping needle, a match at the very end.
    std::string kana;
    for (int i = 0; i < 300; ++i)
        kana += "\x82\xa0";
    const std::string shifted = kana.substr(1, 201); // A0 82 A0 ... matches only off-boundary
    std::string repeated(500, 'a');
    const struct {
        const char* name;
        std::string haystack, needle;
        std::size_t from;
    } cases[] = {
        { "only off-boundary matches", kana, shifted, 0 },
        { "off-boundary then on a boundary", kana + "\xa0" + kana, shifted, 0 },
        { "self-overlapping needle", repeated + "b" + repeated, std::string(100, 'a') + "b", 0 },
        { "absent after a long partial match", repeated, std::string(200, 'a') + "b", 0 },
        { "at the very end", repeated + kana, kana.substr(0, 100), 100 },
        { "from past the only match", kana, kana.substr(0, 100), 402 },
    };
    for (const auto& c : cases)
        EXPECT_EQ(FindByBoundaries(c.haystack, c.needle, c.from), SjisFind(c.haystack, c.needle, c.from))
            << c.name;
    // The expected answers are not all "absent".
    EXPECT_EQ(600u, SjisFind(kana + "\xa0" + kana, shifted));
    EXPECT_EQ(0u, SjisFind(repeated + "b", std::string(100, 'a'), 0));
}

TEST(SjisStartsWith, ComparesThePrefix)
{
    EXPECT_TRUE(SjisStartsWith(Hex("83 81 83 82"), Hex("83 81")));
    EXPECT_FALSE(SjisStartsWith(Hex("83 81"), Hex("83 81 83 82")));
    EXPECT_FALSE(SjisStartsWith("abc", ""));
    EXPECT_FALSE(SjisStartsWith("abc", "abd"));
}

} // namespace
