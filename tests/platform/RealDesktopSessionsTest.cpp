// The installers of KDE Plasma, MATE, Cinnamon, LXQt, LXDE and sway against
// the desktops' own components, each started here in a private session
// (home, D-Bus session bus, Xvfb display): the user's picture and placement
// are read from the desktop, the drawn picture installed, the desktop's
// own setting and what it shows read back, and what it says when it cannot
// take the picture checked. Slow components start once per test. A
// component that is not installed skips its test, naming it; the packages
// come from scripts/install-deps.sh.

#include "RealSession.h"
#include "common/SjisLiteral.h"
#include "platform/LinuxDesktop.h"
#include "platform/WallpaperMemory.h"
#include "platform/WindowSystem.h"
#include "platform/desktops/DesktopText.h"

#include <QGuiApplication>
#include <QScreen>
#include <fstream>
#include <sys/stat.h>

using namespace platform;
using namespace real_session;

namespace {

const QRgb kGreen = QColor(Qt::green).rgb();

std::string FileText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
}

// The drawn wallpaper the installers are given, in memory: green all over.
DrawnWallpaper Drawn(bool spanned = false)
{
    static const QImage green = [] {
        QImage image(64, 48, QImage::Format_BGR888);
        image.fill(Qt::green);
        return image;
    }();
    return { "kabegami.bmp", green.constBits(), green.width(), green.height(),
        static_cast<std::size_t>(green.bytesPerLine()), spanned };
}

// What the desktop says is the user's picture, and how it is placed.
RememberedPicture Shown(LinuxDesktop& desktop)
{
    const DesktopState state = desktop.Read();
    return { state.picture, state.placement };
}

// The copy of the drawn picture in the session's cache, named in text.
std::string CopyIn(const Session& session, const std::string& text)
{
    const std::string folder = session.Home() + "/.cache/corkpane/kabegami-";
    const auto at = text.find(folder);
    if (at == std::string::npos)
        return {};
    const auto end = text.find(".png", at);
    return end == std::string::npos ? std::string() : text.substr(at, end + 4 - at);
}

CommandResult Plasma(const std::string& script)
{
    ProcessRunner runner;
    return runner.Run({ "dbus-send", "--session", "--print-reply", "--dest=org.kde.plasmashell",
        "/PlasmaShell", "org.kde.PlasmaShell.evaluateScript", "string:" + script });
}

} // namespace

