#include "app/SettingsStore.h"

#include "app/IniLines.h"
#include "app/PasswordScrambler.h"
#include "app/SettingsKey.h"
#include "common/FolderNames.h"
#include "common/SjisLiteral.h"
#include "common/TempFolder.h"
#include "platform/FileIo.h"
#include "platform/SystemErrorText.h"

#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using app::Settings;

const std::string kServer1 = Sjis("サーバー１");

class SettingsStore : public ::testing::Test {
protected:
    void TearDown() override
    {
        // A test may take its permissions away; the folder must still go.
        fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add);
    }

    void put(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(dir_ / name, std::ios::binary) << bytes;
    }
    std::string get(const std::string& name) const
    {
        std::ifstream in(dir_ / name, std::ios::binary);
        return { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
    }
    std::vector<std::string> entries() const { return test_files::FolderNames(dir_); }
    // Loads into a fresh window state from the given settings file.
    Settings loadIni(const std::string& ini) const
    {
        put("corkpane.ini", ini);
        Settings settings;
        std::string memo;
        app::LoadSettings(dir_, settings, memo);
        return settings;
    }

    test_files::TempFolder folder_ { "settings" };
    const fs::path dir_ = folder_.Path();
};

std::string shown(const Settings& settings, std::string_view control)
{
    for (const auto& key : app::SettingsKey::All()) {
        if (key.control == control)
            return key.Shown(settings);
    }
    ADD_FAILURE() << "no control " << control;
    return {};
}

TEST_F(SettingsStore, FirstRunWritesHeaderAndEveryKey)
{
    Settings settings;
    std::string memo = "untouched";
    app::LoadSettings(dir_, settings, memo);
    Settings expected;
    expected.Password = "qqqqq";
    EXPECT_EQ(settings, expected);
    EXPECT_EQ(memo, "untouched");

    app::SaveSettings(dir_, settings, "");
    EXPECT_EQ(get("memo.txt"), "");
    const std::string ini = Sjis("#--------------------------------------------------------------\r\n"
                                 "#「CorkpaneⅡ」設定ファイル\r\n"
                                 "#※「PassWord」は、暗号化しているので書き換えは不可！\r\n"
                                 "#--------------------------------------------------------------\r\n"
                                 "\r\n"
                                 "接続先1=サーバー１\r\n"
                                 "POP3Host1=サーバー名をここに入力\r\n"
                                 "User1=ユーザー名をここに入力\r\n"
                                 "PassWord1=vhe2xsbGxs\r\n"
                                 "キーワード１=メモ\r\n"
                                 "キーワード２=めも\r\n"
                                 "１行文字数=15\r\n"
                                 "行数=20\r\n"
                                 "フォントサイズ=15\r\n"
                                 "行間=4\r\n"
                                 "上余白=10\r\n"
                                 "右余白=300\r\n"
                                 "文字色=65280\r\n"
                                 "影文字=0\r\n"
                                 "影色=12632256\r\n"
                                 "タイトル表示=1\r\n"
                                 "メモタイトル=忘れずに！\r\n"
                                 "メモ表示=0\r\n"
                                 "文字背景％=50\r\n"
                                 "文字背景色=0\r\n"
                                 "週予定表示日=1\r\n"
                                 "月予定表示日=3\r\n"
                                 "記念日表示日=5\r\n"
                                 "指定日表示日=10\r\n"
                                 "ｽｹｼﾞｭｰﾙﾒﾓ表示=1\r\n"
                                 "ｽｹｼﾞｭｰﾙｶﾚﾝﾀﾞｰ表示=0\r\n"
                                 "POP3Port1=110\r\n"
                                 "スタートアップ受信=0\r\n"
                                 "POP3Security1=0\r\n"
                                 "MIME解読=1\r\n" // MIME解読: a new set-up reads MIME mail
                                 "祝日表示=1\r\n" // and lists the holidays
                                 "POP3Remember1=1\r\n" // and remembers what it received
                                 "IMAPFolder1=INBOX\r\n"
                                 "受信間隔=15\r\n"); // and receives every quarter of an hour
    EXPECT_EQ(get("corkpane.ini"), ini);
    EXPECT_EQ(entries(), (std::vector<std::string> { "corkpane.ini", "memo.txt" }));

    // The list grows by the stored entry at the next start; the file keeps one.
    Settings next;
    app::LoadSettings(dir_, next, memo);
    EXPECT_EQ(next.LBoxSetuzokuSaki, (std::vector<std::string> { kServer1, kServer1 }));
    EXPECT_EQ(next.Password, "qqqqq");
    app::SaveSettings(dir_, next, memo);
    EXPECT_EQ(get("corkpane.ini"), ini);
}

