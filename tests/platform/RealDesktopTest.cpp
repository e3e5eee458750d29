// The wallpaper installers against the desktops' own components, each
// started here on a private bus or display: GNOME's settings (gsettings and
// dconf on a private D-Bus session), Xfce's settings daemon (xfconfd, started
// by the same bus) and feh on an Xvfb server. A component that is not
// installed skips its test, naming it.

#include "RealSession.h"
#include "common/TempFolder.h"
#include "platform/CommandRunner.h"
#include "platform/LinuxDesktop.h"
#include "platform/WallpaperMemory.h"
#include "platform/WindowSystem.h"
#include "platform/desktops/DesktopText.h"

#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <list>
#include <optional>
#include <thread>
#include <unistd.h>

using namespace platform;

namespace {

using real_session::Missing;
using real_session::ScopedEnv;
using real_session::Tool;

class RealDesktopTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        home_ = root_ + "/home";
        std::filesystem::create_directories(home_ + "/.config");
        std::filesystem::create_directories(root_ + "/run");
        std::filesystem::permissions(root_ + "/run", std::filesystem::perms::owner_all);
        picture_ = root_ + "/mine.png";
        QImage picture(16, 8, QImage::Format_RGB888);
        picture.fill(Qt::blue);
        ASSERT_TRUE(picture.save(QString::fromStdString(picture_), "PNG"));
        drawn_.fill(Qt::green);
        env_.emplace_back("HOME", home_);
        env_.emplace_back("XDG_CONFIG_HOME", home_ + "/.config");
        env_.emplace_back("XDG_CACHE_HOME", home_ + "/.cache");
        env_.emplace_back("XDG_DATA_HOME", home_ + "/.local/share");
        env_.emplace_back("XDG_RUNTIME_DIR", root_ + "/run");
    }
    void TearDown() override
    {
        for (QProcess* process : { &bus_, &display_ }) {
            if (process->state() != QProcess::NotRunning) {
                process->terminate();
                if (!process->waitForFinished(5000)) {
                    process->kill();
                    process->waitForFinished(5000);
                }
            }
        }
        env_.clear();
    }

    // The drawn wallpaper, green, in memory.
    DrawnWallpaper Drawn() const
    {
        return { root_ + "/kabegami.bmp", drawn_.constBits(), drawn_.width(), drawn_.height(),
            static_cast<std::size_t>(drawn_.bytesPerLine()), false };
    }
    // What the desktop says is the user's picture, and how it is placed.
    static RememberedPicture Shown(LinuxDesktop& desktop)
    {
        const DesktopState state = desktop.Read();
        return { state.picture, state.placement };
    }

    EnvironmentLookup Env(const std::string& desktop, const std::string& display = "")
    {
        return [this, desktop, display](const std::string& name) -> std::string {
            if (name == "HOME")
                return home_;
            if (name == "XDG_CURRENT_DESKTOP")
                return desktop;
            if (name == "DISPLAY")
                return display;
            return {};
        };
    }

    // A private D-Bus session bus; its services (dconf, xfconfd) are started
    // on it when first asked for.
    bool StartBus()
    {
        bus_.setProgram(QStringLiteral("dbus-daemon"));
        bus_.setArguments({ QStringLiteral("--session"), QStringLiteral("--nofork"),
            QStringLiteral("--nopidfile"), QStringLiteral("--print-address=1"),
            QStringLiteral("--address=unix:path=") + QString::fromStdString(root_ + "/run/bus") });
        bus_.start();
        if (!bus_.waitForStarted(10000))
            return false;
        while (!bus_.canReadLine())
            if (!bus_.waitForReadyRead(10000))
                return false;
        const std::string address = bus_.readLine().trimmed().toStdString();
        env_.emplace_back("DBUS_SESSION_BUS_ADDRESS", address);
        return !address.empty();
    }

    // An Xvfb server of the given size on a free display number.
    std::string StartDisplay(bool randr)
    {
        for (int n = 40 + static_cast<int>(getpid() % 40), tries = 0; tries < 20; ++n, ++tries) {
            const std::string name = ":" + std::to_string(n);
            if (std::filesystem::exists("/tmp/.X11-unix/X" + std::to_string(n)))
                continue;
            QStringList arguments { QString::fromStdString(name), QStringLiteral("-screen"),
                QStringLiteral("0"), QStringLiteral("1280x1024x24"), QStringLiteral("-nolisten"),
                QStringLiteral("tcp"),
                // Without a client the server would reset, and the root
                // window lose its picture.
                QStringLiteral("-noreset") };
            if (!randr)
                arguments << QStringLiteral("-extension") << QStringLiteral("RANDR");
            display_.start(QStringLiteral("Xvfb"), arguments);
            if (!display_.waitForStarted(10000))
                return {};
            for (int wait = 0; wait < 100; ++wait) {
                if (display_.state() == QProcess::NotRunning)
                    break;
                if (std::filesystem::exists("/tmp/.X11-unix/X" + std::to_string(n))) {
                    env_.emplace_back("DISPLAY", name);
                    return name;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
            }
            display_.kill();
            display_.waitForFinished(5000);
        }
        return {};
    }

    std::string CopyIn(const std::string& text) const
    {
        const std::string folder = home_ + "/.cache/corkpane/";
        const auto at = text.find(folder);
        return at == std::string::npos ? std::string() : text.substr(at);
    }

    test_files::TempFolder temp_ { "real" };
    std::string root_ = temp_.Path().string();
    std::string home_, picture_;
    QImage drawn_ { 32, 16, QImage::Format_BGR888 };
    std::list<ScopedEnv> env_;
    QProcess bus_, display_;
    ProcessRunner runner_;
};