TEST(RealDesktops, KdePlasmaShellTakesThePictureOnEveryDesktopAndSaysWhenItCannot)
{
    if (const std::string missing = Missing({ "Xvfb", "dbus-daemon", "dbus-send", "plasmashell", "import" });
        !missing.empty())
        GTEST_SKIP() << "not installed: " << missing;
    Session session("kde");
    ASSERT_FALSE(session.StartDisplay("1280x1024").empty());
    ASSERT_TRUE(session.StartBus());
    session.Set("QT_QPA_PLATFORM", "xcb");
    session.Set("QT_QUICK_BACKEND", "software");
    session.Set("XDG_CURRENT_DESKTOP", "KDE");
    const auto startShell = [&session](bool locked) {
        QProcess* shell = session.Start("plasmashell", {});
        // Up when it answers a script, or refuses it for the lock.
        const bool up = shell != nullptr
            && WaitFor(
                [locked] {
                    const CommandResult r = Plasma("print(1)");
                    return locked ? r.errorOutput.find("locked") != std::string::npos : r.exitCode == 0;
                },
                std::chrono::seconds(120));
        return up ? shell : nullptr;
    };
    QProcess* shell = startShell(false);
    ASSERT_NE(nullptr, shell) << "plasmashell did not answer";

    // The user's own picture, centred (FillMode 6), set through the shell.
    const std::string mine = session.Picture("mine.png", Qt::blue);
    ASSERT_EQ(0,
        Plasma("var d = desktops()[0]; d.wallpaperPlugin = 'org.kde.image';"
               "d.currentConfigGroup = ['Wallpaper', 'org.kde.image', 'General'];"
               "d.writeConfig('Image', 'file://"
            + mine + "'); d.writeConfig('FillMode', 6);")
            .exitCode);
    ProcessRunner runner;
    LinuxDesktop desktop(runner, &ProcessEnvironment);
    ASSERT_EQ(DesktopKind::Id::Kde, desktop.Kind());
    EXPECT_EQ((RememberedPicture { mine, Placement::Centered }), Shown(desktop));

    const Installation installed = desktop.Install(Drawn());
    ASSERT_TRUE(installed.taken) << installed.problem;
    // The shell keeps the choice in its applet configuration, zoomed (2).
    const std::string appletsrc = session.Home() + "/.config/plasma-org.kde.plasma.desktop-appletsrc";
    std::string copy;
    EXPECT_TRUE(WaitFor(
        [&] { return !(copy = CopyIn(session, FileText(appletsrc))).empty(); }, std::chrono::seconds(20)))
        << FileText(appletsrc);
    EXPECT_TRUE(std::filesystem::exists(copy)) << copy;
    EXPECT_NE(std::string::npos, FileText(appletsrc).find("FillMode=2"));
    // The desktop shows it.
    EXPECT_TRUE(WaitFor([&] { return session.RootPixel(640, 512) == kGreen; }, std::chrono::seconds(20)));
    // The next draw starts from the user's picture again.
    EXPECT_EQ((RememberedPicture { mine, Placement::Centered }), Shown(desktop));

    // Without its shell, Plasma cannot take a picture: said, by name.
    Session::Stop(*shell);
    const Installation stopped = desktop.Install(Drawn());
    EXPECT_FALSE(stopped.taken);
    EXPECT_EQ(0u, stopped.problem.find("KDE Plasma")) << stopped.problem;
    EXPECT_NE(std::string::npos, stopped.problem.find("plasmashell")) << stopped.problem;

    // Widgets locked by the administrator (a kiosk restriction) refuse it.
    std::ofstream(session.Home() + "/.config/kdeglobals")
        << "[KDE Action Restrictions][$i]\nplasma/plasmashell/unlockedDesktop=false\n";
    ASSERT_NE(nullptr, startShell(true)) << "plasmashell did not start locked";
    const Installation locked = desktop.Install(Drawn());
    EXPECT_FALSE(locked.taken);
    EXPECT_NE(std::string::npos, locked.problem.find(Sjis("ロック"))) << locked.problem;
}

TEST(RealDesktops, MateAndCinnamonThroughTheirOwnSchemas)
{
    if (const std::string missing = Missing({ "dbus-daemon", "gsettings" }); !missing.empty())
        GTEST_SKIP() << "not installed: " << missing;
    for (const char* schema : { "org.mate.background", "org.cinnamon.desktop.background" })
        if (!std::filesystem::exists("/usr/share/glib-2.0/schemas/" + std::string(schema) + ".gschema.xml"))
            GTEST_SKIP() << "not installed: the schema " << schema
                         << " (mate-desktop-common, cinnamon-desktop-data)";
    Session session("gsettings");
    ASSERT_TRUE(session.StartBus());
    session.Set("GSETTINGS_BACKEND", "dconf");
    const std::string mine = session.Picture("my picture.png", Qt::blue);
    // MATE keeps a plain path, Cinnamon a URI; both name the mode alike.
    const struct {
        const char* desktop;
        const char* schema;
        const char* key;
        std::string value;
    } cases[] = {
        { "MATE", "org.mate.background", "picture-filename", mine },
        { "X-Cinnamon", "org.cinnamon.desktop.background", "picture-uri", PathToFileUri(mine) },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.desktop);
        ScopedEnv current("XDG_CURRENT_DESKTOP", c.desktop);
        Tool({ "gsettings", "set", c.schema, c.key, QuoteGVariant(c.value) });
        Tool({ "gsettings", "set", c.schema, "picture-options", "scaled" });
        Tool({ "gsettings", "set", c.schema, "primary-color", "#102030" });
        ProcessRunner runner;
        LinuxDesktop desktop(runner, &ProcessEnvironment);
        EXPECT_EQ((RememberedPicture { mine, Placement::Scaled }), Shown(desktop));
        EXPECT_EQ(0x00302010u, desktop.Read().colour);
        const Installation installed = desktop.Install(Drawn(true));
        ASSERT_TRUE(installed.taken) << installed.problem;
        const std::string stored = UnquoteGVariant(Tool({ "gsettings", "get", c.schema, c.key }));
        const std::string copy = CopyIn(session, FileUriToPath(stored));
        EXPECT_TRUE(!copy.empty() && std::filesystem::exists(copy)) << stored;
        EXPECT_EQ(std::string(c.key) == "picture-uri", stored.rfind("file://", 0) == 0) << stored;
        EXPECT_EQ("'spanned'", Tool({ "gsettings", "get", c.schema, "picture-options" }));
        EXPECT_EQ((RememberedPicture { mine, Placement::Scaled }), Shown(desktop));
    }
}