TEST_F(SettingsStore, ReadsSingleValues)
{
    const struct {
        std::string line, control, value;
    } cases[] = {
        { Sjis("影文字=7"), "RgKage", "2" }, // 影文字 past the last item
        { Sjis("影文字=-5"), "RgKage", "-1" }, // below -1: none
        { Sjis("影文字=-1"), "RgKage", "-1" }, { Sjis("タイトル表示=5"), "RgTitle", "1" },
        { Sjis("文字色=abc"), "LbMojiIro", "0" }, { Sjis("文字色= 255"), "LbMojiIro", "255" },
        { Sjis("文字色=-16777201"), "LbMojiIro", "-16777201" },
        { Sjis("影色=4294967295"), "LbKageIro", "0" }, // 影色 out of range
        { Sjis("メモ表示=yes"), "ChShowMemo", "1" }, { Sjis("メモ表示="), "ChShowMemo", "1" },
        { Sjis("メモ表示= 0"), "ChShowMemo", "1" }, { Sjis("メモ表示=0"), "ChShowMemo", "0" },
        { Sjis("ｽｹｼﾞｭｰﾙﾒﾓ表示=0"), "ChScMemo", "0" }, { "pop3host1=mail", "EdHost", "mail" },
        { "POP3Host1 =x", "EdHost", "" }, { "POP3HOST1=a=b ", "EdHost", "a=b " },
        { Sjis("接続先1=A"), "LBoxSetuzokuSaki", kServer1 + "|A" }, { "POP3Port1=995", "EdPort", "995" },
        { Sjis("スタートアップ受信=1"), "RgReceive", "1" }, { "POP3Security1=2", "RgSecurity", "2" },
        { "POP3Security1=9", "RgSecurity", "2" }, // past the last item
        { Sjis("MIME解読=1"), "ChMimeKaidoku", "1" }, { Sjis("MIME解読=0"), "ChMimeKaidoku", "0" },
        { Sjis("MIME解読="), "ChMimeKaidoku", "0" }, { Sjis("祝日表示=1"), "ChShukujitsu", "1" },
        { Sjis("祝日表示=0"), "ChShukujitsu", "0" }, { "POP3Remember1=1", "ChRemember", "1" },
        { "POP3Remember1=0", "ChRemember", "0" }, { "POP3Auth1=XOAUTH2", "CbAuth", "xoauth2" },
        { "POP3Auth1= plain", "CbAuth", "plain" }, { "POP3Auth1=cram-md5", "CbAuth", "user" },
        { "POP3TokenCommand1=oama access a@b", "EdTokenCommand", "oama access a@b" },
        { "PassWord1=" + app::ScramblePassword("pw  "), "Password", "pw  " },
        { "PassWord1=srf3w8", "Password", "" }, // tampered
    };
    for (const auto& c : cases)
        EXPECT_EQ(shown(loadIni(c.line + "\n"), c.control), c.value) << c.line;
}

TEST_F(SettingsStore, MissingKeysAndWhatIsWrittenBack)
{
    const Settings loaded = loadIni("# only a comment\n");
    const struct {
        std::string control, value;
    } cases[] = {
        { "LBoxSetuzokuSaki", kServer1 + "|" }, { "EdHost", "" }, { "Password", "" }, { "EdPort", "" },
        { "LbMojiIro", "0" }, { "RgTitle", "0" }, { "RgReceive", "0" },
        { "RgSecurity", "0" }, // no encryption, as before the key existed
        { "ChShowMemo", "1" }, { "ChScCal", "1" },
        { "ChMimeKaidoku", "0" }, // bodies as sent, as before the key existed
        { "ChShukujitsu", "0" }, // no holidays, as before the key existed
        { "ChRemember", "0" }, { "CbAuth", "user" }, // receiving as before the keys existed
    };
    for (const auto& c : cases)
        EXPECT_EQ(shown(loaded, c.control), c.value) << c.control;

    // Empty texts, the empty password and unticked MIME and holiday boxes
    // store nothing; the rest is appended
    // after the existing lines, which keep their place.
    app::SaveSettings(dir_, loaded, "");
    const auto lines = app::IniLines::Parse(get("corkpane.ini")).Lines();
    ASSERT_EQ(lines.size(), 12u); // comment, list, 2 colours, 5 radio groups, 3 ticks
    EXPECT_EQ(lines[0], "# only a comment");
    EXPECT_EQ(lines[1], Sjis("接続先1=") + kServer1);
    EXPECT_EQ(lines[2], Sjis("文字色=0"));
    EXPECT_EQ(lines[10], Sjis("スタートアップ受信=0"));
    EXPECT_EQ(lines[11], "POP3Security1=0");

    // A sign-in method other than USER/PASS is stored by its word.
    Settings token = loaded;
    token.CbAuth = 3;
    app::SaveSettings(dir_, token, "");
    EXPECT_EQ(app::IniLines::Parse(get("corkpane.ini")).Value("POP3Auth1"), "oauthbearer");
}

