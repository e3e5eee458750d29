#include "jconvert/codes.h"
#include "jconvert/mime_header.h"

#include <gtest/gtest.h>
#include <string>

using namespace jconvert;
using namespace std::string_literals;

namespace {

const std::string kRet = "\x1B(J"; // appended after every decoded word
const std::string kMeMo = "\x83\x81\x83\x82"; // メモ in Shift_JIS

struct Case {
    const char* what;
    std::string in;
    std::string out;
};

TEST(DecodeHeaderString, ReplacesEncodedWordsByTheirJisBytes)
{
    const std::string memoJis = "\x1B$B%a%b\x1B(B";
    const std::string meJis = "\x1B$B%a\x1B(B";
    const std::string moJis = "\x1B$B%b\x1B(B";
    const Case cases[] = {
        { "one word", "=?ISO-2022-JP?B?GyRCJWElYhsoQg==?=", memoJis + kRet },
        { "lower case", "=?iso-2022-jp?b?GyRCJWElYhsoQg==?=", memoJis + kRet },
        { "text around", "Re: =?ISO-2022-JP?B?GyRCJWElYhsoQg==?= (2)", "Re: " + memoJis + kRet + " (2)" },
        { "two words", "=?ISO-2022-JP?B?GyRCJWEbKEI=?= =?ISO-2022-JP?B?GyRCJWIbKEI=?=",
            meJis + kRet + " " + moJis + kRet },
        { "folded", "=?ISO-2022-JP?B?GyRCJWEbKEI=?=\r\n =?ISO-2022-JP?B?GyRCJWIbKEI=?=",
            meJis + kRet + "\r\n " + moJis + kRet },
        { "adjacent",
            "=?ISO-2022-JP?B?GyRCJWEbKEI=?==?ISO-2022-JP?B?GyRCJWIbKEI=?=", meJis + kRet + moJis + kRet },
        { "no word", "plain?= text", "plain?= text" },
        { "other charset", "=?UTF-8?B?44Oh44Oi?=", "=?UTF-8?B?44Oh44Oi?=" },
        { "Q encoding", "=?ISO-2022-JP?Q?=1B$B%a%b=1B(B?=", "=?ISO-2022-JP?Q?=1B$B%a%b=1B(B?=" },
        { "empty word", "=?ISO-2022-JP?B?\?=", kRet },
        { "no closing", "abc =?ISO-2022-JP?B?GyRC", "abc GyRC" },
        { "no closing twice", "=?ISO-2022-JP?B?x =?ISO-2022-JP?B?y", "x y" },
        { "truncated opening", "=?ISO-2022-JP?B", "=?ISO-2022-JP?B" },
        { "empty", "", "" },
        { "zero byte", "a\0=?ISO-2022-JP?B?YQ==?=\0"s, "a\0a"s + kRet + "\0"s },
        // The first word decodes to ESC $ B 3F 3D ESC ( B, whose JIS bytes
        // hold "?="; the second word must still be found whole.
        { "?= in decoded text", "=?ISO-2022-JP?B?GyRCPz0bKEI=?= =?ISO-2022-JP?B?GyRCJWEbKEI=?=",
            "\x1B$B?=\x1B(B" + kRet + " " + meJis + kRet },
        // A word whose text spells an encoded-word is decoded once only.
        { "decoded once", "=?ISO-2022-JP?B?PT9JU08tMjAyMi1KUD9CP0d5UkNKV0ViS0VJPT89?=",
            "=?ISO-2022-JP?B?GyRCJWEbKEI=?=" + kRet },
    };
    for (const auto& c : cases)
        EXPECT_EQ(DecodeHeaderString(c.in), c.out) << c.what;
}

TEST(CreateHeaderString, EncodesEachDoubleByteRunAsOneWord)
{
    const Case cases[] = {
        { "ascii", "Hello, world", "Hello, world" },
        { "empty", "", "" },
        { "kanji only", kMeMo, "=?ISO-2022-JP?B?GyRCJWElYg==?=" },
        { "ascii then kanji", "Re: " + kMeMo, "Re: =?ISO-2022-JP?B?GyRCJWElYg==?=" },
        { "kanji then ascii", kMeMo + " 1", "=?ISO-2022-JP?B?GyRCJWElYg==?= 1" },
        { "two runs",
            "\x83\x81"
            "a\x83\x82",
            "=?ISO-2022-JP?B?GyRCJWE=?=a=?ISO-2022-JP?B?GyRCJWI=?=" },
        { "half-width kana", "\xB6\xDE" + kMeMo, "\xB6\xDE=?ISO-2022-JP?B?GyRCJWElYg==?=" },
        { "lead byte at end", "a\x83", "a=?ISO-2022-JP?B?GyRCJeE=?=" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(CreateHeaderString(c.in), c.out) << c.what;
}

TEST(MimeHeader, CreatedHeadersDecodeBackToTheText)
{
    const std::string texts[] = {
        kMeMo, "Re: " + kMeMo + " (" + kMeMo + ")",
        "\x93\xfa\x96\x7b\x8c\xea\x82\xcc\x83\x81\x83\x82 test", // 日本語のメモ test
    };
    for (const auto& text : texts)
        EXPECT_EQ(jis2sjis(DecodeHeaderString(CreateHeaderString(text))), text);
}

} // namespace