TEST_F(RealDesktopTest, GnomeSettingsThroughGsettingsAndDconf)
{
    if (const std::string missing = Missing({ "dbus-daemon", "gsettings" }); !missing.empty())
        GTEST_SKIP() << "not installed: " << missing;
    if (!std::filesystem::exists("/usr/share/glib-2.0/schemas/org.gnome.desktop.background.gschema.xml"))
        GTEST_SKIP() << "not installed: the GNOME schemas (gsettings-desktop-schemas)";
    ASSERT_TRUE(StartBus());
    env_.emplace_back("GSETTINGS_BACKEND", "dconf");
    const std::string schema = "org.gnome.desktop.background";
    Tool({ "gsettings", "set", schema, "picture-uri", QuoteGVariant("file://" + picture_) });
    Tool({ "gsettings", "set", schema, "picture-options", "centered" });
    // The value lives in the user's dconf database, not in memory.
    ASSERT_TRUE(std::filesystem::exists(home_ + "/.config/dconf/user"));

    LinuxDesktop desktop(runner_, Env("GNOME"));
    const RememberedPicture mine { picture_, Placement::Centered };
    EXPECT_EQ(mine, Shown(desktop));
    ASSERT_TRUE(desktop.Install(Drawn()));
    const std::string uri = Tool({ "gsettings", "get", schema, "picture-uri" });
    const std::string copy = CopyIn(FileUriToPath(UnquoteGVariant(uri)));
    EXPECT_FALSE(copy.empty()) << uri;
    EXPECT_TRUE(std::filesystem::exists(copy)) << copy;
    // The canvas is the primary monitor's size: zoomed, it shows one to one.
    EXPECT_EQ("'zoom'", Tool({ "gsettings", "get", schema, "picture-options" }));
    // The next draw starts again from the user's own picture.
    EXPECT_EQ(mine, Shown(desktop));
}

TEST_F(RealDesktopTest, XfceSettingsThroughXfconfd)
{
    if (const std::string missing = Missing({ "dbus-daemon", "xfconf-query" }); !missing.empty())
        GTEST_SKIP() << "not installed: " << missing;
    ASSERT_TRUE(StartBus());
    const std::string property = "/backdrop/screen0/monitor0/workspace0/last-image";
    const std::string style = "/backdrop/screen0/monitor0/workspace0/image-style";
    Tool({ "xfconf-query", "-c", "xfce4-desktop", "-p", property, "-n", "-t", "string", "-s", picture_ });
    Tool({ "xfconf-query", "-c", "xfce4-desktop", "-p", style, "-n", "-t", "int", "-s", "2" });

    LinuxDesktop desktop(runner_, Env("XFCE"));
    const RememberedPicture mine { picture_, Placement::Wallpaper }; // tiled
    EXPECT_EQ(mine, Shown(desktop));
    ASSERT_TRUE(desktop.Install(Drawn()));
    const std::string copy = CopyIn(Tool({ "xfconf-query", "-c", "xfce4-desktop", "-p", property }));
    EXPECT_FALSE(copy.empty());
    EXPECT_TRUE(std::filesystem::exists(copy)) << copy;
    EXPECT_EQ(mine, Shown(desktop));
}

