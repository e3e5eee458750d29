#include "platform/LinuxDesktop.h"

#include "jconvert/cp932.h"
#include "platform/FileIo.h"
#include "platform/Texts.h"
#include "platform/WindowSystem.h"

#include <QBuffer>
#include <QImage>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <iostream>
#include <system_error>

namespace platform {
namespace {

constexpr const char* kCopyPrefix = "kabegami-";
constexpr const char* kCopySuffix = ".png";

} // namespace

LinuxDesktop::LinuxDesktop(
    CommandRunner& runner, EnvironmentLookup environment, AccountHomeLookup accountHome)
    : tools_ { runner, std::move(environment), {} }
    , memory_(std::string())
    , screenProbe_(&QtScreens)
    , warning_([](const std::string& line) { std::cerr << line << '\n'; })
{
    tools_.folders = UserFolders::Find(tools_.env, accountHome);
    // Without a home folder the cache and config folders are unknown, so
    // there is nowhere to keep the copies or the memory; installing then
    // fails rather than write into "/".
    cacheFolder_ = tools_.folders.OwnCache().string();
    memory_ = WallpaperMemory(tools_.folders.config.empty()
            ? std::string()
            : (tools_.folders.OwnConfig() / "wallpaper.txt").string());
    desktop_ = FindDesktop(tools_);
}

LinuxDesktop::~LinuxDesktop() = default;

std::optional<DesktopKind::Id> LinuxDesktop::Kind() const
{
    return desktop_ ? std::optional(desktop_->Kind()) : std::nullopt;
}

std::string LinuxDesktop::DesktopName() const
{
    return desktop_ ? desktop_->Name() : std::string();
}

bool LinuxDesktop::RunsAutostartEntries()
{
    return !desktop_ || desktop_->RunsAutostartEntries();
}

bool LinuxDesktop::IsOurOutput(const std::string& path) const
{
    if (cacheFolder_.empty() || !path.starts_with(cacheFolder_ + "/"))
        return false;
    const std::string name = path.substr(cacheFolder_.size() + 1);
    return name.starts_with(kCopyPrefix) && name.find('/') == std::string::npos;
}

std::vector<Monitor> LinuxDesktop::Monitors()
{
    std::vector<Monitor> monitors = screenProbe_ ? screenProbe_() : std::vector<Monitor>();
    if (monitors.empty())
        monitors = WindowSystemMonitors(
            tools_.runner, Kind() == DesktopKind::Id::Sway || !tools_.env("SWAYSOCK").empty());
    // On Wayland nothing tells where the desktop's own bars are: the known
    // size of its bar, at the monitor's scale.
    if (!tools_.env("WAYLAND_DISPLAY").empty() && desktop_ && Kind() != DesktopKind::Id::Sway)
        for (Monitor& monitor : monitors) {
            if (!monitor.primary || !(monitor.workArea == monitor.geometry))
                continue;
            const int top = static_cast<int>(std::lround(desktop_->TopBar() * monitor.scale));
            const int bottom = static_cast<int>(std::lround(desktop_->BottomBar() * monitor.scale));
            monitor.workArea.y += top;
            monitor.workArea.height -= top + bottom;
        }
    return monitors;
}

DesktopState LinuxDesktop::Read()
{
    const std::optional<ShownPicture> current = desktop_ ? desktop_->Read() : std::nullopt;
    shownBefore_ = current ? current->picture : std::string();
    const std::optional<RememberedPicture> remembered = memory_.Load();
    ShownPicture drawn = current.value_or(ShownPicture {});
    if (!current || IsOurOutput(current->picture)) {
        // Our own copy shows, or the desktop could not be asked (no display,
        // a failed or missing tool): the remembered picture. Only a picture
        // replaces what is remembered, so a run never forgets it; a desktop
        // set to show no picture is drawn as it is.
        drawn = remembered ? ShownPicture { remembered->picture, remembered->placement } : ShownPicture {};
    } else if (!current->picture.empty()
        && remembered != RememberedPicture { current->picture, current->placement }) {
        memory_.Save({ current->picture, current->placement });
    }

    DesktopState state;
    state.picture = drawn.picture;
    state.placement = drawn.placement;
    state.monitors = Monitors();
    for (const Monitor& monitor : state.monitors)
        if (monitor.primary && monitor.geometry.width > 0 && monitor.geometry.height > 0)
            state.screen = { monitor.geometry.width, monitor.geometry.height };
    if (state.screen.width == 0) {
        // An X server without the RandR extension still tells its size.
        state.screen = XScreenSize(tools_.runner);
        if (state.screen.width <= 0 || state.screen.height <= 0) {
            state.screen = kFallbackScreen;
            if (warning_)
                warning_("corkpane: no screen could be asked for its size; drawing at "
                    + std::to_string(kFallbackScreen.width) + "x" + std::to_string(kFallbackScreen.height));
        }
    }
    // The user's scaling is each monitor's scale (from Qt, sway or the X
    // resources), so one logical pixel is always the 96th of an inch.
    state.pixelsPerInch = 96;
    state.colour = desktop_ ? desktop_->Colour() : 0;
    return state;
}

std::string LinuxDesktop::MakeCopy(const DrawnWallpaper& wallpaper)
{
    if (cacheFolder_.empty() || wallpaper.pixels == nullptr)
        return {};
    std::error_code error;
    std::filesystem::create_directories(cacheFolder_, error);
    const auto stamp = std::chrono::duration_cast<std::chrono::nanoseconds>(
        std::chrono::system_clock::now().time_since_epoch())
                           .count();
    const std::string target = cacheFolder_ + "/" + kCopyPrefix + std::to_string(stamp) + kCopySuffix;
    // The drawn pixels as they are in memory, without a copy; low
    // compression, since the copy is written on every draw and read once.
    const QImage image(wallpaper.pixels, wallpaper.width, wallpaper.height,
        static_cast<qsizetype>(wallpaper.stride), QImage::Format_BGR888);
    QByteArray png;
    QBuffer buffer(&png);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG", 90))
        return {};
    try {
        ReplaceFile(target, std::string_view(png.constData(), static_cast<std::size_t>(png.size())),
            kPictureReadLimit);
    } catch (const FileIoError&) {
        return {};
    }
    return target;
}

void LinuxDesktop::RemoveCopiesBut(const std::string& copy, const std::string& shown)
{
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(cacheFolder_, error)) {
        const std::string path = entry.path().string();
        if (path != copy && path != shown && IsOurOutput(path) && path.ends_with(kCopySuffix))
            std::filesystem::remove(entry.path(), error);
    }
}

Installation LinuxDesktop::Install(const DrawnWallpaper& wallpaper)
{
    if (!desktop_) {
        const std::string session = tools_.env("XDG_CURRENT_DESKTOP").empty()
            ? tools_.env("DESKTOP_SESSION")
            : tools_.env("XDG_CURRENT_DESKTOP");
        return { false,
            session.empty() ? texts::kUnnamedDesktop : texts::UnknownDesktop(jconvert::Utf8ToCp932(session)) };
    }
    // The copy the desktop shows now, which stays should it not take ours.
    if (!shownBefore_) {
        const std::optional<ShownPicture> current = desktop_->Read();
        shownBefore_ = current ? current->picture : std::string();
    }
    const std::string copy = MakeCopy(wallpaper);
    if (copy.empty())
        return { false, texts::kNoCopy };
    const Installation installed = desktop_->Install(copy, wallpaper.spanned);
    RemoveCopiesBut(copy, installed.taken ? copy : *shownBefore_);
    shownBefore_ = installed.taken ? copy : *shownBefore_;
    return installed;
}

} // namespace platform