TEST(RealDesktops, LxqtAndLxdeThroughPcmanfmAndTheirSettingsFiles)
{
    if (const std::string missing
        = Missing({ "Xvfb", "dbus-daemon", "pcmanfm-qt", "pcmanfm", "pgrep", "import" });
        !missing.empty())
        GTEST_SKIP() << "not installed: " << missing;
    Session session("pcmanfm");
    ASSERT_FALSE(session.StartDisplay("1024x768").empty());
    ASSERT_TRUE(session.StartBus());
    session.Set("QT_QPA_PLATFORM", "xcb");
    const std::string mine = session.Picture("mine.png", Qt::blue);
    const struct {
        const char* desktop;
        const char* program;
        const char* profile;
        std::string file;
        std::string settings;
        const char* key;
        RememberedPicture user;
    } cases[] = {
        { "LXQt", "pcmanfm-qt", "lxqt", "/.config/pcmanfm-qt/lxqt/settings.conf",
            "[Desktop]\nWallpaperMode=center\nWallpaper=" + mine + "\nBgColor=#102030\n",
            "Wallpaper=", { mine, Placement::Centered } },
        { "LXDE", "pcmanfm", "LXDE", "/.config/pcmanfm/LXDE/desktop-items-0.conf",
            "[*]\nwallpaper_mode=fit\nwallpaper_common=1\nwallpaper=" + mine + "\ndesktop_bg=#102030\n",
            "wallpaper=", { mine, Placement::Scaled } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.desktop);
        ScopedEnv current("XDG_CURRENT_DESKTOP", c.desktop);
        session.Folder().Write("home" + c.file, c.settings);
        ProcessRunner runner;
        LinuxDesktop desktop(runner, &ProcessEnvironment);
        desktop.SetReadBackTime(10000);
        // Its program without its desktop process would do nothing (or
        // stay running as that process): said at once, by name.
        const auto started = std::chrono::steady_clock::now();
        const Installation early = desktop.Install(Drawn());
        EXPECT_FALSE(early.taken);
        EXPECT_EQ(0u, early.problem.find(c.desktop)) << early.problem;
        EXPECT_NE(std::string::npos, early.problem.find("--desktop")) << early.problem;
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));

        QProcess* process = session.Start(
            c.program, { QStringLiteral("--desktop"), QStringLiteral("--profile=") + c.profile });
        ASSERT_NE(nullptr, process);
        ASSERT_TRUE(WaitFor(
            [&] { return session.RootPixel(512, 384) == QColor(Qt::blue).rgb(); }, std::chrono::seconds(30)))
            << "the desktop does not show the user's picture";
        EXPECT_EQ(c.user, Shown(desktop));
        EXPECT_EQ(0x00302010u, desktop.Read().colour);

        const Installation installed = desktop.Install(Drawn());
        ASSERT_TRUE(installed.taken) << installed.problem;
        const std::string file = FileText(session.Home() + c.file);
        const std::string copy = CopyIn(session, file);
        EXPECT_NE(std::string::npos, file.find(c.key + copy)) << file;
        EXPECT_TRUE(WaitFor([&] { return session.RootPixel(512, 384) == kGreen; }, std::chrono::seconds(20)));
        EXPECT_EQ(c.user, Shown(desktop));
        Session::Stop(*process);
    }
}

