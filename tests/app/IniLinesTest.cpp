#include "app/IniLines.h"

#include "app/NumberBox.h"
#include "common/SjisLiteral.h"

#include <climits>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using app::IniLines;
using Lines = std::vector<std::string>;

TEST(IniLines, SplitsAtEveryLineEnd)
{
    const struct {
        std::string bytes;
        Lines lines;
    } cases[] = {
        { "", {} },
        { "a", { "a" } },
        { "a\r\n", { "a" } },
        { "a\rb\nc\r\n\r\nd", { "a", "b", "c", "", "d" } },
        { "\n\n", { "", "" } },
        { "\r\r\n", { "", "" } },
        { "\n\r", { "", "" } }, // LF then a lone CR: two line ends
        { std::string("k=\0v\n", 5), { std::string("k=\0v", 4) } },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IniLines::Parse(c.bytes).Lines(), c.lines) << c.bytes;
    }
    EXPECT_EQ(IniLines(Lines { "a", "", "b" }).Serialize(), "a\r\n\r\nb\r\n");
}

TEST(IniLines, Lookup)
{
    const IniLines ini(Lines {
        "# comment = not a key",
        "POP3Host1 =blank before equals",
        "pop3host1=mail",
        "POP3HOST1=second",
        "noequals",
        "User1==x=y",
        Sjis("ヂ=trail byte a"), // ヂ: its second byte is 'a'
        "",
    });
    const struct {
        std::string key, value;
        bool found;
    } cases[] = {
        { "POP3Host1", "mail", true },
        { "User1", "=x=y", true },
        { "noequals", "", false },
        { "# comment ", " not a key", true },
        { Sjis("ア"), "", false }, // ア (83 41) is not ヂ (83 61)
        { Sjis("ヂ"), "trail byte a", true },
        { "Missing", "", false },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ini.Value(c.key), c.value) << c.key;
        EXPECT_EQ(ini.Find(c.key).has_value(), c.found) << c.key;
    }
}

TEST(IniLines, SettingValues)
{
    const Lines start { "# head", "pop3host1=old", "Other=1", "POP3Host1=dup" };
    const struct {
        std::string key, value;
        Lines result;
    } cases[] = {
        { "POP3Host1", "new", { "# head", "POP3Host1=new", "Other=1", "POP3Host1=dup" } },
        { "POP3Host1", "", { "# head", "POP3Host1=", "Other=1", "POP3Host1=dup" } }, // no resurrection
        { "Other", "", { "# head", "pop3host1=old", "POP3Host1=dup" } },
        { "User1", "me", { "# head", "pop3host1=old", "Other=1", "POP3Host1=dup", "User1=me" } },
        { "User1", "", start },
        { "User1", "a\r\nPassWord1=x", { "# head", "pop3host1=old", "Other=1", "POP3Host1=dup", "User1=a" } },
        { "User1", "\nonly", start }, // nothing before the line end: removed
    };
    for (const auto& c : cases) {
        IniLines ini(start);
        ini.Set(c.key, c.value);
        EXPECT_EQ(ini.Lines(), c.result) << c.key << "=" << c.value;
    }
}

TEST(IntegerText, ParsesSignedDecimalOnly)
{
    const struct {
        std::string text;
        int value;
    } cases[] = {
        { "65280", 65280 },
        { "  42", 42 },
        { "+7", 7 },
        { "-1", -1 },
        { "007", 7 },
        { "2147483647", INT_MAX },
        { "-2147483648", INT_MIN },
        { "2147483648", 0 },
        { "-2147483649", 0 },
        { "99999999999999999999", 0 },
        { "", 0 },
        { "-", 0 },
        { "12abc", 0 },
        { "42 ", 0 },
        { "0x10", 0 },
        { Sjis("１"), 0 }, // full-width 1
        { "- 1", 0 },
    };
    for (const auto& c : cases)
        EXPECT_EQ(app::ParseInteger(c.text), c.value) << '"' << c.text << '"';
}

TEST(IntegerText, ClampsRadioIndices)
{
    const struct {
        int index, items, result;
    } cases[] = { { 0, 3, 0 }, { 2, 3, 2 }, { 7, 3, 2 }, { INT_MAX, 2, 1 }, { -1, 3, -1 }, { -2, 3, -1 },
        { INT_MIN, 3, -1 } };
    for (const auto& c : cases)
        EXPECT_EQ(app::ClampRadioIndex(c.index, c.items), c.result) << c.index;
}

} // namespace
