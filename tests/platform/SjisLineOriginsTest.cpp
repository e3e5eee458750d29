#include "platform/SjisLineOrigins.h"

#include "jconvert/TextLines.h"
#include "platform/SjisText.h"

#include <gtest/gtest.h>

namespace {

TEST(SjisLineOrigins, UnchangedLinesKeepTheirBytesInReadingOrder)
{
    const struct {
        const char* name;
        std::string bytes;
        QString edited; // the editor's text when encoding; null: unchanged
        std::string expected;
    } cases[] = {
        { "empty", "", {}, "" },
        { "line ends become CR LF", "a\r\nb\rc\nd", {}, "a\r\nb\r\nc\r\nd" },
        { "twins in their order", "\xee\xef\r\n\xfa\x40\r\n\xee\xef\r\n", {},
            "\xee\xef\r\n\xfa\x40\r\n\xee\xef\r\n" },
        { "raw bytes", "\x83\r\n\xed\x95\n\x80", {}, "\x83\r\n\xed\x95\r\n\x80" },
        { "a new line is encoded anew", "\xee\xef\r\nx", QString::fromUtf8("ⅰ\nⅰ\nx"),
            "\xee\xef\r\n\xfa\x40\r\nx" },
        { "moved lines keep their bytes", "\xee\xef\r\n\xed\x95", QString::fromUtf8("﨑\nⅰ"),
            "\xed\x95\r\n\xee\xef" },
        { "an edited line is encoded anew", "\xee\xef\r\n\xed\x95", QString::fromUtf8("ⅰ!\n﨑"),
            "\xfa\x40!\r\n\xed\x95" },
    };
    for (const auto& c : cases) {
        platform::SjisLineOrigins origins;
        const QString text = origins.DecodeLines(c.bytes);
        EXPECT_EQ(text, platform::FromSjis(jconvert::WithLineEnds(c.bytes, "\n"))) << c.name;
        EXPECT_EQ(origins.EncodeLines(c.edited.isNull() ? text : c.edited), c.expected) << c.name;
    }
}

TEST(SjisLineOrigins, LineEndsBecomeLfInsideAndCrLfOutside)
{
    platform::SjisLineOrigins origins;
    EXPECT_EQ(origins.DecodeLines("a\r\nb\rc\nd"), QStringLiteral("a\nb\nc\nd"));
    EXPECT_EQ(origins.EncodeLines(QStringLiteral("a\nb\n")), "a\r\nb\r\n");
    // A trail byte never looks like LF, so double-byte text keeps its bytes.
    EXPECT_EQ(origins.EncodeLines(origins.DecodeLines("\x83\x81\r\n\x83\x82")), "\x83\x81\r\n\x83\x82");
}

TEST(SjisLineOrigins, AppendedTextAddsToWhatIsRememberedAndClearForgets)
{
    platform::SjisLineOrigins origins;
    const QString first = origins.DecodeLines("\xee\xef");
    const QString second = origins.DecodeLines("\xed\x95");
    EXPECT_EQ(origins.EncodeLines(first + QChar('\n') + second), "\xee\xef\r\n\xed\x95");
    origins.Clear();
    EXPECT_EQ(origins.EncodeLines(first), "\xfa\x40");
}

} // namespace