TEST(RealDesktops, SwayHeadlessChecksTheFileSetsEveryOutputAndReadsSwaybgBack)
{
    if (const std::string missing = Missing({ "sway", "swaymsg", "swaybg", "pgrep", "setpriv" });
        !missing.empty())
        GTEST_SKIP() << "not installed: " << missing;
    Session session("sway");
    // sway refuses to run as root: as root it runs as nobody, in a runtime
    // folder of its own that the tests' own user (root) can still reach.
    const bool root = ::getuid() == 0;
    const std::string runtime = session.Root() + "/sway-run";
    std::filesystem::create_directories(runtime);
    std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
    const std::string config
        = session.Folder()
              .Write("sway-config",
                  "output HEADLESS-1 resolution 2560x1600 scale 2\n"
                  "bar {\n  position top\n  status_command while :; do echo x; sleep 60; done\n}\n")
              .string();
    std::filesystem::permissions(session.Root(),
        std::filesystem::perms::owner_all | std::filesystem::perms::group_exec
            | std::filesystem::perms::others_exec);
    ::chmod(config.c_str(), 0644);
    if (root) {
        ASSERT_EQ(0, ::chown(runtime.c_str(), 65534, 65534));
    }
    QStringList command { QStringLiteral("env"),
        QStringLiteral("XDG_RUNTIME_DIR=") + QString::fromStdString(runtime),
        QStringLiteral("HOME=") + QString::fromStdString(runtime), QStringLiteral("WLR_BACKENDS=headless"),
        QStringLiteral("WLR_RENDERER=pixman"), QStringLiteral("WLR_LIBINPUT_NO_DEVICES=1"),
        QStringLiteral("sway"), QStringLiteral("-c"), QString::fromStdString(config) };
    if (root)
        command = QStringList { QStringLiteral("--reuid=nobody"), QStringLiteral("--regid=nogroup"),
            QStringLiteral("--clear-groups") }
            + command;
    ASSERT_NE(nullptr, session.Start(root ? "setpriv" : command.takeFirst().toStdString(), command));
    std::string sock;
    ASSERT_TRUE(WaitFor(
        [&] {
            for (const auto& entry : std::filesystem::directory_iterator(runtime))
                if (entry.path().filename().string().rfind("sway-ipc.", 0) == 0)
                    sock = entry.path().string();
            return !sock.empty();
        },
        std::chrono::seconds(20)));
    session.Set("SWAYSOCK", sock);
    session.Set("XDG_CURRENT_DESKTOP", "sway");
    ProcessRunner runner;
    LinuxDesktop desktop(runner, &ProcessEnvironment);
    desktop.SetReadBackTime(10000);
    desktop.SetScreenProbe([] { return std::vector<Monitor>(); });
    EXPECT_FALSE(desktop.RunsAutostartEntries());

    // The first output stands for the primary one, in device pixels; the
    // bar at its top is left out of the work area.
    std::vector<Monitor> monitors;
    ASSERT_TRUE(WaitFor(
        [&] {
            monitors = desktop.Read().monitors;
            return monitors.size() == 1 && monitors[0].workArea.y > 0;
        },
        std::chrono::seconds(20)));
    EXPECT_EQ((Rect { 0, 0, 2560, 1600 }), monitors[0].geometry);
    EXPECT_EQ(2.0, monitors[0].scale);
    EXPECT_TRUE(monitors[0].primary);
    EXPECT_EQ(0, monitors[0].workArea.y % 2); // whole logical pixels

    // The user's picture, centred, as swaybg runs it.
    const std::string mine = session.Picture("mine.png", Qt::blue);
    ::chmod(mine.c_str(), 0644);
    Tool({ "swaymsg", "output", "*", "bg", mine, "center" });
    ASSERT_TRUE(WaitFor([&] { return desktop.Read().picture == mine; }, std::chrono::seconds(10)));
    EXPECT_EQ((RememberedPicture { mine, Placement::Centered }), Shown(desktop));

    if (root) {
        // The cache folder is the test user's own: the compositor's user
        // cannot read the copy, and sway would say success all the same.
        std::filesystem::permissions(session.Home(), std::filesystem::perms::owner_all);
        const Installation refused = desktop.Install(Drawn());
        EXPECT_FALSE(refused.taken);
        EXPECT_EQ(0u, refused.problem.find("sway")) << refused.problem;
        EXPECT_NE(std::string::npos, refused.problem.find(session.Home() + "/.cache/corkpane/kabegami-"))
            << refused.problem;
        std::filesystem::permissions(session.Home(),
            std::filesystem::perms::owner_all | std::filesystem::perms::group_exec
                | std::filesystem::perms::others_exec);
    }
    const Installation installed = desktop.Install(Drawn());
    ASSERT_TRUE(installed.taken) << installed.problem;
    const std::string swaybg = Tool({ "pgrep", "-a", "-x", "swaybg" });
    const std::string copy = CopyIn(session, swaybg);
    EXPECT_TRUE(!copy.empty() && std::filesystem::exists(copy)) << swaybg;
    EXPECT_NE(std::string::npos, swaybg.find("-o * -i " + copy + " -m fill")) << swaybg;
    EXPECT_EQ((RememberedPicture { mine, Placement::Centered }), Shown(desktop));

    // A home folder whose name sway would read as a command (an apostrophe,
    // a command substitution): the copy is shown from the session's runtime
    // folder under a plain name, and nothing runs.
    const std::string odd = session.Root() + "/o'brien $(touch ran)";
    std::filesystem::create_directories(odd);
    ::chmod(odd.c_str(), 0755);
    LinuxDesktop oddHome(runner, [&](const std::string& name) {
        if (name == "HOME" || name == "XDG_CACHE_HOME" || name == "XDG_CONFIG_HOME")
            return name == "HOME" ? odd : odd + (name == "XDG_CACHE_HOME" ? "/.cache" : "/.config");
        return name == "XDG_RUNTIME_DIR" ? runtime : ProcessEnvironment(name);
    });
    oddHome.SetReadBackTime(10000);
    const Installation safe = oddHome.Install(Drawn());
    ASSERT_TRUE(safe.taken) << safe.problem;
    const std::string shown = Tool({ "pgrep", "-a", "-x", "swaybg" });
    EXPECT_NE(std::string::npos, shown.find("-o * -i " + runtime + "/corkpane-kabegami-")) << shown;
    EXPECT_FALSE(std::filesystem::exists(session.Root() + "/ran"));
    EXPECT_FALSE(std::filesystem::exists(runtime + "/ran"));
}

