#include "platform/SystemErrorText.h"

#include "platform/SjisText.h"

#include <QProcess>
#include <QTemporaryDir>
#include <cerrno>
#include <cstdlib>
#include <gtest/gtest.h>
#include <netdb.h>
#include <utility>
#include <vector>

// glibc's newlocale keeps its copy of LOCPATH (the search path the locale
// test sets) for good; that is the C library's, not the program's.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:__argz_add_sep\n";
}

namespace {

// The program's own texts decode to the Japanese a user expects: this
// catches a wrong byte in the Shift_JIS spelling.
TEST(SystemErrorText, OwnTextsReadAsJapanese)
{
    const std::vector<std::pair<int, const char*>> cases = {
        { ENOENT, "指定されたファイルが見つかりません。" },
        { EACCES, "アクセスが拒否されました。" },
        { EISDIR, "指定されたパスはフォルダーです。" },
        { ENOSPC, "ディスクに十分な空き領域がありません。" },
        { ECONNREFUSED, "接続が拒否されました。" },
        { ETIMEDOUT, "接続がタイムアウトしました。" },
        { EROFS, "読み取り専用のドライブです。" },
        { EFBIG, "ファイルが大きすぎます。" },
        { 4242, "システム エラー 4242" },
    };
    for (const auto& [error, expected] : cases) {
        EXPECT_EQ(platform::FromSjis(platform::OwnSystemErrorText(error)), QString::fromUtf8(expected))
            << error;
    }
    const std::vector<std::pair<int, const char*>> lookups = {
        { EAI_NONAME, "ホストが見つかりません。" },
        { EAI_FAIL, "ホストが見つかりません。" },
        { EAI_AGAIN, "名前解決に一時的に失敗しました。" },
    };
    for (const auto& [code, expected] : lookups) {
        EXPECT_EQ(platform::FromSjis(platform::HostLookupErrorText(code)), QString::fromUtf8(expected))
            << code;
    }
    EXPECT_EQ(platform::HostLookupErrorText(EAI_SYSTEM, ENOMEM), platform::SystemErrorText(ENOMEM));
}

// Whichever source gives the text (the C library's Japanese messages or the
// program's own), it is clean Shift_JIS with no English in it.
TEST(SystemErrorText, ReasonsAreJapaneseShiftJis)
{
    for (const int error : { ENOENT, EACCES, EISDIR, ENOSPC, ECONNREFUSED, ETIMEDOUT, EHOSTUNREACH, EIO }) {
        const std::string text = platform::SystemErrorText(error);
        ASSERT_FALSE(text.empty()) << error;
        const QString decoded = platform::FromSjis(text);
        EXPECT_EQ(platform::ToSjis(decoded), text) << error;
        bool japanese = false;
        for (const QChar c : decoded) {
            EXPECT_FALSE(c.unicode() >= 0xF700 && c.unicode() <= 0xF7FF) << "stray byte, error " << error;
            EXPECT_FALSE(c.isLetter() && c.unicode() < 0x80) << "English, error " << error;
            japanese = japanese || c.unicode() >= 0x3000;
        }
        EXPECT_TRUE(japanese) << error;
    }
}

// With a Japanese locale the C library's own messages are used. The
// locale is built into a private folder, as localedef allows without
// touching the system.
TEST(SystemErrorText, TakesTheCLibraryMessagesFromAJapaneseLocale)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString locale = folder.filePath(QStringLiteral("ja_JP.UTF-8"));
    if (QProcess::execute(QStringLiteral("localedef"),
            { QStringLiteral("-i"), QStringLiteral("ja_JP"), QStringLiteral("-f"), QStringLiteral("UTF-8"),
                locale })
        != 0) {
        GTEST_SKIP() << "localedef cannot build the Japanese locale";
    }
    ::setenv("LOCPATH", folder.path().toLocal8Bit().constData(), 1);
    const std::string text = platform::SystemErrorText(ENOENT);
    ::unsetenv("LOCPATH");
    EXPECT_EQ(platform::FromSjis(text), QString::fromUtf8("そのようなファイルやディレクトリはありません"));
    EXPECT_NE(text, platform::OwnSystemErrorText(ENOENT));
}

} // namespace
