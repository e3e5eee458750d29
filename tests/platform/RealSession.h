#pragma once

// What the tests against the desktops' own components share: environment
// variables set for one test, the programs a test needs, running a tool,
// and a private session (home and XDG folders, a D-Bus session bus, an
// Xvfb display, the components started on them), all ended with the test.

#include "common/TempFolder.h"
#include "platform/CommandRunner.h"

#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <list>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace real_session {

// Sets an environment variable for one test; the installers' commands
// inherit the process's environment.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value)
        : name_(name)
    {
        if (const char* old = std::getenv(name))
            old_ = old;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv()
    {
        if (old_)
            setenv(name_, old_->c_str(), 1);
        else
            unsetenv(name_);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

// The programs of the list that are not installed, comma-separated.
inline std::string Missing(std::initializer_list<const char*> programs)
{
    std::string missing;
    for (const char* program : programs)
        if (QStandardPaths::findExecutable(QString::fromLatin1(program)).isEmpty())
            missing += std::string(missing.empty() ? "" : ", ") + program;
    return missing;
}

// A tool's standard output without the line end; it must succeed.
inline std::string Tool(const std::vector<std::string>& argv)
{
    platform::ProcessRunner runner;
    const platform::CommandResult result = runner.Run(argv);
    EXPECT_EQ(0, result.exitCode) << argv[0] << " " << (argv.size() > 1 ? argv[1] : "") << "\n"
                                  << result.errorOutput;
    std::string out = result.output;
    while (!out.empty() && (out.back() == '\n' || out.back() == ' '))
        out.pop_back();
    return out;
}

// Waits until check holds, asking every 100 ms; false after the time.
inline bool WaitFor(const std::function<bool()>& check, std::chrono::seconds time)
{
    const auto end = std::chrono::steady_clock::now() + time;
    while (!check()) {
        if (std::chrono::steady_clock::now() >= end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return true;
}

// A private session in a fresh folder: HOME and the XDG folders there, and
// whatever the test starts. Every process started runs in a process group
// of its own and is killed with it when the session ends.
class Session {
public:
    explicit Session(const std::string& what)
        : temp_(what)
    {
        root_ = temp_.Path().string();
        home_ = root_ + "/home";
        std::filesystem::create_directories(home_ + "/.config");
        std::filesystem::create_directories(root_ + "/run");
        std::filesystem::permissions(root_ + "/run", std::filesystem::perms::owner_all);
        Set("HOME", home_);
        Set("XDG_CONFIG_HOME", home_ + "/.config");
        Set("XDG_CACHE_HOME", home_ + "/.cache");
        Set("XDG_DATA_HOME", home_ + "/.local/share");
        Set("XDG_RUNTIME_DIR", root_ + "/run");
    }
    ~Session()
    {
        for (auto it = processes_.rbegin(); it != processes_.rend(); ++it)
            Stop(**it);
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    const std::string& Root() const { return root_; }
    const std::string& Home() const { return home_; }
    test_files::TempFolder& Folder() { return temp_; }
    void Set(const char* name, const std::string& value) { env_.emplace_back(name, value); }

    // A picture of one colour, written as format.
    std::string Picture(const std::string& name, Qt::GlobalColor colour, const char* format = "PNG") const
    {
        const std::string path = root_ + "/" + name;
        QImage picture(64, 32, QImage::Format_RGB888);
        picture.fill(colour);
        EXPECT_TRUE(picture.save(QString::fromStdString(path), format));
        return path;
    }

    // Starts program in its own process group; null when it cannot start.
    QProcess* Start(const std::string& program, const QStringList& arguments)
    {
        auto process = std::make_unique<QProcess>();
        process->setProcessChannelMode(QProcess::MergedChannels);
        process->setChildProcessModifier([] { ::setsid(); });
        process->start(QString::fromStdString(program), arguments);
        if (!process->waitForStarted(10000))
            return nullptr;
        processes_.push_back(std::move(process));
        return processes_.back().get();
    }
    // Ends a process started here, with its group.
    static void Stop(QProcess& process)
    {
        if (process.state() == QProcess::NotRunning)
            return;
        ::kill(-static_cast<pid_t>(process.processId()), SIGTERM);
        if (!process.waitForFinished(3000)) {
            ::kill(-static_cast<pid_t>(process.processId()), SIGKILL);
            process.waitForFinished(5000);
        }
    }

    // A private D-Bus session bus; its services (dconf, xfconfd) are
    // started on it when first asked for.
    bool StartBus()
    {
        QProcess* bus = Start("dbus-daemon",
            { QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--nopidfile"),
                QStringLiteral("--print-address=1"),
                QStringLiteral("--address=unix:path=") + QString::fromStdString(root_ + "/run/bus") });
        if (bus == nullptr)
            return false;
        while (!bus->canReadLine())
            if (!bus->waitForReadyRead(10000))
                return false;
        const std::string address = bus->readLine().trimmed().toStdString();
        Set("DBUS_SESSION_BUS_ADDRESS", address);
        return !address.empty();
    }

    // An Xvfb server of the given size on a free display number; its name.
    std::string StartDisplay(const std::string& size, bool randr = true)
    {
        for (int n = 40 + static_cast<int>(getpid() % 40), tries = 0; tries < 20; ++n, ++tries) {
            const std::string name = ":" + std::to_string(n);
            if (std::filesystem::exists("/tmp/.X11-unix/X" + std::to_string(n)))
                continue;
            QStringList arguments { QString::fromStdString(name), QStringLiteral("-screen"),
                QStringLiteral("0"), QString::fromStdString(size + "x24"), QStringLiteral("-nolisten"),
                QStringLiteral("tcp"),
                // Without a client the server would reset, and the root
                // window lose its picture.
                QStringLiteral("-noreset") };
            if (!randr)
                arguments << QStringLiteral("-extension") << QStringLiteral("RANDR");
            QProcess* display = Start("Xvfb", arguments);
            if (display == nullptr)
                return {};
            const bool up = WaitFor(
                [&] {
                    return display->state() == QProcess::NotRunning
                        || std::filesystem::exists("/tmp/.X11-unix/X" + std::to_string(n));
                },
                std::chrono::seconds(10));
            if (up && display->state() != QProcess::NotRunning) {
                Set("DISPLAY", name);
                return name;
            }
            Stop(*display);
        }
        return {};
    }

    // The root window's pixel at (x, y), through ImageMagick's import.
    QRgb RootPixel(int x, int y) const
    {
        const std::string shot = root_ + "/root.png";
        std::filesystem::remove(shot);
        Tool({ "import", "-window", "root", shot });
        QImage screen;
        if (!screen.load(QString::fromStdString(shot)))
            return 0;
        return screen.pixel(x, y);
    }

private:
    test_files::TempFolder temp_;
    std::string root_, home_;
    std::list<ScopedEnv> env_;
    std::vector<std::unique_ptr<QProcess>> processes_;
};

} // namespace real_session
