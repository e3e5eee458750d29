#include "platform/SjisText.h"

#include <gtest/gtest.h>

namespace {

struct RoundTrip {
    const char* name;
    std::string bytes;
    QString unicode;
};

TEST(SjisText, DecodesAndEncodesBackToTheSameBytes)
{
    const RoundTrip cases[] = {
        { "ascii", "abc 123", QStringLiteral("abc 123") },
        { "kana and kanji", "\x83\x81\x83\x82\x92\xa0" /* メモ帳 */, QString::fromUtf8("メモ帳") },
        { "half-width katakana", "\xbd\xb9\xbc\xde\xad\xb0\xd9" /* ｽｹｼﾞｭｰﾙ */, QString::fromUtf8("ｽｹｼﾞｭｰﾙ") },
        { "numeral two", "Corkpane\x87U" /* CorkpaneⅡ */, QString::fromUtf8("CorkpaneⅡ") },
        { "wave dash of code page 932", "\x81`" /* ～ */, QString::fromUtf8("\xef\xbd\x9e") },
        { "zero byte", std::string("a\0b", 3), QString::fromUtf8("a\0b", 3) },
    };
    for (const RoundTrip& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(platform::FromSjis(c.bytes), c.unicode);
        EXPECT_EQ(platform::ToSjis(c.unicode), c.bytes);
    }
}

TEST(SjisText, KeepsBytesThatAreNoCharacter)
{
    // A lone lead byte at the end, a lead byte with a bad trail byte, and a
    // byte that code page 932 leaves undefined all come back unchanged.
    const std::string inputs[] = { "abc\x83", "\x81\x20x", "\xa0z", "\xff\xfe" };
    for (const std::string& bytes : inputs) {
        EXPECT_EQ(platform::ToSjis(platform::FromSjis(bytes)), bytes);
    }
}

TEST(SjisText, UnrepresentableCharactersBecomeGetaMarks)
{
    EXPECT_EQ(platform::ToSjis(QString::fromUtf8("a\xf0\x9f\x98\x80"
                                                 "b")),
        "a\x81\xac"
        "b"); // emoji
    EXPECT_EQ(platform::ToSjis(QString::fromUtf8("\xc3\xa9t\xc3\xa9")), "\x81\xact\x81\xac"); // é
}

TEST(SjisText, AnUnchangedValueKeepsItsOriginalBytes)
{
    const struct {
        const char* name;
        std::string original;
        QString text;
        std::string expected;
    } cases[] = {
        { "NEC-selected code, unchanged", "\xee\xef", QString::fromUtf8("ⅰ"), "\xee\xef" },
        { "NEC-selected code, edited", "\xee\xef", QString::fromUtf8("ⅰx"), "\xfa\x40x" },
        { "no original", "", QString::fromUtf8("ⅰ"), "\xfa\x40" },
        { "raw byte, unchanged", "\x80\xed\x95", QString::fromUtf8("\uf780﨑"), "\x80\xed\x95" },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(platform::ToSjis(c.text, c.original), c.expected) << c.name;
    }
}

} // namespace
