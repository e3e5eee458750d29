// The block-wise conversion against the whole-text functions, on generated
// text split at every position, and the detection that decides a stream's
// input encoding from its first bytes.

#include "jconvert/CodeStream.h"
#include "jconvert/codes.h"
#include "jconvert/cp932.h"
#include "tests/jconvert/hex_bytes.h"

#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

using namespace jconvert;
using jconvert_test::Hex;
using jconvert_test::ToHex;

namespace {

// Shift_JIS text from pieces that exercise every step: ASCII and line ends,
// double-byte characters, half-width kana with and without voiced marks,
// NEC and IBM codes, the user-defined area, and bytes that are no character.
std::string GeneratedSjis(unsigned seed, std::size_t pieces, bool wellFormed = false)
{
    static const char* const kPieces[] = { "a", "xyz ", "\r\n", "\n", "\x83\x81", "\x88\x9F", "\xB6\xDE",
        "\xCA\xDF", "\xB3\xDE", "\xB1", "\xDE", "\xEE\xEF", "\xED\x95", "\x87\x54", "\xFA\x40", "\xF0\x40",
        "\x81\x60", "\x80", "\xA0", "\xFF", "\x85\x40", "\x1B", "\x82", "\x00" };
    std::mt19937 random(seed);
    // The pieces from "\x80" on are no characters.
    std::uniform_int_distribution<std::size_t> pick(0, std::size(kPieces) - (wellFormed ? 8 : 1));
    std::string text;
    for (std::size_t i = 0; i < pieces; ++i) {
        const char* piece = kPieces[pick(random)];
        text += piece[0] == '\0' ? std::string(1, '\0') : std::string(piece);
    }
    return text;
}

std::string WithoutByteOrderMark(const std::string& text)
{
    return text.rfind("\xEF\xBB\xBF", 0) == 0 ? text.substr(3) : text;
}

// The whole-text conversion the stream must match.
std::string Whole(const std::string& text, int in, int out)
{
    if (in == out)
        return text;
    if (in == CODE_JIS83 && out == CODE_EUC)
        return jis2euc(text);
    if (in == CODE_EUC && out == CODE_JIS83)
        return euc2jis83(text);
    std::string sjis = text;
    if (in == CODE_JIS83)
        sjis = jis2sjis(text);
    else if (in == CODE_EUC)
        sjis = euc2sjis(text);
    else if (in == CODE_UTF8)
        sjis = Utf8ToCp932(WithoutByteOrderMark(text));
    if (out == CODE_JIS83)
        return sjis2jis83(sjis);
    if (out == CODE_EUC)
        return sjis2euc(sjis);
    if (out == CODE_UTF8)
        return Cp932ToUtf8(sjis);
    return sjis;
}

std::string Streamed(const std::vector<std::string_view>& blocks, int in, int out)
{
    CodeStream stream(in, out);
    std::string result;
    for (std::string_view block : blocks)
        stream.Write(block, result);
    stream.Finish(result);
    return result;
}

TEST(CodeStream, EqualsTheWholeConversionSplitAtEveryPosition)
{
    const std::string sjis = GeneratedSjis(11, 120);
    const std::string wellFormed = GeneratedSjis(12, 100, true);
    // Each encoding's text, with what its reader must cope with: adjacent
    // and old-style escapes and one cut off at the end in JIS, a cut-off
    // character in EUC-JP, a byte-order mark and ill-formed bytes in UTF-8.
    const struct {
        int code;
        std::string text;
    } inputs[] = {
        { CODE_SJIS, sjis + "\x83" },
        { CODE_EUC, sjis2euc(sjis) + "\x8E\xB6\x8E\xDE\xC6" },
        { CODE_JIS83, sjis2jis83(sjis) + "\x1B(B\x1B$Bx\x1B$@0!\x1B(J\r\n\x1B$B%a\x1B$" },
        { CODE_UTF8, "\xEF\xBB\xBF" + Cp932ToUtf8(sjis) + "\xF0\x9F\x98\x80\xE3\x81\x41\xC0\xAF\xE3\x81" },
        // Well-formed text, with what is not only at the end (the one-pass
        // decoders to UTF-8 stop at the first such step).
        { CODE_EUC, sjis2euc(wellFormed) + "\x8E\x82\xA4\xA2" },
        { CODE_JIS83, sjis2jis83(wellFormed) + "\x1B$B\x1B(B%a\r\n\x1B$" },
    };
    const int outputs[] = { CODE_SJIS, CODE_EUC, CODE_JIS83, CODE_UTF8 };
    for (const auto& input : inputs) {
        const std::string_view text = input.text;
        for (int out : outputs) {
            const std::string whole = Whole(input.text, input.code, out);
            ASSERT_EQ(Streamed({ text }, input.code, out), whole) << input.code << " to " << out;
            for (std::size_t split = 0; split <= text.size(); ++split) {
                const std::string streamed
                    = Streamed({ text.substr(0, split), text.substr(split) }, input.code, out);
                ASSERT_EQ(ToHex(streamed), ToHex(whole))
                    << input.code << " to " << out << ", split at " << split;
            }
            for (std::size_t size : { 1, 2, 3, 5 }) {
                std::vector<std::string_view> blocks;
                for (std::size_t at = 0; at < text.size(); at += size)
                    blocks.push_back(text.substr(at, size));
                EXPECT_EQ(ToHex(Streamed(blocks, input.code, out)), ToHex(whole))
                    << input.code << " to " << out << " in blocks of " << size;
            }
        }
    }
}

TEST(CodeStream, UndecidedCodesAndTheSameCodeCopy)
{
    const std::string text = Hex("EF BB BF 83 81 A5 E1 1B 24 42");
    for (const auto& [in, out] : { std::pair { CODE_ASCII, CODE_SJIS }, { CODE_BINARY, CODE_UTF8 },
             { CODE_EUC_OR_SJIS, CODE_EUC }, { CODE_UTF8, CODE_UTF8 }, { CODE_JIS78, CODE_JIS83 },
             { CODE_SJIS, CODE_JIS78 }, { CODE_SJIS, 9 } }) {
        CodeStream stream(in, out);
        EXPECT_FALSE(stream.Converts()) << in << " to " << out;
        EXPECT_EQ(Streamed({ text }, in, out), text) << in << " to " << out;
    }
}

TEST(DetectTextCode, RecognisesUtf8BesideTheCodecsEncodings)
{
    const std::string utf8 = Cp932ToUtf8(Hex("93 FA 96 7B 8C EA 83 81 83 82")); // 日本語メモ
    const struct {
        const char* name;
        std::string prefix;
        bool truncated;
        int expected;
    } cases[] = {
        { "UTF-8", "memo: " + utf8, false, CODE_UTF8 },
        { "UTF-8 with a byte-order mark", "\xEF\xBB\xBF" + utf8, false, CODE_UTF8 },
        { "UTF-8 cut off by the window", utf8 + "\xE3\x81", true, CODE_UTF8 },
        { "UTF-8 cut off by the text's end", utf8 + "\xE3\x81", false, CODE_SJIS },
        { "Shift_JIS", Hex("93 FA 96 7B"), false, CODE_SJIS },
        { "EUC-JP", Hex("C6 FC CB DC"), false, CODE_EUC },
        { "EUC-JP or Shift_JIS", Hex("A5 E1 A5 E2"), false, CODE_EUC_OR_SJIS },
        { "JIS before UTF-8", "\x1B$BF|K\\\x1B(B" + utf8, false, CODE_JIS83 },
        { "binary", std::string("\x01", 1) + utf8, false, CODE_BINARY },
        { "ASCII", "plain text", true, CODE_ASCII },
    };
    for (const auto& c : cases)
        EXPECT_EQ(DetectTextCode(c.prefix, c.truncated), c.expected) << c.name;
}

} // namespace