TEST(RealDesktops, RandrMonitorsAndTheWorkAreaOnAnXServer)
{
    if (const std::string missing = Missing({ "Xvfb", "xrandr", "xprop" }); !missing.empty())
        GTEST_SKIP() << "not installed: " << missing;
    Session session("monitors");
    ASSERT_FALSE(session.StartDisplay("2560x1024").empty());
    // Two monitors of different sizes side by side; a window manager's
    // work area with a 30-pixel top panel.
    Tool({ "xrandr", "--setmonitor", "left", "1600/400x1024/270+0+0", "screen" });
    Tool({ "xrandr", "--setmonitor", "right", "960/250x720/190+1600+0", "none" });
    Tool({ "xprop", "-root", "-f", "_NET_WORKAREA", "32c", "-set", "_NET_WORKAREA", "0, 30, 2560, 994" });
    ProcessRunner runner;
    LinuxDesktop desktop(runner, [&session](const std::string& name) {
        return name == "HOME" ? session.Home() : ProcessEnvironment(name);
    });
    desktop.SetScreenProbe([] { return std::vector<Monitor>(); });
    const DesktopState state = desktop.Read();
    const std::vector<Monitor>& monitors = state.monitors;
    ASSERT_EQ(2u, monitors.size());
    EXPECT_EQ((Monitor { { 0, 0, 1600, 1024 }, { 0, 30, 1600, 994 }, 1.0, true }), monitors[0]);
    EXPECT_EQ((Monitor { { 1600, 0, 960, 720 }, { 1600, 30, 960, 690 }, 1.0, false }), monitors[1]);
    EXPECT_EQ((ScreenSize { 1600, 1024 }), state.screen);

    // Qt, where the program runs its window, sees the same monitors.
    ScopedEnv platform("QT_QPA_PLATFORM", "xcb");
    int argc = 1;
    char name[] = "test_platform";
    char* argv[] = { name, nullptr };
    QGuiApplication application(argc, argv);
    const std::vector<Monitor> screens = QtScreens();
    ASSERT_EQ(2u, screens.size());
    for (const Monitor& screen : screens) {
        const auto same = std::find_if(monitors.begin(), monitors.end(),
            [&screen](const Monitor& m) { return m.geometry == screen.geometry; });
        EXPECT_NE(monitors.end(), same) << screen.geometry.x << "," << screen.geometry.width;
    }
}

