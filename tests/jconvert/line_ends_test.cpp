#include "jconvert/line_ends.h"

#include <gtest/gtest.h>

using namespace jconvert;

namespace {

TEST(ReturnCodeCheck, FirstLineEndDecides)
{
    const struct {
        std::string text;
        int expected;
    } cases[] = {
        { "", RET_NONE },
        { "no line end", RET_NONE },
        { "a\r\nb\n", RET_CRLF },
        { "a\nb\r\n", RET_LF },
        { "a\rb\r\n", RET_CR },
        { "ab\r", RET_CR }, // CR as the last byte
        { "\n", RET_LF },
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReturnCodeCheck(c.text), c.expected) << c.text;
}

TEST(ConvertReturnCode, RewritesEveryLineEnd)
{
    const struct {
        std::string text;
        int out;
        std::string expected;
    } cases[] = {
        { "a\r\nb", RET_LF, "a\nb" },
        { "a\nb\n", RET_CRLF, "a\r\nb\r\n" },
        { "\r\r", RET_CRLF, "\r\n\r\n" },
        { "a\rb\r", RET_LF, "a\nb\n" },
        { "a\r\nb", RET_NONE, "ab" },
        { "a\r\nb\r\n", 7, "ab" },
        { "a\r\nb", RET_CRLF, "a\r\nb" },
        { "plain", RET_LF, "plain" },
        { std::string("a\0\r\n\0", 5), RET_LF, std::string("a\0\n\0", 4) },
        // A lone CR in CR LF text is not a line end there: kept, with the
        // byte after it.
        { "a\r\nb\rc\r", RET_LF, "a\nb\rc\r" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(ConvertReturnCode(c.text, c.out), c.expected) << c.text << " -> " << c.out;
}

TEST(StrictConvertReturnCode, UsesTheGivenConvention)
{
    const struct {
        std::string text;
        int in;
        int out;
        std::string expected;
    } cases[] = {
        { "a\r\nb\n", RET_LF, RET_CR, "a\r\rb\r" },
        { "a\rb", RET_CRLF, RET_LF, "a\rb" },
        { "a\nb", RET_CR, RET_LF, "a\nb" },
        { "a\nb", RET_NONE, RET_CRLF, "a\nb" },
        { "a\nb", 5, RET_CRLF, "a\nb" },
        { "a\nb", -1, RET_CRLF, "a\nb" },
        { "a\nb", RET_LF, RET_LF, "a\nb" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(StrictConvertReturnCode(c.text, c.in, c.out), c.expected) << c.in << " -> " << c.out;
}

} // namespace
