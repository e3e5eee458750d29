// Header values and transfer codings as mail programs write them today.

#include "jconvert/charset.h"
#include "jconvert/encoded_words.h"
#include "jconvert/quoted_printable.h"

#include <gtest/gtest.h>
#include <string>

namespace {

const std::string kMemo = "\x83\x81\x83\x82"; // メモ
const std::string kKai = "\x94\x83"; // 買

TEST(DecodeEncodedWords, Cases)
{
    const struct {
        const char* name;
        std::string header, sjis;
    } cases[] = {
        { "ascii unchanged", "memo 123 ?= =? x", "memo 123 ?= =? x" },
        { "jis word has no escape left", "=?ISO-2022-JP?B?GyRCJWElYhsoQg==?=", kMemo },
        { "charset and encoding in any case", "=?iso-2022-jp?b?GyRCJWElYhsoQg==?=", kMemo },
        { "utf-8 B", "=?UTF-8?B?44Oh44Oi?=", kMemo },
        { "utf-8 Q with underscore", "=?utf-8?q?=E3=83=A1=E3=83=A2_x?=", kMemo + " x" },
        { "blanks between words dropped", "=?UTF-8?B?44Oh?= \t =?UTF-8?B?44Oi?=", kMemo },
        { "folded words joined", "=?UTF-8?B?44Oh?=\r\n =?UTF-8?B?44Oi?=", kMemo },
        { "blanks beside text kept", "a =?UTF-8?B?44Oh44Oi?= b", "a " + kMemo + " b" },
        { "character split over two words", "=?UTF-8?Q?=E8?= =?utf-8?Q?=B2=B7?=", kKai },
        { "split over B and Q words", "=?UTF-8?B?6A==?= =?UTF-8?Q?=B2=B7?=", kKai },
        { "different charsets side by side", "=?Shift_JIS?B?g4E=?= =?EUC-JP?B?peI=?=", kMemo },
        { "cp932 and windows-31j", "=?CP932?B?g4E=?==?windows-31j?B?g4I=?=", kMemo },
        { "language suffix", "=?UTF-8*ja?B?44Oh44Oi?=", kMemo },
        { "latin-1 Q", "=?ISO-8859-1?Q?2=D73?=",
            "2\x81\x7e"
            "3" },
        { "us-ascii Q", "=?US-ASCII?Q?a=3Fb?=", "a?b" },
        { "blank inside is no word", "=?UTF-8?Q?a b?=", "=?UTF-8?Q?a b?=" },
        { "unknown encoding letter", "=?UTF-8?X?abc?=", "=?UTF-8?X?abc?=" },
        { "no closing", "=?UTF-8?B?44Oh44Oi", "=?UTF-8?B?44Oh44Oi" },
        { "empty charset", "=??B?YQ==?=", "=??B?YQ==?=" },
        { "raw utf-8 text", "\xe3\x83\xa1\xe3\x83\xa2 1", kMemo + " 1" },
        { "raw jis text", "\x1b$B%a%b\x1b(B", kMemo },
        { "raw shift_jis text", kMemo + "!", kMemo + "!" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(jconvert::DecodeEncodedWords(c.header), c.sjis) << c.name;
}

TEST(DecodeQuotedPrintable, Cases)
{
    const struct {
        const char* text;
        bool headerQ;
        std::string decoded;
    } cases[] = {
        { "a=3Db=3db", false, "a=b=b" },
        { "soft=\r\nbreak", false, "softbreak" },
        { "soft= \t\nbreak", false, "softbreak" },
        { "end=", false, "end" },
        { "=E3=83=A1\r\nx", false, "\xe3\x83\xa1\r\nx" },
        { "bad =ZZ and =4", false, "bad =ZZ and =4" },
        { "a_b", false, "a_b" },
        { "a_b=5F", true, "a b_" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(jconvert::DecodeQuotedPrintable(c.text, c.headerQ), c.decoded) << c.text;
}

TEST(CharsetToSjis, Cases)
{
    const struct {
        const char* name;
        std::string bytes;
        const char* charset;
        std::string sjis;
    } cases[] = {
        // Joined words: each return escape directly followed by the next word's escape.
        { "joined jis words", "\x1b$B%a\x1b(B\x1b$B%b\x1b(B", "ISO-2022-JP", kMemo },
        { "jis half-width kana", "\x1b(I1\x1b(B", "iso-2022-jp", "\xb1" },
        { "euc", "\xa5\xe1\xa5\xe2", "euc-jp", kMemo },
        { "utf-8 emoji is geta", "\xf0\x9f\xa6\xb7", "utf-8", "\x81\xac" },
        { "unknown charset detects", "\x1b$B%a%b\x1b(B", "x-unknown", kMemo },
        { "no charset detects", "\xb2\xf1\xb5\xc4\xbc\xbc", "", "\x89\xef\x8b\x63\x8e\xba" }, // 会議室
        { "mislabelled ascii detects", "\x1b$B%a%b\x1b(B", "us-ascii", kMemo },
    };
    for (const auto& c : cases)
        EXPECT_EQ(jconvert::CharsetToSjis(c.bytes, c.charset), c.sjis) << c.name;
    EXPECT_TRUE(jconvert::IsKnownCharset("Windows-31J"));
    EXPECT_FALSE(jconvert::IsKnownCharset("utf-16"));
}

TEST(LooksLikeUtf8, Cases)
{
    EXPECT_TRUE(jconvert::LooksLikeUtf8("a\xe3\x83\xa1"));
    EXPECT_FALSE(jconvert::LooksLikeUtf8("ascii"));
    EXPECT_FALSE(jconvert::LooksLikeUtf8("\x83\x81\x83\x82")); // Shift_JIS
    EXPECT_FALSE(jconvert::LooksLikeUtf8("\xe3\x83")); // cut short
    EXPECT_FALSE(jconvert::LooksLikeUtf8("\xc0\xaf")); // overlong
    EXPECT_FALSE(jconvert::LooksLikeUtf8("\xed\xa0\x80")); // surrogate
}

} // namespace
