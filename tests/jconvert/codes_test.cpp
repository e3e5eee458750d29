#include "jconvert/codes.h"
#include "tests/jconvert/hex_bytes.h"

#include <functional>
#include <gtest/gtest.h>

using namespace jconvert;
using jconvert_test::Hex;
using jconvert_test::ToHex;

namespace {

std::string WithByteAt(std::size_t length, std::size_t position, char byte)
{
    std::string text(length, 'a');
    text[position - 1] = byte;
    return text;
}

// Restores STRICT_CHECK_LEN however a test ends.
struct StrictCheckLen {
    explicit StrictCheckLen(int value) { STRICT_CHECK_LEN = value; }
    ~StrictCheckLen() { STRICT_CHECK_LEN = 512; }
};

TEST(InCodeCheck, ClassifiesByFirstDecisiveByte)
{
    const struct {
        std::string text;
        int expected;
    } cases[] = {
        { "", CODE_ASCII },
        { Hex("00"), CODE_ASCII }, // a single byte is never looked at
        { Hex("82"), CODE_ASCII },
        { "plain text\r\n", CODE_ASCII },
        { Hex("61 00 61"), CODE_BINARY },
        { Hex("61 FF 61"), CODE_BINARY },
        { Hex("61 61 00"), CODE_ASCII }, // the last byte is not screened
        { WithByteAt(700, 600, '\0'), CODE_BINARY }, // past the screening, found by the scan
        { WithByteAt(700, 700, '\0'), CODE_ASCII }, // last byte: never seen
        { Hex("1B 24 42 25 61 1B 28 42"), CODE_JIS83 },
        { Hex("1B 24 40 25 61"), CODE_JIS78 },
        { Hex("1B 24 42"), CODE_JIS83 }, // escape filling the whole text
        { Hex("1B 24"), CODE_ASCII }, // the byte past the end reads as zero
        { Hex("1B 28 42 61"), CODE_ASCII },
        { Hex("1B 24 42 83 81 83 82"), CODE_JIS83 }, // the escape comes first
        { Hex("1B 24 42 25 61 00 61"), CODE_BINARY }, // screening runs before the scan
        { Hex("83 81 83 82"), CODE_SJIS }, // メモ
        { Hex("C6 FC CB DC"), CODE_EUC }, // 日本
        { Hex("A5 E1 A5 E2"), CODE_EUC_OR_SJIS }, // メモ in EUC, valid Shift_JIS too
        { Hex("B1 B2"), CODE_EUC_OR_SJIS },
        { Hex("B1 B2 83 81"), CODE_SJIS }, // a later byte settles it
        { Hex("B1 B2 1B 24 42"), CODE_JIS83 },
        { Hex("8E A1"), CODE_EUC_OR_SJIS },
        { Hex("8E 40"), CODE_SJIS },
        { Hex("8E 20 61"), CODE_ASCII },
        { Hex("B1 61"), CODE_SJIS }, // kana then ASCII
        { Hex("B1 A0 61"), CODE_ASCII },
        { Hex("F0 61"), CODE_EUC },
        { Hex("E0 40"), CODE_SJIS },
        { Hex("E0 FD"), CODE_EUC },
        { Hex("E0 A1"), CODE_EUC_OR_SJIS },
        { Hex("E0 30 61"), CODE_ASCII },
        // Look-ahead after A1-DF E0-EF: runs over bytes >= 40, narrower
        // Shift_JIS range 8F-9C, and skips the byte where it stops.
        { Hex("B1 E0 88 9F 61"), CODE_SJIS },
        { Hex("B1 E0 FD 61"), CODE_EUC },
        { Hex("B1 E0 41 42 FE 20"), CODE_EUC },
        { Hex("B1 E0 9D 9E 20 61"), CODE_EUC_OR_SJIS },
        { Hex("B1 E0 20 83 81"), CODE_SJIS },
        { Hex("B1 E0 1B 24 42"), CODE_EUC_OR_SJIS },
    };
    for (const auto& c : cases)
        EXPECT_EQ(InCodeCheck(c.text), c.expected) << ToHex(c.text);
}

TEST(InCodeCheck, ScreeningLengthIsReadOnEveryCall)
{
    const std::string jisWithZero = Hex("1B 24 42") + WithByteAt(700, 600, '\0');
    EXPECT_EQ(InCodeCheck(jisWithZero), CODE_JIS83);
    {
        StrictCheckLen longer(1000);
        EXPECT_EQ(InCodeCheck(jisWithZero), CODE_BINARY);
    }
    {
        StrictCheckLen none(-5);
        EXPECT_EQ(InCodeCheck(Hex("1B 24 42 00 61")), CODE_JIS83);
    }
}

TEST(CharacterMapping, ToSjisAndToJisAreInverse)
{
    EXPECT_EQ(ToSjis(0x25, 0x61), Hex("83 81"));
    EXPECT_EQ(ToJis(0x83, 0x81), Hex("25 61"));
    EXPECT_EQ(ToSjis(0x30, 0x21), Hex("88 9F"));
    EXPECT_EQ(ToJis(0x88, 0x9F), Hex("30 21"));
    for (int row = 0x21; row <= 0x7E; ++row) {
        for (int col = 0x21; col <= 0x7E; ++col) {
            const std::string sjis = ToSjis(static_cast<unsigned char>(row), static_cast<unsigned char>(col));
            ASSERT_EQ(ToJis(static_cast<unsigned char>(sjis[0]), static_cast<unsigned char>(sjis[1])),
                std::string({ static_cast<char>(row), static_cast<char>(col) }));
        }
    }
}

// One converter applied to one input, with the output it must give.
struct ConverterCase {
    const char* name;
    std::function<std::string(const std::string&)> fn;
    std::string in;
    std::string out;
};

TEST(Converters, ConvertByteByByte)
{
    const ConverterCase cases[] = {
        // Half-width katakana to full-width, voiced marks joined.
        { "sjis2jis83", sjis2jis83, Hex("B6 DE"), Hex("1B 24 42 25 2C") },
        { "sjis2jis83", sjis2jis83, Hex("CA DF 61"), Hex("1B 24 42 25 51 1B 28 4A 61") },
        { "sjis2jis83", sjis2jis83, Hex("B3 DE"), Hex("1B 24 42 25 74") },
        { "sjis2jis83", sjis2jis83, Hex("CE DE CE DF"), Hex("1B 24 42 25 5C 25 5D") },
        { "sjis2jis83", sjis2jis83, Hex("B1 DE B0 DF"), Hex("1B 24 42 25 22 21 2B 21 3C 21 2C") },
        { "sjis2jis83", sjis2jis83, Hex("A1 A2 A5 A6"), Hex("1B 24 42 21 23 21 56 21 26 25 72") },
        { "sjis2jis83", sjis2jis83, Hex("83 81 0D 0A 83 82"),
            Hex("1B 24 42 25 61 1B 28 4A 0D 0A 1B 24 42 25 62") },
        { "sjis2jis83", sjis2jis83, Hex("61 83"), Hex("61 1B 24 42 22 2E") }, // cut-off character
        { "euc2jis83", euc2jis83, Hex("8E B6 8E DE"), Hex("1B 24 42 25 2C") },
        { "euc2jis83", euc2jis83, Hex("8E CA 8E DF 61"), Hex("1B 24 42 25 51 1B 28 4A 61") },
        { "euc2jis83", euc2jis83, Hex("8E B6 DE"), Hex("1B 24 42 25 2B 22 2E") },
        { "euc2jis83", euc2jis83, Hex("8E B6 8E"), Hex("1B 24 42 25 2B 22 2E") },
        { "euc2jis83", euc2jis83, Hex("8E 41 61"), Hex("1B 24 42 22 2E 1B 28 4A 61") },
        { "euc2jis83", euc2jis83, Hex("C6 FC 0A"), Hex("1B 24 42 46 7C 1B 28 4A 0A") },
        // JIS readers: loose escapes, the second of two adjacent escapes is
        // plain bytes, an escape at the end adds nothing.
        { "jis2sjis", jis2sjis, Hex("1B 24 42 25 61 25 62 1B 28 42 1B 28 4A"), Hex("83 81 83 82 1B 28 4A") },
        { "jis2sjis", jis2sjis, Hex("1B 24 42 25 61 1B 28 42"), Hex("83 81") },
        { "jis2sjis", jis2sjis, Hex("1B 24 40 30 21 1B 28 48 61"), Hex("88 9F 61") },
        { "jis2sjis", jis2sjis, Hex("1B 24 42 25 61 0A"), Hex("83 81 0A") },
        { "jis2sjis", jis2sjis, Hex("61 1B"), Hex("61") },
        { "jis2sjis", jis2sjis, Hex("61 1B 24"), Hex("61") },
        { "jis2sjis", jis2sjis, Hex("1B 41 42 61"), Hex("61") },
        { "jis2euc", jis2euc, Hex("1B 24 42 25 61 0D 0A 1B 28 4A 61"), Hex("A5 E1 0D 0A 61") },
        { "jis2euc", jis2euc, Hex("1B 24 42 1B 28 42 25 61"), Hex("1B A8 C2 A5 E1") },
        { "jis2euc", jis2euc, Hex("1B 24 42 25 61 1B 28 42"), Hex("A5 E1") },
        { "euc2sjis", euc2sjis, Hex("A5 E1 8E B1 61 80 FF"), Hex("83 81 B1 61 80 FF") },
        { "euc2sjis", euc2sjis, Hex("61 A5"), Hex("61 A5") },
        { "euc2sjis", euc2sjis, Hex("61 8E"), Hex("61 8E") },
        { "sjis2euc", sjis2euc, Hex("83 81 B1 61"), Hex("A5 E1 8E B1 61") },
        { "sjis2euc", sjis2euc, Hex("61 83"), Hex("61 83") },
    };
    for (const auto& c : cases)
        EXPECT_EQ(ToHex(c.fn(c.in)), ToHex(c.out)) << c.name << " of " << ToHex(c.in);
}

// A half-width katakana byte is a character on its own, also as the last
// byte of the text, where a check for a cut-off lead byte must not catch it.
TEST(Converters, HalfWidthKanaAtTheVeryEndIsConverted)
{
    const ConverterCase cases[] = {
        { "sjis2euc", sjis2euc, Hex("B1"), Hex("8E B1") },
        { "sjis2euc", sjis2euc, Hex("83 81 DF"), Hex("A5 E1 8E DF") },
        { "sjis2euc", sjis2euc, Hex("61 A1"), Hex("61 8E A1") },
        { "sjis2jis83", sjis2jis83, Hex("61 B1"), Hex("61 1B 24 42 25 22") },
        { "euc2sjis", euc2sjis, Hex("61 8E B1"), Hex("61 B1") },
        { "euc2jis83", euc2jis83, Hex("61 8E B1"), Hex("61 1B 24 42 25 22") },
        { "StrictConvertJCode SJIS to EUC",
            [](const std::string& t) { return StrictConvertJCode(t, CODE_SJIS, CODE_EUC); }, Hex("83 81 B6"),
            Hex("A5 E1 8E B6") },
    };
    for (const auto& c : cases)
        EXPECT_EQ(ToHex(c.fn(c.in)), ToHex(c.out)) << c.name << " of " << ToHex(c.in);
}

TEST(Dispatchers, RouteByInputAndOutputCode)
{
    const std::string text = Hex("1B 24 42 25 61 1B 28 42 61 83 81 A5 E1");
    const std::string unchanged = text;
    const struct {
        int in;
        int out;
        std::string expected;
    } cases[] = {
        { CODE_JIS83, CODE_EUC, jis2euc(text) },
        { CODE_JIS78, CODE_SJIS, jis2sjis(text) },
        { CODE_JIS78, CODE_JIS83, unchanged },
        { CODE_EUC, CODE_JIS83, euc2jis83(text) },
        { CODE_EUC, CODE_SJIS, euc2sjis(text) },
        { CODE_SJIS, CODE_JIS83, sjis2jis83(text) },
        { CODE_SJIS, CODE_EUC, sjis2euc(text) },
        { CODE_SJIS, CODE_SJIS, unchanged },
        { CODE_SJIS, CODE_JIS78, unchanged },
        { CODE_ASCII, CODE_SJIS, unchanged },
        { CODE_BINARY, CODE_EUC, unchanged },
        { CODE_EUC_OR_SJIS, CODE_JIS83, unchanged },
        { -1, CODE_SJIS, unchanged },
        { 7, CODE_SJIS, "" },
        { 9, CODE_JIS83, "" },
        { 9, 8, unchanged },
    };
    for (const auto& c : cases)
        EXPECT_EQ(StrictConvertJCode(text, c.in, c.out), c.expected) << c.in << " -> " << c.out;

    EXPECT_EQ(ConvertJCode(Hex("1B 24 42 25 61"), CODE_SJIS), Hex("83 81"));
    EXPECT_EQ(ConvertJCode(Hex("C6 FC CB DC"), CODE_SJIS), Hex("93 FA 96 7B"));
    EXPECT_EQ(ConvertJCode(Hex("A5 E1 A5 E2"), CODE_SJIS), Hex("A5 E1 A5 E2"));
    EXPECT_EQ(ConvertJCode(Hex("83 81"), CODE_JIS78), Hex("83 81"));
}

} // namespace
