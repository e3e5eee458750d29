// The tool's messages in the locale's encoding: which locale names mean
// which encoding, and the conversion on the way to standard error.
#include "MessageBuffer.h"
#include "common/SjisLiteral.h"
#include "jconvert/codes.h"
#include "platform/Locale.h"

#include <gtest/gtest.h>
#include <map>
#include <ostream>
#include <sstream>
#include <string>

namespace {

using tool::MessageEncoding;

TEST(MessageEncoding, TheLocalesCodesetDecides)
{
    const struct {
        std::map<std::string, std::string> environment;
        MessageEncoding want;
    } cases[] = {
        // (ja_JP.UTF-8 and C.UTF-8, C and none: the tool's own test runs.)
        { { { "LANG", "en_GB.utf8@euro" } }, MessageEncoding::Utf8 },
        { { { "LANG", "ja_JP.ujis" } }, MessageEncoding::EucJp },
        { { { "LANG", "ja_JP.SJIS" } }, MessageEncoding::ShiftJis },
        // LC_ALL over LC_CTYPE over LANG; an empty value counts as unset,
        // and the messages' own category does not choose the encoding.
        { { { "LC_ALL", "C" }, { "LANG", "ja_JP.UTF-8" } }, MessageEncoding::ShiftJis },
        { { { "LC_ALL", "" }, { "LC_CTYPE", "ja_JP.eucJP" }, { "LANG", "ja_JP.UTF-8" } },
            MessageEncoding::EucJp },
        { { { "LC_MESSAGES", "ja_JP.UTF-8" } }, MessageEncoding::ShiftJis },
    };
    for (const auto& c : cases) {
        const std::string locale = platform::LocaleOf("LC_CTYPE", [&](const char* name) {
            const auto it = c.environment.find(name);
            return it == c.environment.end() ? nullptr : it->second.c_str();
        });
        EXPECT_EQ(tool::EncodingOfLocale(locale), c.want) << locale;
    }
}

// Written in pieces, a double-byte character cut between two of them, a
// line at a time and the rest at the end: the bytes come out whole.
TEST(MessageEncoding, MessagesAreConvertedWholeCharacters)
{
    const std::string message = Sjis("ファイル \"/tmp/予定\" は開けません。\n標準入力");
    const struct {
        MessageEncoding encoding;
        std::string want;
    } cases[] = {
        { MessageEncoding::ShiftJis, message },
        { MessageEncoding::Utf8, "ファイル \"/tmp/予定\" は開けません。\n標準入力" },
        { MessageEncoding::EucJp, jconvert::sjis2euc(message) },
    };
    for (const auto& c : cases) {
        std::stringbuf target;
        {
            tool::MessageBuffer buffer(target, c.encoding);
            std::ostream err(&buffer);
            err.setf(std::ios::unitbuf);
            for (std::size_t at = 0; at < message.size(); at += 3)
                err << message.substr(at, 3);
        }
        EXPECT_EQ(target.str(), c.want) << static_cast<int>(c.encoding);
    }
}

} // namespace
