#include "jconvert/coders.h"

#include <gtest/gtest.h>
#include <random>
#include <string>

using namespace jconvert;
using namespace std::string_literals;

namespace {

std::string bytes(std::size_t n, unsigned seed)
{
    std::mt19937 gen(seed);
    std::string s(n, '\0');
    for (char& c : s)
        c = static_cast<char>(gen() & 0xFF);
    return s;
}

struct Case {
    std::string in;
    std::string out;
    const char* why = "";
};

TEST(Base64, EncodesAndDecodesWithPadding)
{
    const Case cases[] = {
        { "", "" },
        { "a", "YQ==" },
        { "ab", "YWI=" },
        { "abc", "YWJj" },
        { "abcd", "YWJjZA==" },
        { "\x1B$B%a%b\x1B(B", "GyRCJWElYhsoQg==" },
        { "\0\xFF\xFE"s, "AP/+" },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EncodeBase64(c.in), c.out) << c.in;
        EXPECT_EQ(DecodeBase64(c.out), c.in) << c.out;
    }
}

TEST(Base64, BreaksLinesAfterEvery76Characters)
{
    const std::string crlf = "\r\n";
    const std::string e57 = EncodeBase64(bytes(57, 1));
    EXPECT_EQ(EncodeBase64R(bytes(57, 1), crlf), e57 + crlf);
    EXPECT_EQ(EncodeBase64R(bytes(56, 1), crlf), EncodeBase64(bytes(56, 1)));

    // The padded final group is never followed by a break.
    const std::string r58 = EncodeBase64R(bytes(58, 1), crlf);
    ASSERT_EQ(r58.size(), 76u + 2u + 4u);
    EXPECT_EQ(r58.substr(0, 76), e57);
    EXPECT_EQ(r58.substr(76, 2), crlf);
    EXPECT_EQ(r58.substr(80), "==");

    const std::string r114 = EncodeBase64R(bytes(114, 2), "\n");
    EXPECT_EQ(r114.size(), 2u * 77u);
    EXPECT_EQ(r114[76], '\n');
    EXPECT_EQ(r114.back(), '\n');
    EXPECT_EQ(EncodeBase64R(bytes(114, 2), ""), EncodeBase64(bytes(114, 2)));
}

TEST(Base64, DecodesMalformedTextAsFarAsItGoes)
{
    const Case cases[] = {
        { "YQ", "a", "padding left off" },
        { "YWI", "ab", "padding left off" },
        { "Y", "", "six bits make no byte" },
        { "YW\r\nJj", "abc", "line break inside a group" },
        { " Y W J j\t", "abc", "blanks" },
        { "YQ==YWJj", "aabc", "decoding goes on after a padded group" },
        { "Y=WJ", "", "padding too early: no whole byte" },
        { "YW*Jj!", "abc", "stray characters carry no bits" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(DecodeBase64(c.in), c.out) << c.why;
}

TEST(UU, EncodesBodyLines)
{
    std::string m45 = "M"; // 45 times x
    for (int g = 0; g < 15; ++g)
        m45 += ">'AX";
    const Case cases[] = {
        { "abc", "#86)C\r\n`\r\n" },
        { "a", "!80``\r\n`\r\n" },
        { "ab", "\"86(`\r\n`\r\n" },
        { "", "\r\n`\r\n" },
        { std::string(45, 'x'), m45 + "\r\n\r\n`\r\n" },
        { "\0\0\0"s, "#````\r\n`\r\n" },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EncodeUU(c.in, "\r\n"), c.out) << c.in;
        EXPECT_EQ(DecodeUU(c.out), c.in) << c.out;
    }
}

TEST(UU, DecodesMalformedTextAsFarAsItGoes)
{
    const Case cases[] = {
        { "begin 644 memo.txt\r\n#86)C\r\n`\r\nend\r\n", "abc", "framing lines" },
        { "begin 644 x\n#86)C\n`\nend", "abc", "framing lines, LF" },
        { "#86)", "ab", "truncated group" },
        { "#86)\r\n", "ab", "group cut by a line break" },
        { "$86)C", "abc", "line shorter than announced" },
        { "\t#86)C", "abc", "a control character is no byte count" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(DecodeUU(c.in), c.out) << c.why;
    // Older encoders write zero as a blank rather than a backquote.
    EXPECT_EQ(DecodeUU("#86 C\n"), DecodeUU("#86`C\n"));
    EXPECT_EQ(DecodeUU("#86 C\n"), "a`#");
}

TEST(BinHex, EncodesBetweenColonsIn64CharacterLines)
{
    EXPECT_EQ(EncodeBinHex("abc", "\r\n"), ":B@*M:");
    EXPECT_EQ(EncodeBinHex("", "\r\n"), "::");
    EXPECT_EQ(EncodeBinHex("a", "\r\n").size(), 4u);
    EXPECT_EQ(EncodeBinHex("ab", "\r\n").size(), 5u);

    const std::string e48 = EncodeBinHex(bytes(48, 3), "\r\n");
    ASSERT_EQ(e48.size(), 1u + 64u + 2u + 1u);
    EXPECT_EQ(e48.find("\r\n"), 64u);
    EXPECT_EQ(e48.back(), ':');

    // Every line but the last holds 64 characters.
    const std::string big = EncodeBinHex(bytes(300, 4), "\n");
    std::size_t start = 0;
    for (std::size_t nl = big.find('\n'); nl != std::string::npos; nl = big.find('\n', start)) {
        EXPECT_EQ(nl - start, 64u);
        start = nl + 1;
    }
    EXPECT_LE(big.size() - start, 64u);
}

TEST(BinHex, DecodesMalformedTextAsFarAsItGoes)
{
    const Case cases[] = {
        { ":B@*M", "abc", "no closing colon" },
        { "B@*M:", "abc", "no opening colon" },
        { ":B\r\n@*M:", "abc", "line break elsewhere in a group" },
        { ":B@*", "ab", "short group at the end" },
        { ":B@", "a", "short group at the end" },
        { ":B", "", "one character makes no byte" },
        { ":B@*M:B@*M:", "abc", "the closing colon ends the text" },
        { ":B@*7M:", "ab", "7 is not in the alphabet" },
        { "", "", "empty" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(DecodeBinHex(c.in), c.out) << c.why;
}

TEST(Coders, DecodersInvertEncoders)
{
    for (std::size_t n : { 0, 1, 2, 3, 44, 45, 46, 47, 48, 56, 57, 58, 90, 91, 113, 114, 115, 500 }) {
        const std::string data = bytes(n, static_cast<unsigned>(n));
        for (const std::string lb : { "\r\n", "\n", "\r" }) {
            EXPECT_EQ(DecodeBase64(EncodeBase64R(data, lb)), data) << n;
            EXPECT_EQ(DecodeUU(EncodeUU(data, lb)), data) << n;
            EXPECT_EQ(DecodeBinHex(EncodeBinHex(data, lb)), data) << n;
        }
        EXPECT_EQ(DecodeBase64(EncodeBase64(data)), data) << n;
        EXPECT_EQ(DecodeBinHex(EncodeBinHex(data, "")), data) << n;
    }
}

} // namespace
