// Code page 932 <-> UTF-8: the edges of both decoders, the choice among
// duplicate codes, the byte-keeping variants and block-wise conversion.

#include "jconvert/cp932.h"
#include "tests/jconvert/hex_bytes.h"

#include <gtest/gtest.h>
#include <string>

using namespace jconvert;
using jconvert_test::Hex;
using jconvert_test::ToHex;

namespace {

struct Case {
    const char* name;
    const char* input; // hex
    const char* expected; // hex
};

TEST(Cp932, DecodesCharactersAndReplacesWhatIsNone)
{
    const Case cases[] = {
        { "empty", "", "" },
        { "ASCII, backslash and tilde as such", "61 5C 7E 00", "61 5C 7E 00" },
        { "half-width katakana ends", "A1 BF C0 DF", "EF BD A1 EF BD BF EF BE 80 EF BE 9F" },
        { "hiragana a", "82 A0", "E3 81 82" },
        { "full-width backslash", "81 5F", "EF BC BC" },
        { "section sign, two UTF-8 bytes", "81 98", "C2 A7" },
        { "NEC-selected small roman one", "EE EF", "E2 85 B0" },
        { "NEC-selected kanji", "ED 95 EE E0", "EF A8 91 E9 AB 99" },
        { "user-defined area ends", "F0 40 F9 FC", "EE 80 80 EE 9D 97" },
        { "80, A0, FD-FF are no characters", "80 A0 FD FE FF",
            "EF BF BD EF BF BD EF BF BD EF BF BD EF BF BD" },
        { "lead byte at the end", "61 82", "61 EF BF BD" },
        { "lead byte before a space", "81 20", "EF BF BD 20" },
        { "undefined pair with an ASCII trail keeps the ASCII", "85 40", "EF BF BD 40" },
        { "undefined pair with a high trail is one", "85 80 61", "EF BF BD 61" },
        { "lead byte before FD", "81 FD", "EF BF BD EF BF BD" },
        { "a kana byte is a trail byte too", "81 A1", "E2 96 A0" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(ToHex(Cp932ToUtf8(Hex(c.input))), ToHex(Hex(c.expected))) << c.name;
}

TEST(Cp932, EncodesTheCodeWindowsWritesAndGetaForTheRest)
{
    const Case cases[] = {
        { "ASCII", "41 00 7F", "41 00 7F" },
        { "small roman one: IBM, not NEC-selected", "E2 85 B0", "FA 40" },
        { "not sign: JIS X 0208", "EF BF A2", "81 CA" },
        { "approximately equal: JIS X 0208, not NEC row 13", "E2 89 92", "81 E0" },
        { "roman one: NEC row 13, not IBM", "E2 85 A0", "87 54" },
        { "kanji with NEC-selected and IBM codes", "EF A8 91 E9 AB 99", "FA B1 FB FC" },
        { "half-width katakana", "EF BD A1 EF BE 9F", "A1 DF" },
        { "user-defined area", "EE 80 80 EE 9D 97", "F0 40 F9 FC" },
        { "wave dash and yen sign from JIS-standard mappings", "E3 80 9C C2 A5", "81 60 5C" },
        { "emoji: one geta each", "F0 9F 98 80 F0 9F 8D A3", "81 AC 81 AC" },
        { "no CP932 form", "C3 A9 E2 82 AC", "81 AC 81 AC" },
        { "raw-byte range without keeping", "EF 9E 80", "81 AC" },
        { "overlong form: each byte bad", "C0 80", "81 AC 81 AC" },
        { "surrogate: each byte bad", "ED A0 80", "81 AC 81 AC 81 AC" },
        { "past U+10FFFF: each byte bad", "F4 90 80 80", "81 AC 81 AC 81 AC 81 AC" },
        { "sequence cut short by ASCII", "E3 81 41", "81 AC 41" },
        { "sequence cut short by the end", "41 F0 9F 98", "41 81 AC" },
        { "lone continuation and bad bytes", "80 BF FE FF", "81 AC 81 AC 81 AC 81 AC" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(ToHex(Utf8ToCp932(Hex(c.input))), ToHex(Hex(c.expected))) << c.name;
}

TEST(Cp932, KeepingBytesGivesEveryByteStringBack)
{
    const char* inputs[] = {
        "80 A0 FD FE FF",
        "61 82",
        "85 40 85 80 81 20 81 FD",
        "82 A0 EF 9E 80 5C",
        "F0 40 A1 00",
    };
    for (const char* input : inputs) {
        const std::string bytes = Hex(input);
        const std::string utf8 = Cp932ToUtf8KeepingBytes(bytes);
        EXPECT_EQ(ValidUtf8Prefix(utf8), utf8.size()) << input;
        EXPECT_EQ(ToHex(Utf8ToCp932KeepingBytes(utf8)), ToHex(bytes)) << input;
    }
    EXPECT_EQ(ToHex(Cp932ToUtf8KeepingBytes(Hex("80 85 80"))), "EF 9E 80 EF 9E 85 EF 9E 80");
}

TEST(Cp932, ValidUtf8PrefixStopsAtTheFirstIllFormedByte)
{
    const struct {
        const char* input;
        std::size_t expected;
    } cases[] = {
        { "", 0 },
        { "41 E3 81 82 F0 9F 98 80", 8 },
        { "41 E3 81", 1 },
        { "41 C0 80", 1 },
        { "41 42 43 44 45 46 47 48 ED A0 80", 8 },
    };
    for (const auto& c : cases)
        EXPECT_EQ(ValidUtf8Prefix(Hex(c.input)), c.expected) << c.input;
}

// Feeding the text in two blocks, split at every position, gives the whole
// conversion's result, for both directions and both ways with bad input.
TEST(Cp932, BlockwiseConversionEqualsWholeConversionAtEverySplit)
{
    const std::string cp932 = Hex("61 82 A0 B1 81 5F 85 40 EE EF 85 80 F0 40 80 82 A2 FF 81");
    const std::string utf8
        = Cp932ToUtf8KeepingBytes(cp932) + Hex("F0 9F 98 80 E3 81 41 C0 80 ED A0 80 E3 81");
    using Append = std::size_t (*)(std::string_view, bool, BadInput, std::string&);
    const struct {
        const char* name;
        Append append;
        const std::string& text;
    } directions[] = {
        { "CP932 to UTF-8", AppendCp932AsUtf8, cp932 },
        { "UTF-8 to CP932", AppendUtf8AsCp932, utf8 },
    };
    for (const auto& d : directions) {
        for (BadInput bad : { BadInput::Replace, BadInput::KeepBytes }) {
            std::string whole;
            ASSERT_EQ(d.append(d.text, true, bad, whole), d.text.size());
            for (std::size_t split = 0; split <= d.text.size(); ++split) {
                std::string out;
                const std::size_t used = d.append(std::string_view(d.text).substr(0, split), false, bad, out);
                EXPECT_LE(split - used, 3u);
                const std::string rest = d.text.substr(used);
                EXPECT_EQ(d.append(rest, true, bad, out), rest.size());
                EXPECT_EQ(ToHex(out), ToHex(whole)) << d.name << " split at " << split;
            }
        }
    }
}

} // namespace