TEST_F(SettingsStore, CalendarsAreStoredOneKeyEachFromTheFirst)
{
    // Gaps and empty values are skipped on reading; the save numbers them
    // afresh and leaves no line for a removed one.
    Settings loaded = loadIni("CalendarURL3=c\r\nCalendarURL1=a\r\nCalendarURL2=\r\nCalendarURL9=i\r\n");
    EXPECT_EQ(loaded.LbCalendars, (std::vector<std::string> { "a", "c", "i" }));
    loaded.LbCalendars.erase(loaded.LbCalendars.begin());
    app::SaveSettings(dir_, loaded, "");
    const app::IniLines lines = app::IniLines::Parse(get("corkpane.ini"));
    EXPECT_EQ(lines.Value("CalendarURL1"), "c");
    EXPECT_EQ(lines.Value("CalendarURL2"), "i");
    EXPECT_FALSE(lines.Find("CalendarURL3") || lines.Find("CalendarURL9"));
}

TEST_F(SettingsStore, RewritesInPlaceWithCrLf)
{
    // Lone LF and lone CR line ends, unknown keys, comments, a lower-case key
    // and a duplicate: all but the known keys' first lines stay as they are.
    Settings settings
        = loadIni(Sjis("# my notes\nUnknown=1\rpop3host1=mail\nPOP3Host1=dup\n\nメモタイトル=T\n"));
    EXPECT_EQ(settings.EdHost, "mail");
    EXPECT_EQ(settings.EdTitle, "T");
    settings.EdHost = "pop.example.jp";
    settings.EdTitle.clear();
    app::SaveSettings(dir_, settings, "");
    const std::string ini = get("corkpane.ini");
    EXPECT_EQ(
        ini.rfind(Sjis("# my notes\r\nUnknown=1\r\nPOP3Host1=pop.example.jp\r\nPOP3Host1=dup\r\n\r\n接"), 0),
        0u)
        << ini;
    EXPECT_EQ(ini.find('\n'), ini.find("\r\n") + 1);
    for (std::size_t i = 0; (i = ini.find('\n', i + 1)) != std::string::npos;)
        ASSERT_EQ(ini[i - 1], '\r');

    // The emptied title's line is gone; the host is read from the replaced line.
    Settings next;
    std::string memo;
    app::LoadSettings(dir_, next, memo);
    EXPECT_EQ(next.EdTitle, "");
    EXPECT_EQ(next.EdHost, "pop.example.jp");
}

TEST_F(SettingsStore, MemoLineEnds)
{
    const struct {
        std::string file, memo;
    } cases[] = {
        { "", "" },
        { "one", "one" },
        { "a\nb\rc\r\nd\n", "a\r\nb\r\nc\r\nd\r\n" },
        { "\r\r\n\n", "\r\n\r\n\r\n" },
        { std::string("x\0y", 3), std::string("x\0y", 3) },
    };
    for (const auto& c : cases) {
        put("memo.txt", c.file);
        Settings settings;
        std::string memo = "old";
        app::LoadSettings(dir_, settings, memo);
        EXPECT_EQ(memo, c.memo);
    }
    // Written exactly as held: no line end added after the last line.
    app::SaveSettings(dir_, Settings {}, "line 1\r\nline 2");
    EXPECT_EQ(get("memo.txt"), "line 1\r\nline 2");
}

TEST_F(SettingsStore, PasswordSurvivesSaveAndLoad)
{
    for (const std::string& password :
        std::vector<std::string> { "", "secret", "ends in spaces  ", "a", std::string(296, 'p') }) {
        Settings settings;
        settings.Password = password;
        app::SaveSettings(dir_, settings, "");
        Settings loaded;
        std::string memo;
        app::LoadSettings(dir_, loaded, memo);
        EXPECT_EQ(loaded.Password, password);
        EXPECT_EQ(app::IniLines::Parse(get("corkpane.ini")).Find("PassWord1").has_value(), !password.empty());
    }
}

