#include "platform/WindowSystem.h"

#include "platform/MonitorLayout.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <regex>

namespace platform {
namespace {

// The X resources' font resolution is the desktop's scale on X11 (192 at
// 200 %); Qt takes its own scale from it too.
double X11Scale(CommandRunner& runner)
{
    const CommandResult xrdb = runner.Run({ "xrdb", "-query" });
    static const std::regex dpi(R"(Xft\.dpi:\s*(\d+(\.\d+)?))");
    std::smatch m;
    if (xrdb.exitCode == 0 && std::regex_search(xrdb.output, m, dpi)) {
        const double value = std::stod(m[1]);
        if (value >= 48 && value <= 960)
            return value / 96.0;
    }
    return 1.0;
}

void ApplyX11WorkArea(CommandRunner& runner, std::vector<Monitor>& monitors)
{
    const CommandResult root = runner.Run({ "xprop", "-root", "_NET_CLIENT_LIST", "_NET_WORKAREA" });
    if (root.exitCode != 0 || monitors.empty())
        return;
    int rootWidth = 0, rootHeight = 0;
    for (const Monitor& m : monitors) {
        rootWidth = std::max(rootWidth, m.geometry.x + m.geometry.width);
        rootHeight = std::max(rootHeight, m.geometry.y + m.geometry.height);
    }
    // Panels reserve their edge per monitor (struts); the window manager's
    // one work area covers all monitors together and is used without them.
    bool struts = false;
    std::vector<long> clients = XpropNumbers(root.output, "_NET_CLIENT_LIST");
    if (clients.size() > 512)
        clients.resize(512);
    for (const long client : clients) {
        char id[32];
        std::snprintf(id, sizeof id, "0x%lx", static_cast<unsigned long>(client));
        const CommandResult window
            = runner.Run({ "xprop", "-id", id, "_NET_WM_STRUT_PARTIAL", "_NET_WM_STRUT" });
        std::vector<long> edges = XpropNumbers(window.output, "_NET_WM_STRUT_PARTIAL");
        if (edges.size() != 12) {
            // The older form reserves each edge along its whole length.
            const std::vector<long> whole = XpropNumbers(window.output, "_NET_WM_STRUT");
            if (whole.size() != 4)
                continue;
            edges = { whole[0], whole[1], whole[2], whole[3], 0, rootHeight - 1L, 0, rootHeight - 1L, 0,
                rootWidth - 1L, 0, rootWidth - 1L };
        }
        std::array<long, 12> strut {};
        std::copy(edges.begin(), edges.end(), strut.begin());
        ApplyStrut(monitors, strut, rootWidth, rootHeight);
        struts = true;
    }
    if (struts)
        return;
    const std::vector<long> area = XpropNumbers(root.output, "_NET_WORKAREA");
    if (area.size() < 4)
        return;
    const Rect free { static_cast<int>(area[0]), static_cast<int>(area[1]), static_cast<int>(area[2]),
        static_cast<int>(area[3]) };
    for (Monitor& monitor : monitors) {
        const Rect inside = Intersect(monitor.geometry, free);
        if (inside.width > 0)
            monitor.workArea = inside;
    }
}

std::vector<Monitor> SwayMonitors(CommandRunner& runner)
{
    const CommandResult outputs = runner.Run({ "swaymsg", "-t", "get_outputs", "-r" });
    if (outputs.exitCode != 0)
        return {};
    std::vector<Monitor> monitors = MonitorsFromSwayOutputs(outputs.output);
    const CommandResult workspaces = runner.Run({ "swaymsg", "-t", "get_workspaces", "-r" });
    if (workspaces.exitCode == 0)
        ApplySwayWorkspaces(monitors, SwayOutputNames(outputs.output), workspaces.output);
    return monitors;
}

} // namespace

std::vector<Monitor> WindowSystemMonitors(CommandRunner& runner, bool onSway)
{
    if (onSway)
        if (std::vector<Monitor> monitors = SwayMonitors(runner); !monitors.empty())
            return monitors;
    const double scale = X11Scale(runner);
    const CommandResult list = runner.Run({ "xrandr", "--listmonitors" });
    std::vector<Monitor> monitors;
    if (list.exitCode == 0)
        monitors = MonitorsFromXrandrList(list.output, scale);
    if (monitors.empty()) {
        const CommandResult xrandr = runner.Run({ "xrandr", "--current" });
        if (xrandr.exitCode == 0)
            monitors = MonitorsFromXrandr(xrandr.output, scale);
    }
    if (!monitors.empty()) {
        ApplyX11WorkArea(runner, monitors);
        return monitors;
    }
    return onSway ? std::vector<Monitor>() : SwayMonitors(runner);
}

ScreenSize XScreenSize(CommandRunner& runner)
{
    const CommandResult xdpyinfo = runner.Run({ "xdpyinfo" });
    static const std::regex dimensions(R"(dimensions:\s+(\d+)x(\d+) pixels)");
    std::smatch m;
    if (xdpyinfo.exitCode == 0 && std::regex_search(xdpyinfo.output, m, dimensions))
        return { std::stoi(m[1]), std::stoi(m[2]) };
    return {};
}

std::vector<Monitor> QtScreens()
{
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr)
        return {};
    // These platforms make up a screen of their own.
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal"))
        return {};
    std::vector<Monitor> monitors;
    const QScreen* primary = QGuiApplication::primaryScreen();
    for (const QScreen* screen : QGuiApplication::screens()) {
        // Sizes are in device-independent pixels from the screen's own
        // corner; the wallpaper covers the device pixels, also with
        // fractional scaling.
        const double ratio = screen->devicePixelRatio();
        const QRect logical = screen->geometry();
        const QRect available = screen->availableGeometry();
        const auto device = [ratio](int value) { return static_cast<int>(std::lround(value * ratio)); };
        Monitor monitor;
        monitor.scale = ratio;
        monitor.geometry = { logical.x(), logical.y(), device(logical.width()), device(logical.height()) };
        monitor.workArea = { logical.x() + device(available.x() - logical.x()),
            logical.y() + device(available.y() - logical.y()), device(available.width()),
            device(available.height()) };
        monitor.primary = screen == primary;
        if (monitor.geometry.width > 0 && monitor.geometry.height > 0)
            monitors.push_back(monitor);
    }
    EnsurePrimary(monitors);
    return monitors;
}

} // namespace platform
