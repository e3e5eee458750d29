#include "jconvert/AsciiText.h"
#include "jconvert/TextLines.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

TEST(TextLines, SplitsAtEachKindOfLineEnd)
{
    struct Case {
        std::string text;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        { "", {} },
        { "a", { "a" } },
        { "a\r\n", { "a" } }, // a final line end opens no further line
        { "a\r\nb\rc\nd", { "a", "b", "c", "d" } },
        { "\n\r\n\r", { "", "", "" } },
        { "a\r\rb", { "a", "", "b" } }, // CR CR is two line ends, not one
        { "a\n\rb", { "a", "", "b" } }, // LF CR likewise
        { "a\r\n\nb\rc\r\n", { "a", "", "b", "c" } },
        { "a\n\n", { "a", "" } },
        { std::string("a\0b\r\n", 5), { std::string("a\0b", 3) } },
    };
    for (const Case& c : cases) {
        const std::vector<std::string_view> views = jconvert::SplitLines(c.text);
        EXPECT_EQ(std::vector<std::string>(views.begin(), views.end()), c.lines) << c.text;
        EXPECT_EQ(jconvert::SplitLines<std::string>(c.text), c.lines) << c.text;
    }
}

TEST(TextLines, RewritesEachLineEndAndKeepsTheRest)
{
    struct Case {
        std::string text;
        std::string crLf; // WithCrLfLineEnds
        std::string lf; // WithLineEnds(text, "\n")
        bool endsWithLineEnd;
    };
    const Case cases[] = {
        { "", "", "", false },
        { "a", "a", "a", false },
        { "a\r\nb\rc\nd", "a\r\nb\r\nc\r\nd", "a\nb\nc\nd", false },
        { "a\r\r\n\n", "a\r\n\r\n\r\n", "a\n\n\n", true },
        { "\n\r", "\r\n\r\n", "\n\n", true },
        { std::string("\0\r\0", 3), std::string("\0\r\n\0", 4), std::string("\0\n\0", 3), false },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(jconvert::WithCrLfLineEnds(c.text), c.crLf) << c.text;
        EXPECT_EQ(jconvert::WithLineEnds(c.text, "\n"), c.lf) << c.text;
        EXPECT_EQ(jconvert::EndsWithLineEnd(c.text), c.endsWithLineEnd) << c.text;
    }
}

TEST(AsciiCase, FoldsAsciiLettersOnly)
{
    struct Case {
        std::string_view a, b;
        bool equal;
    };
    const Case cases[] = {
        { "+ok", "+OK", true },
        { "Content-Type", "CONTENT-type", true },
        { "ab", "abc", false },
        { "@[`{", "`{@[", false }, // the neighbours of the letter ranges
        // Bytes above ASCII are never folded (as a locale's tolower might).
        { "\x82\x81", "\x82\x60", false },
        { "\xe0", "\xc0", false },
        { "\xc1", "\xe1", false },
    };
    for (const Case& c : cases)
        EXPECT_EQ(jconvert::EqualsIgnoringAsciiCase(c.a, c.b), c.equal) << c.a << " / " << c.b;
}

TEST(AsciiCase, HexValueOfDigitsInEitherCase)
{
    const std::pair<char, int> cases[] = {
        { '0', 0 },
        { '9', 9 },
        { 'a', 10 },
        { 'F', 15 },
        { 'f', 15 },
        // The neighbours of each range, and a byte above ASCII.
        { '/', -1 },
        { ':', -1 },
        { '@', -1 },
        { 'G', -1 },
        { '`', -1 },
        { 'g', -1 },
        { '\xc1', -1 },
    };
    for (const auto& [c, value] : cases)
        EXPECT_EQ(jconvert::AsciiHexValue(c), value) << c;
}

} // namespace