TEST_F(SettingsStore, FailedSaveLosesNothing)
{
    const std::string oldMemo = "old memo";
    const std::string oldIni = "# old\r\nPOP3Host1=old\r\n";
    const std::string cannotCreate = Sjis("\" を作成できません。");
    const std::string cannotOpen = Sjis("\" は開けません。");
    const std::string longMemo(300, 'm');
    struct Case {
        const char* name;
        void (*breakFolder)(const fs::path&);
        rlim_t fileSizeLimit; // 0: none; simulates a full disk, even for the superuser
        std::string memo, memoAfter, message;
    };
    const auto noChange = [](const fs::path&) {};
    const Case cases[] = {
        { "memo.txt is a folder",
            [](const fs::path& d) {
                fs::remove(d / "memo.txt");
                fs::create_directory(d / "memo.txt");
            },
            0, "new memo", oldMemo, cannotCreate },
        { "corkpane.ini is a folder",
            [](const fs::path& d) {
                fs::remove(d / "corkpane.ini");
                fs::create_directory(d / "corkpane.ini");
            },
            0, "new memo", "new memo", cannotOpen },
        { "read-only folder",
            [](const fs::path& d) { fs::permissions(d, fs::perms::owner_read | fs::perms::owner_exec); }, 0,
            "new memo", oldMemo, cannotCreate },
        { "disk full at the memo", noChange, 200, longMemo, oldMemo, cannotCreate },
        { "disk full at the settings", noChange, 200, "new memo", "new memo", cannotCreate },
    };
    std::signal(SIGXFSZ, SIG_IGN);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (std::string(c.name) == "read-only folder" && ::geteuid() == 0)
            continue; // permissions do not stop the superuser
        fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add);
        for (const auto& entry : fs::directory_iterator(dir_))
            fs::remove_all(entry.path());
        put("memo.txt", oldMemo);
        put("corkpane.ini", oldIni);
        const auto before = entries();
        c.breakFolder(dir_);

        Settings settings;
        settings.EdHost = "new";
        rlimit oldLimit {};
        ::getrlimit(RLIMIT_FSIZE, &oldLimit);
        if (c.fileSizeLimit != 0) {
            rlimit limit = oldLimit;
            limit.rlim_cur = c.fileSizeLimit;
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }
        std::string message;
        try {
            app::SaveSettings(dir_, settings, c.memo);
        } catch (const platform::FileIoError& error) {
            message = error.what();
        }
        ::setrlimit(RLIMIT_FSIZE, &oldLimit);

        EXPECT_EQ(message.rfind(Sjis("ファイル \""), 0), 0u) << message;
        EXPECT_NE(message.find(c.message), std::string::npos) << message;
        fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add);
        EXPECT_EQ(entries(), before) << "no temporary file is left behind";
        if (fs::is_regular_file(dir_ / "memo.txt")) {
            EXPECT_EQ(get("memo.txt"), c.memoAfter);
        }
        if (fs::is_regular_file(dir_ / "corkpane.ini")) {
            EXPECT_EQ(get("corkpane.ini"), oldIni);
        }
    }
}