TEST_F(RealDesktopTest, FehOnAPlainXServerAndTheScreenSizeWithAndWithoutRandr)
{
    if (const std::string missing = Missing({ "Xvfb", "feh", "xrandr", "xdpyinfo", "import" });
        !missing.empty())
        GTEST_SKIP() << "not installed: " << missing;
    const RememberedPicture mine { picture_, Placement::Centered };
    for (const bool randr : { true, false }) {
        SCOPED_TRACE(randr ? "with RandR" : "without RandR");
        const std::string display = StartDisplay(randr);
        ASSERT_FALSE(display.empty());
        std::filesystem::remove(home_ + "/.fehbg");
        Tool({ "feh", "--bg-center", picture_ });

        LinuxDesktop desktop(runner_, Env("", display));
        ASSERT_EQ(DesktopKind::Id::X11, desktop.Kind());
        desktop.SetScreenProbe([] { return std::vector<Monitor>(); }); // no Qt screen: the server is asked
        std::string warning;
        desktop.SetWarning([&warning](const std::string& line) { warning += line; });
        const DesktopState state = desktop.Read();
        EXPECT_EQ(1280, state.screen.width);
        EXPECT_EQ(1024, state.screen.height);
        EXPECT_EQ("", warning);

        // Without RandR (and so without Xinerama) feh records no file name
        // in ~/.fehbg; the picture remembered on the first pass is kept.
        EXPECT_EQ(mine, (RememberedPicture { state.picture, state.placement }));
        ASSERT_TRUE(desktop.Install(Drawn()));
        std::ifstream script(home_ + "/.fehbg");
        const std::string fehbg { std::istreambuf_iterator<char>(script), std::istreambuf_iterator<char>() };
        EXPECT_NE(fehbg.find("--bg-fill"), std::string::npos) << fehbg;
        if (randr) {
            const std::string copy = CopyIn(fehbg).substr(0, CopyIn(fehbg).find('\''));
            EXPECT_TRUE(!copy.empty() && std::filesystem::exists(copy)) << fehbg;
        }
        // The root window shows the drawn picture, zoomed over it.
        const std::string shot = root_ + "/root.png";
        Tool({ "import", "-window", "root", shot });
        QImage screen;
        ASSERT_TRUE(screen.load(QString::fromStdString(shot)));
        EXPECT_EQ(QColor(Qt::green).rgb(), screen.pixel(640, 512));
        EXPECT_EQ(mine, Shown(desktop));

        display_.terminate();
        display_.waitForFinished(5000);
        env_.pop_back(); // DISPLAY
    }
}

TEST_F(RealDesktopTest, QtReportsTheScreenInDevicePixelsAlsoScaledAndWithoutRandr)
{
    if (const std::string missing = Missing({ "Xvfb" }); !missing.empty())
        GTEST_SKIP() << "not installed: " << missing;
    const std::string display = StartDisplay(false);
    ASSERT_FALSE(display.empty());
    // Twice the size in device-independent pixels: 640x512 logical.
    env_.emplace_back("QT_SCALE_FACTOR", "2");
    env_.emplace_back("QT_QPA_PLATFORM", "xcb");
    int argc = 1;
    char name[] = "test_platform";
    char* argv[] = { name, nullptr };
    QGuiApplication application(argc, argv);
    ASSERT_EQ(QStringLiteral("xcb"), QGuiApplication::platformName());
    const std::vector<Monitor> screens = QtScreens();
    ASSERT_EQ(1u, screens.size());
    EXPECT_EQ(1280, screens[0].geometry.width);
    EXPECT_EQ(1024, screens[0].geometry.height);
    EXPECT_EQ(2.0, QGuiApplication::primaryScreen()->devicePixelRatio());
}

} // namespace