TEST(RealDesktops, ADrawOnTwoRandrMonitorsIsThePrimaryMonitorsSizeAndShownOneToOne)
{
    if (const std::string missing = Missing({ "Xvfb", "xrandr", "xprop", "feh", "import" }); !missing.empty())
        GTEST_SKIP() << "not installed: " << missing;
    Session session("draw");
    ASSERT_FALSE(session.StartDisplay("2560x1024").empty());
    Tool({ "xrandr", "--setmonitor", "left", "1600/400x1024/270+0+0", "screen" });
    Tool({ "xrandr", "--setmonitor", "right", "960/250x720/190+1600+0", "none" });
    Tool({ "xprop", "-root", "-f", "_NET_WORKAREA", "32c", "-set", "_NET_WORKAREA", "0, 30, 2560, 994" });
    // The user's picture, centred by feh on each monitor.
    const std::string mine = session.Picture("mine.bmp", Qt::blue, "BMP");
    Tool({ "feh", "--bg-center", mine });
    const std::string folder = session.Root() + "/files";
    std::filesystem::create_directories(folder);
    ScopedEnv noDesktop("XDG_CURRENT_DESKTOP", "");
    // In a sanitizer build: fontconfig keeps its configuration until exit.
    ScopedEnv leaks("LSAN_OPTIONS",
        "suppressions=" + session.Folder().Write("lsan.supp", "leak:libfontconfig.so\n").string());
    ProcessRunner runner;
    const CommandResult draw
        = runner.Run({ CORKPANE_TOOL_FULL, "draw", "--install", "--dir", folder, "--today", "2026-12-09" });
    ASSERT_EQ(0, draw.exitCode) << draw.errorOutput;
    // The canvas is the primary (first) monitor, the user's picture centred
    // on it; feh shows it one to one there.
    QImage drawn;
    ASSERT_TRUE(drawn.load(QString::fromStdString(folder + "/kabegami.bmp")));
    EXPECT_EQ(QSize(1600, 1024), drawn.size());
    EXPECT_EQ(QColor(Qt::blue).rgb(), drawn.pixel(800, 512));
    EXPECT_NE(std::string::npos, FileText(session.Home() + "/.fehbg").find("--bg-fill"))
        << FileText(session.Home() + "/.fehbg");
    EXPECT_EQ(drawn.pixel(800, 512), session.RootPixel(800, 512));
    EXPECT_EQ(drawn.pixel(5, 1000), session.RootPixel(5, 1000));
    // The user's placement is remembered with the picture.
    EXPECT_NE(std::string::npos,
        FileText(session.Home() + "/.config/corkpane/wallpaper.txt").find("Placement=centered"));
}