// Each file is read on its own: one that exists but cannot be read (a
// folder in its place, over the read limit, no permission) is named in the
// error, keeps its part of the state as it was, and is left exactly as it is
// by the save; the other file is read and written as always.
TEST_F(SettingsStore, AnUnreadableFileIsNamedAndLeftAsItIsTheOtherIsReadAndSaved)
{
    const std::string ini = "# mine\r\nPOP3Host1=host\r\nUser1=me\r\n";
    const std::string oversized(platform::kMemoReadLimit + 1, 'm');
    struct Case {
        const char* name;
        const char* file; // the unreadable one
        void (*spoil)(const fs::path& file, const std::string& oversized);
        int error;
    };
    const Case cases[] = {
        { "memo is a folder", "memo.txt",
            [](const fs::path& f, const std::string&) { fs::create_directory(f); }, EISDIR },
        { "memo over the limit", "memo.txt",
            [](const fs::path& f, const std::string& big) { std::ofstream(f, std::ios::binary) << big; },
            EFBIG },
        { "memo not readable", "memo.txt",
            [](const fs::path& f, const std::string&) {
                std::ofstream(f, std::ios::binary) << "secret memo";
                fs::permissions(f, fs::perms::owner_write);
            },
            EACCES },
        { "settings over the limit", "corkpane.ini",
            [](const fs::path& f, const std::string& big) {
                std::ofstream(f, std::ios::binary) << big.substr(0, platform::kSettingsReadLimit + 1);
            },
            EFBIG },
        { "settings are a folder", "corkpane.ini",
            [](const fs::path& f, const std::string&) { fs::create_directory(f); }, EISDIR },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.error == EACCES && ::geteuid() == 0)
            continue; // permissions do not stop the superuser
        for (const auto& entry : fs::directory_iterator(dir_))
            fs::remove_all(entry.path());
        const bool memoSpoiled = std::string(c.file) == "memo.txt";
        put(memoSpoiled ? "corkpane.ini" : "memo.txt", memoSpoiled ? ini : "line\n");
        c.spoil(dir_ / c.file, oversized);
        const auto spoiledSize = fs::is_regular_file(dir_ / c.file) ? fs::file_size(dir_ / c.file) : 0;

        Settings settings;
        std::string memo = "kept";
        app::UnreadFiles unread;
        try {
            app::LoadSettings(dir_, settings, memo, {}, &unread);
            ADD_FAILURE() << "no error";
        } catch (const platform::FileIoError& error) {
            EXPECT_EQ(error.SystemError(), c.error);
            // One sentence after the other, whether or not the reason ends in one.
            std::string opening
                = platform::CannotOpenMessage(dir_ / c.file, platform::FileErrorReason(c.error));
            if (!opening.ends_with(Sjis("。")))
                opening += Sjis("。");
            EXPECT_EQ(error.what(), opening + Sjis("読み込めなかったファイルには上書きしません。"));
        }
        EXPECT_EQ(unread.memo, memoSpoiled);
        EXPECT_EQ(unread.settings, !memoSpoiled);
        EXPECT_EQ(memo, memoSpoiled ? "kept" : "line\r\n");
        EXPECT_EQ(settings.EdHost, memoSpoiled ? "host" : Settings {}.EdHost);
        EXPECT_EQ(settings.Password, memoSpoiled ? "" : "qqqqq");

        settings.EdTitle = "changed";
        app::SaveSettings(dir_, settings, "new memo", {}, unread);
        fs::permissions(dir_ / c.file, fs::perms::owner_all, fs::perm_options::add);
        if (spoiledSize != 0) {
            EXPECT_EQ(fs::file_size(dir_ / c.file), spoiledSize);
            EXPECT_EQ(get(c.file).substr(0, 11), c.error == EACCES ? "secret memo" : oversized.substr(0, 11));
        } else {
            EXPECT_TRUE(fs::is_directory(dir_ / c.file));
        }
        if (memoSpoiled)
            EXPECT_NE(get("corkpane.ini").find("POP3Host1=host\r\n"), std::string::npos);
        else
            EXPECT_EQ(get("memo.txt"), "new memo");
        EXPECT_EQ(entries().size(), 2u) << "no temporary file is left behind";
    }
}

// Nothing is saved that the next start would refuse to read.
TEST_F(SettingsStore, AMemoOverTheReadLimitIsNotSaved)
{
    put("memo.txt", "old");
    const std::string huge(platform::kMemoReadLimit + 1, 'x');
    try {
        app::SaveSettings(dir_, Settings {}, huge);
        ADD_FAILURE() << "saved";
    } catch (const platform::FileIoError& error) {
        EXPECT_EQ(error.SystemError(), EFBIG);
    }
    EXPECT_EQ(get("memo.txt"), "old");
    EXPECT_FALSE(fs::exists(dir_ / "corkpane.ini"));
}

TEST_F(SettingsStore, ReplacementKeepsLinksAndPermissions)
{
    put("real.txt", "old");
    fs::create_symlink("real.txt", dir_ / "memo.txt");
    put("corkpane.ini", "# x\r\n");
    fs::permissions(dir_ / "corkpane.ini", fs::perms::owner_read | fs::perms::owner_write);
    app::SaveSettings(dir_, Settings {}, "new");
    EXPECT_TRUE(fs::is_symlink(dir_ / "memo.txt"));
    EXPECT_EQ(get("real.txt"), "new");
    EXPECT_EQ(fs::status(dir_ / "corkpane.ini").permissions() & fs::perms::all,
        fs::perms::owner_read | fs::perms::owner_write);
}

} // namespace
