#include "WindowFixture.h"
#include "common/SjisLiteral.h"
#include "gui/ShortcutMaker.h"
#include "platform/RedrawTimer.h"
#include "platform/SjisText.h"

#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>
#include <cstdlib>
#include <optional>

namespace {

// Points HOME and XDG_CONFIG_HOME into the test's folder for its duration.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value)
        : name_(name)
    {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv()
    {
        if (old_) {
            setenv(name_, old_->c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

// systemctl as far as the timer needs it: present or missing, every call
// recorded.
class FakeSystemctl : public platform::CommandRunner {
public:
    bool present = true;
    std::vector<std::vector<std::string>> calls;
    platform::CommandResult Run(const std::vector<std::string>& argv) override
    {
        calls.push_back(argv);
        return { present ? 0 : 127, "" };
    }
};

class GuiShortcuts : public WindowFixture {
protected:
    std::filesystem::path Home() const { return Folder() / "home"; }
    std::filesystem::path DesktopFile() const { return Home() / "Desktop" / "Corkpane.desktop"; }
    std::filesystem::path AutostartFile() const
    {
        return Home() / "config" / "autostart" / "Corkpane.desktop";
    }
    static std::string Read(const std::filesystem::path& file)
    {
        std::ifstream in(file, std::ios::binary);
        return { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
    }
    void Click(gui::TForm1& window, bool yes)
    {
        dialogs_.answerYes = yes;
        Find<QPushButton>(window, "BtnShortCut")->click();
    }
    // The last box shown, in UTF-8: after Yes, the report.
    std::string LastShown() const
    {
        return dialogs_.shown.empty() ? std::string() : dialogs_.shown.back().text.toStdString();
    }

    ScopedEnv home_ { "HOME", (Folder() / "home").string() };
    ScopedEnv config_ { "XDG_CONFIG_HOME", (Folder() / "home" / "config").string() };
};

TEST_F(GuiShortcuts, NoCreatesNothingAfterTheQuestion)
{
    auto window = MakeWindow();
    Click(*window, false);
    ASSERT_EQ(dialogs_.shown.size(), 1U);
    EXPECT_EQ(dialogs_.shown[0].kind, QStringLiteral("question"));
    EXPECT_EQ(platform::ToSjis(dialogs_.shown[0].text),
        Sjis("スタートアップとデスクトップにショートカットを\n\n作成してもよろしいですか。\n"));
    EXPECT_EQ(platform::ToSjis(dialogs_.shown[0].caption), Sjis("「Corkpane」 確認"));
    EXPECT_FALSE(std::filesystem::exists(Home()));
}

TEST_F(GuiShortcuts, YesWritesBothEntriesAndASecondYesReplacesThem)
{
    auto window = MakeWindow();
    Click(*window, true);
    const std::string program = (Folder() / "corkpane").string();
    const std::string desktop = Read(DesktopFile());
    const std::string autostart = Read(AutostartFile());
    for (const std::string* entry : { &desktop, &autostart }) {
        EXPECT_EQ(entry->rfind("[Desktop Entry]\nType=Application\n", 0), 0U) << *entry;
        EXPECT_NE(entry->find("\nName=Corkpane\n"), std::string::npos) << *entry;
        EXPECT_NE(entry->find("\nPath=" + Folder().string() + "\n"), std::string::npos) << *entry;
        EXPECT_NE(entry->find("\nIcon=corkpane\n"), std::string::npos) << *entry;
    }
    EXPECT_NE(desktop.find("\nExec=" + program + "\n"), std::string::npos) << desktop;
    EXPECT_NE(autostart.find("\nExec=" + program + " /su\n"), std::string::npos) << autostart;
    // Each says what it does, in English and in Japanese.
    EXPECT_NE(desktop.find("\nComment=Memo and schedule drawn into the desktop wallpaper\n"
                           "Comment[ja]=メモと予定を壁紙に描くツール\n"),
        std::string::npos)
        << desktop;
    EXPECT_NE(autostart.find("\nComment=Draws the memo and schedule into the wallpaper at logon\n"
                             "Comment[ja]=ログオン時に、メモと予定を壁紙に描きます\n"),
        std::string::npos)
        << autostart;
    // The question, then the report: both files by name; no tool beside
    // the program, so no timer.
    ASSERT_EQ(dialogs_.shown.size(), 2U);
    EXPECT_EQ(dialogs_.shown[1].kind, QStringLiteral("message"));
    EXPECT_EQ(LastShown(),
        "ショートカットを作成しました。\n\n"
        "デスクトップのショートカット: "
            + DesktopFile().string()
            + "\n"
              "ログオン時の起動: "
            + AutostartFile().string()
            + "\n"
              "毎日の再描画 (0 時 1 分): プログラムと同じフォルダーに corkpane-tool "
              "がないため、作成しませんでした。");

    std::ofstream(DesktopFile(), std::ios::trunc) << "stale";
    std::ofstream(AutostartFile(), std::ios::trunc) << "stale";
    Click(*window, true);
    EXPECT_EQ(Read(DesktopFile()), desktop);
    EXPECT_EQ(Read(AutostartFile()), autostart);
}

TEST_F(GuiShortcuts, ASessionWithoutAutostartGetsTheLineForItsConfiguration)
{
    desktop_.runsAutostart = false; // sway
    auto window = MakeWindow();
    Click(*window, true);
    EXPECT_TRUE(std::filesystem::exists(AutostartFile()));
    ASSERT_EQ(dialogs_.shown.size(), 2U);
    const QString folder = QString::fromStdString(Folder().string());
    EXPECT_TRUE(dialogs_.shown[1].text.endsWith(QStringLiteral("exec cd '") + folder
        + QStringLiteral("' && exec '") + folder + QStringLiteral("/corkpane' /su")))
        << dialogs_.shown[1].text.toStdString();
    EXPECT_TRUE(dialogs_.shown[1].text.contains(QStringLiteral("~/.config/sway/config")));
}

TEST_F(GuiShortcuts, DesktopFolderComesFromUserDirs)
{
    std::filesystem::create_directories(Home() / "config");
    std::ofstream(Home() / "config" / "user-dirs.dirs") << "# comment\nXDG_DOWNLOAD_DIR=\"$HOME/dl\"\n"
                                                           "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n";
    EXPECT_EQ(
        gui::ShortcutMaker::GetSpecialFolderPath(gui::ShortcutMaker::kDesktop), Home() / "Schreibtisch");
    EXPECT_EQ(gui::ShortcutMaker::GetSpecialFolderPath(gui::ShortcutMaker::kStartup),
        Home() / "config" / "autostart");
}

TEST_F(GuiShortcuts, ExecAndPathAreEscapedForTheDesktopEntryFormat)
{
    struct Case {
        std::string program;
        std::string exec;
        std::string path;
        std::string tryExec;
    };
    const Case cases[] = {
        { "/opt/cork/corkpane", "Exec=/opt/cork/corkpane /su", "Path=/opt/cork",
            "TryExec=/opt/cork/corkpane" },
        { "/opt/my tools/corkpane", "Exec=\"/opt/my tools/corkpane\" /su", "Path=/opt/my tools",
            "TryExec=/opt/my tools/corkpane" },
        { "/opt/100%/corkpane", "Exec=/opt/100%%/corkpane /su", "Path=/opt/100%",
            "TryExec=/opt/100%/corkpane" },
        { "/opt/$x\\y/corkpane", "Exec=\"/opt/\\\\$x\\\\\\\\y/corkpane\" /su", "Path=/opt/$x\\\\y",
            "TryExec=/opt/$x\\\\y/corkpane" },
        { "/corkpane", "Exec=/corkpane /su", "Path=/", "TryExec=/corkpane" },
    };
    for (const Case& c : cases) {
        const std::filesystem::path program(c.program);
        const std::string entry
            = gui::ShortcutMaker::DesktopEntry(program, "/su", program.parent_path(), "Corkpane");
        EXPECT_NE(entry.find("\n" + c.exec + "\n"), std::string::npos) << entry;
        EXPECT_NE(entry.find("\n" + c.path + "\n"), std::string::npos) << entry;
        EXPECT_NE(entry.find("\n" + c.tryExec + "\n"), std::string::npos) << entry;
    }
}

// Every launcher the maker writes, for either kind and for program paths
// that need quoting, and the launcher the package installs pass the
// desktops' own check without an error, a warning or a hint.
TEST_F(GuiShortcuts, LaunchersPassDesktopFileValidate)
{
    const QString validate = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    if (validate.isEmpty()) {
        GTEST_SKIP() << "desktop-file-validate is not installed";
    }
    std::vector<std::filesystem::path> files { CORKPANE_DESKTOP_FILE };
    const char* const programs[] = { "/usr/bin/corkpane", "/opt/my tools/100%/corkpane",
        "/opt/$x\\y/corkpane", "/home/ユーザー/corkpane" };
    for (const char* program : programs) {
        for (const char* arguments : { "", "/su" }) {
            const std::filesystem::path file
                = Folder() / ("entry" + std::to_string(files.size()) + ".desktop");
            std::ofstream(file) << gui::ShortcutMaker::DesktopEntry(
                program, arguments, std::filesystem::path(program).parent_path(), "Corkpane");
            files.push_back(file);
        }
    }
    for (const std::filesystem::path& file : files) {
        QProcess check;
        check.setProcessChannelMode(QProcess::MergedChannels);
        check.start(validate, { QString::fromStdString(file.string()) });
        ASSERT_TRUE(check.waitForFinished(30000));
        EXPECT_EQ(check.exitCode(), 0) << file;
        EXPECT_EQ(check.readAll().toStdString(), "") << Read(file);
    }
}

// Once the program is removed, the logon entry starts nothing: GLib's
// launcher, which desktops use for autostart, skips it by its TryExec.
TEST_F(GuiShortcuts, TheLogonEntryStartsNothingOnceTheProgramIsGone)
{
    const QString gio = QStandardPaths::findExecutable(QStringLiteral("gio"));
    if (gio.isEmpty()) {
        GTEST_SKIP() << "gio is not installed";
    }
    const std::filesystem::path program = Folder() / "corkpane";
    const std::filesystem::path marker = Folder() / "started";
    std::ofstream(program) << "#!/bin/sh\necho \"$1\" > '" << marker.string() << "'\n";
    std::filesystem::permissions(program, std::filesystem::perms::owner_all);
    gui::ShortcutMaker maker(program, [](const std::string&) {});
    maker.MakeShortCut("Corkpane", gui::ShortcutMaker::kStartup);
    auto launch = [&] {
        QProcess process;
        process.start(gio, { QStringLiteral("launch"), QString::fromStdString(AutostartFile().string()) });
        process.waitForFinished(30000);
        return process.exitCode();
    };

    EXPECT_EQ(launch(), 0);
    for (int i = 0; i < 100 && !std::filesystem::exists(marker); ++i) {
        QTest::qWait(50);
    }
    EXPECT_EQ(Read(marker), "/su\n");

    std::filesystem::remove(marker);
    std::filesystem::remove(program);
    EXPECT_NE(launch(), 0);
    QTest::qWait(300);
    EXPECT_FALSE(std::filesystem::exists(marker));
}

TEST_F(GuiShortcuts, AFailedWriteIsReportedAndTheOtherShortcutIsStillMade)
{
    // A plain file where the desktop folder should be.
    std::filesystem::create_directories(Home());
    std::ofstream(Home() / "Desktop") << "not a folder";
    auto window = MakeWindow();
    Click(*window, true);
    ASSERT_EQ(dialogs_.shown.size(), 3U);
    EXPECT_EQ(dialogs_.shown[1].kind, QStringLiteral("message"));
    EXPECT_EQ(dialogs_.shown[1].text, QStringLiteral("Save failed!"));
    EXPECT_TRUE(std::filesystem::exists(AutostartFile()));
    // The report gives the failure its reason and still names the file made.
    const std::string desktopLine = "デスクトップのショートカット: 作成できませんでした。フォルダー \""
        + (Home() / "Desktop").string() + "\" を作成できません。";
    EXPECT_EQ(LastShown().rfind("作成できなかったものがあります。\n\n" + desktopLine, 0), 0U) << LastShown();
    const std::size_t reason = LastShown().find(desktopLine) + desktopLine.size();
    EXPECT_NE(LastShown().at(reason), '\n') << "no reason: " << LastShown();
    EXPECT_NE(LastShown().find("\nログオン時の起動: " + AutostartFile().string() + "\n"), std::string::npos)
        << LastShown();
}

TEST_F(GuiShortcuts, AnEntryThatCannotBeWrittenIsReportedWithTheFileUnitsMessage)
{
    // A folder where the entry should be: it cannot be replaced.
    std::filesystem::create_directories(AutostartFile());
    std::vector<std::string> messages;
    gui::ShortcutMaker maker(
        Folder() / "corkpane", [&](const std::string& text) { messages.push_back(text); });
    maker.MakeShortCut("Corkpane", gui::ShortcutMaker::kStartup);
    ASSERT_EQ(messages.size(), 1U);
    EXPECT_EQ(
        messages[0].rfind(Sjis("ファイル \"") + AutostartFile().string() + Sjis("\" を作成できません。"), 0),
        0U)
        << messages[0];
}

TEST_F(GuiShortcuts, AProgramPathThatIsNotAbsoluteIsReported)
{
    std::vector<std::string> messages;
    gui::ShortcutMaker maker("corkpane", [&](const std::string& text) { messages.push_back(text); });
    maker.MakeShortCut("Corkpane", gui::ShortcutMaker::kStartup);
    EXPECT_EQ(messages, std::vector<std::string> { "SetPath failed!" });
}

TEST_F(GuiShortcuts, WithSystemdYesAlsoInstallsADailyRedrawTimerWithoutItNothingMore)
{
    // The tool beside the program, and a per-user folder with a blank in it.
    const std::filesystem::path tool = Folder() / "corkpane-tool";
    std::ofstream(tool) << "#!/bin/sh\n";
    std::filesystem::permissions(tool, std::filesystem::perms::owner_all);
    startFolder_ = Folder() / "my data";
    FakeSystemctl systemctl;
    commandRunner_ = &systemctl;
    const std::filesystem::path units = Home() / "config" / "systemd" / "user";

    systemctl.present = false;
    auto window = MakeWindow();
    EXPECT_NE(
        Find<QLabel>(*window, "LbFolder")->text().indexOf(QString::fromStdString(Folder().string())), -1);
    Click(*window, true);
    // The logon entry starts the program where its files are.
    EXPECT_NE(Read(AutostartFile()).find("\nPath=" + startFolder_.string() + "\n"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(Home() / "config" / "systemd"));
    EXPECT_TRUE(LastShown().ends_with(
        "\n毎日の再描画 (0 時 1 分): systemd (systemctl) が見つからないため、作成しませんでした。"))
        << LastShown();
    // A unit folder that cannot be made is a failure the report names.
    systemctl.present = true;
    std::ofstream(Home() / "config" / "systemd") << "a file";
    Click(*window, true);
    EXPECT_EQ(dialogs_.shown.size(), 4U); // no box of its own: the report says it
    EXPECT_EQ(LastShown().rfind("作成できなかったものがあります。\n", 0), 0U) << LastShown();
    EXPECT_NE(LastShown().find("\n毎日の再描画 (0 時 1 分): 作成できませんでした。フォルダー \""
                  + units.string() + "/timers.target.wants\" を作成できません。"),
        std::string::npos)
        << LastShown();
    std::filesystem::remove(Home() / "config" / "systemd");

    Click(*window, true);
    EXPECT_EQ(dialogs_.shown.size(), 6U); // questions and reports, no failure
    EXPECT_TRUE(
        LastShown().ends_with("\n毎日の再描画 (0 時 1 分): " + (units / "corkpane-redraw.timer").string()))
        << LastShown();
    const std::string service = Read(units / "corkpane-redraw.service");
    const std::string timer = Read(units / "corkpane-redraw.timer");
    EXPECT_NE(service.find("\nExecStart=" + tool.string() + " draw --install --dir \"" + startFolder_.string()
                  + "\"\n"),
        std::string::npos)
        << service;
    EXPECT_NE(timer.find("\nPersistent=true\n"), std::string::npos) << timer;
    EXPECT_NE(timer.find("\nOnCalendar=*-*-* 00:01:00\n"), std::string::npos) << timer;
    EXPECT_EQ(std::filesystem::read_symlink(units / "timers.target.wants" / "corkpane-redraw.timer"),
        std::filesystem::path("../corkpane-redraw.timer"));
    const std::vector<std::string> start { "systemctl", "--user", "start", "corkpane-redraw.timer" };
    EXPECT_NE(std::find(systemctl.calls.begin(), systemctl.calls.end(), start), systemctl.calls.end());
    // Only our own two units and the link.
    std::size_t files = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(Home() / "config" / "systemd")) {
        files += entry.is_directory() ? 0 : 1;
    }
    EXPECT_EQ(files, 3U);

    // systemd itself accepts both units.
    const QString analyze = QStandardPaths::findExecutable(QStringLiteral("systemd-analyze"));
    if (analyze.isEmpty()) {
        GTEST_SKIP() << "systemd-analyze is not installed";
    }
    QProcess verify;
    verify.setProcessChannelMode(QProcess::MergedChannels);
    verify.start(analyze,
        { QStringLiteral("verify"), QString::fromStdString((units / "corkpane-redraw.timer").string()),
            QString::fromStdString((units / "corkpane-redraw.service").string()) });
    ASSERT_TRUE(verify.waitForFinished(30000));
    EXPECT_EQ(verify.exitCode(), 0) << verify.readAll().toStdString();
}

TEST(RedrawTimerUnits, ExecWordsAreQuotedAndEscapedForSystemd)
{
    const struct {
        const char* word;
        const char* want;
    } cases[] = { { "/usr/bin/corkpane-tool", "/usr/bin/corkpane-tool" }, { "/a b", "\"/a b\"" },
        { "/100%", "/100%%" }, { "/$HOME", "/$$HOME" }, { "/a\"b", "\"/a\\\"b\"" },
        { "/a\\b", "\"/a\\\\b\"" }, { "", "\"\"" } };
    for (const auto& c : cases) {
        EXPECT_EQ(platform::RedrawTimer::ExecWord(c.word), c.want) << c.word;
    }
}

} // namespace
