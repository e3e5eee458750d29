#include "platform/LinuxDesktop.h"

#include "jconvert/AsciiText.h"
#include "platform/FileIo.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <algorithm>
#include <array>
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <regex>
#include <sstream>
#include <system_error>
#include <vector>

namespace platform {
namespace {

constexpr const char* kCopyPrefix = "kabegami-";
constexpr const char* kCopySuffix = ".png";

bool ContainsWord(const std::string& list, const std::string& word)
{
    return jconvert::AsciiLowerCopy(list).find(word) != std::string::npos;
}

// Command output and configuration lines without the blanks around them.
std::string Trim(std::string_view text)
{
    return std::string(jconvert::TrimBlanks(text));
}

// A desktop's own small text file; empty when missing, unreadable or
// without a folder to look in.
std::string ReadFile(const std::filesystem::path& folder, const char* name)
{
    if (folder.empty())
        return {};
    try {
        return ReadFileIfExists(folder / name, std::uint64_t { 4 } << 20).value_or(std::string());
    } catch (const FileIoError&) {
        return {};
    }
}

// The three placements the drawing understands, as the wallpaper values
// TileWallpaper and WallpaperStyle.
enum class Layout { Tiled, Centred, Filled };

void SetPlacement(WallpaperSettings& settings, Layout placement)
{
    settings.tileWallpaper = placement == Layout::Tiled ? "1" : "0";
    settings.wallpaperStyle = placement == Layout::Filled ? "2" : "0";
}

bool EndsWith(const std::string& text, std::string_view end)
{
    return text.size() > end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

constexpr std::string_view kXfceImage = "/last-image";

} // namespace

LinuxDesktop::LinuxDesktop(CommandRunner& runner, Environment environment, AccountHomeLookup accountHome)
    : runner_(runner)
    , env_(std::move(environment))
    , kind_(DetectKind(env_))
    , entry_(FindEntry(kind_))
    , folders_(UserFolders::Find(env_, accountHome))
    , cacheFolder_(folders_.OwnCache().string())
    , memory_(folders_.config.empty() ? std::string() : (folders_.OwnConfig() / "wallpaper.txt").string())
    , screenProbe_(&LinuxDesktop::QtPrimaryScreen)
    , warning_([](const std::string& line) { std::cerr << line << '\n'; })
{
    // Without a home folder the cache and config folders are unknown, so
    // there is nowhere to keep the copies or the memory; installing then
    // fails rather than write into "/".
}

// One row per desktop: how it is recognised, read, installed and asked for
// its colour. Detection tries the rows in this order: Cinnamon and MATE
// also name GNOME in their session, so they come first.
struct LinuxDesktop::Entry {
    Kind kind;
    // Any of these in XDG_CURRENT_DESKTOP or DESKTOP_SESSION (lower case).
    std::array<const char*, 3> words;
    // Or this variable being set.
    const char* variable;
    // The gsettings schema and picture key of the GNOME family, and whether
    // the picture is a URI; null for the others.
    const char* schema;
    const char* pictureKey;
    bool uri;
    WallpaperSettings (LinuxDesktop::*read)(const Entry&);
    bool (LinuxDesktop::*install)(const Entry&, const std::string& copy);
    std::uint32_t (LinuxDesktop::*color)(const Entry&);
};

const LinuxDesktop::Entry LinuxDesktop::kEntries[] = {
    { Kind::Cinnamon, { "cinnamon" }, nullptr, "org.cinnamon.desktop.background", "picture-uri", true,
        &LinuxDesktop::ReadGnomeLike, &LinuxDesktop::InstallGnomeLike, &LinuxDesktop::GnomeLikeColor },
    { Kind::Mate, { "mate" }, nullptr, "org.mate.background", "picture-filename", false,
        &LinuxDesktop::ReadGnomeLike, &LinuxDesktop::InstallGnomeLike, &LinuxDesktop::GnomeLikeColor },
    { Kind::Kde, { "kde", "plasma" }, nullptr, nullptr, nullptr, false, &LinuxDesktop::ReadKde,
        &LinuxDesktop::InstallKde, nullptr },
    { Kind::Xfce, { "xfce" }, nullptr, nullptr, nullptr, false, &LinuxDesktop::ReadXfce,
        &LinuxDesktop::InstallXfce, nullptr },
    { Kind::Gnome, { "gnome", "unity", "budgie" }, nullptr, "org.gnome.desktop.background", "picture-uri",
        true, &LinuxDesktop::ReadGnomeLike, &LinuxDesktop::InstallGnomeLike, &LinuxDesktop::GnomeLikeColor },
    // sway keeps no picture that could be read back.
    { Kind::Sway, { "sway" }, "SWAYSOCK", nullptr, nullptr, false, nullptr, &LinuxDesktop::InstallSway,
        nullptr },
    { Kind::X11, {}, "DISPLAY", nullptr, nullptr, false, &LinuxDesktop::ReadFeh, &LinuxDesktop::InstallFeh,
        nullptr },
};

const LinuxDesktop::Entry* LinuxDesktop::FindEntry(Kind kind)
{
    for (const Entry& entry : kEntries)
        if (entry.kind == kind)
            return &entry;
    return nullptr;
}

LinuxDesktop::Kind LinuxDesktop::DetectKind(const Environment& environment)
{
    const std::string current = environment("XDG_CURRENT_DESKTOP") + ":" + environment("DESKTOP_SESSION");
    for (const Entry& entry : kEntries) {
        for (const char* word : entry.words)
            if (word != nullptr && ContainsWord(current, word))
                return entry.kind;
        if (entry.variable != nullptr && !environment(entry.variable).empty())
            return entry.kind;
    }
    return Kind::Unknown;
}

std::string LinuxDesktop::UnquoteGVariant(const std::string& text)
{
    std::string value = Trim(text);
    if (value.size() >= 2 && (value.front() == '\'' || value.front() == '"')
        && value.back() == value.front()) {
        std::string out;
        for (std::size_t i = 1; i + 1 < value.size(); ++i) {
            if (value[i] == '\\' && i + 2 < value.size())
                ++i;
            out += value[i];
        }
        return out;
    }
    return value;
}

std::string LinuxDesktop::QuoteGVariant(const std::string& text)
{
    std::string out = "'";
    for (char c : text) {
        if (c == '\'' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + "'";
}

std::string LinuxDesktop::FileUriToPath(const std::string& uri)
{
    std::string rest;
    if (uri.rfind("file://", 0) == 0)
        rest = uri.substr(7);
    else if (uri.find("://") != std::string::npos)
        return {}; // not a local file
    else
        return uri;
    // file://host/path: keep the path
    if (!rest.empty() && rest[0] != '/') {
        const auto slash = rest.find('/');
        rest = slash == std::string::npos ? std::string() : rest.substr(slash);
    }
    std::string path;
    for (std::size_t i = 0; i < rest.size(); ++i) {
        auto hex = [](char c) {
            return c >= '0' && c <= '9' ? c - '0'
                : c >= 'a' && c <= 'f'  ? c - 'a' + 10
                : c >= 'A' && c <= 'F'  ? c - 'A' + 10
                                        : -1;
        };
        if (rest[i] == '%' && i + 2 < rest.size() + 0 && hex(rest[i + 1]) >= 0 && hex(rest[i + 2]) >= 0) {
            path += static_cast<char>(hex(rest[i + 1]) * 16 + hex(rest[i + 2]));
            i += 2;
        } else {
            path += rest[i];
        }
    }
    return path;
}

std::string LinuxDesktop::PathToFileUri(const std::string& path)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string uri = "file://";
    for (char ch : path) {
        const auto c = static_cast<unsigned char>(ch);
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '/' || c == '-'
            || c == '_' || c == '.' || c == '~')
            uri += ch;
        else {
            uri += '%';
            uri += digits[c >> 4];
            uri += digits[c & 15];
        }
    }
    return uri;
}

std::uint32_t LinuxDesktop::ColorFromText(const std::string& text, std::uint32_t fallback)
{
    std::smatch m;
    const std::string value = UnquoteGVariant(text);
    static const std::regex hex6("^#([0-9a-fA-F]{2})([0-9a-fA-F]{2})([0-9a-fA-F]{2})$");
    static const std::regex hex12(
        "^#([0-9a-fA-F]{2})[0-9a-fA-F]{2}([0-9a-fA-F]{2})[0-9a-fA-F]{2}([0-9a-fA-F]{2})[0-9a-fA-F]{2}$");
    static const std::regex rgb(
        "^rgba?\\(\\s*(\\d{1,3})\\s*,\\s*(\\d{1,3})\\s*,\\s*(\\d{1,3})\\s*(,[^)]*)?\\)$");
    int r, g, b;
    if (std::regex_match(value, m, hex6) || std::regex_match(value, m, hex12)) {
        r = std::stoi(m[1], nullptr, 16);
        g = std::stoi(m[2], nullptr, 16);
        b = std::stoi(m[3], nullptr, 16);
    } else if (std::regex_match(value, m, rgb)) {
        r = std::min(255, std::stoi(m[1]));
        g = std::min(255, std::stoi(m[2]));
        b = std::min(255, std::stoi(m[3]));
    } else {
        return fallback;
    }
    return static_cast<std::uint32_t>(r) | static_cast<std::uint32_t>(g) << 8
        | static_cast<std::uint32_t>(b) << 16;
}

ScreenSize LinuxDesktop::ScreenFromXrandr(const std::string& output)
{
    static const std::regex primary(R"(^\S+ connected primary (\d+)x(\d+)\+)");
    static const std::regex connected(R"(^\S+ connected (\d+)x(\d+)\+)");
    static const std::regex current(R"(current (\d+) x (\d+))");
    ScreenSize found;
    ScreenSize firstConnected;
    std::istringstream lines(output);
    std::string line;
    std::smatch m;
    while (std::getline(lines, line)) {
        if (std::regex_search(line, m, primary))
            return { std::stoi(m[1]), std::stoi(m[2]) };
        if (firstConnected.width == 0 && std::regex_search(line, m, connected))
            firstConnected = { std::stoi(m[1]), std::stoi(m[2]) };
        if (found.width == 0 && std::regex_search(line, m, current))
            found = { std::stoi(m[1]), std::stoi(m[2]) };
    }
    return firstConnected.width ? firstConnected : found;
}

std::string LinuxDesktop::Gsettings(const std::string& schema, const std::string& key)
{
    const CommandResult r = runner_.Run({ "gsettings", "get", schema, key });
    return r.exitCode == 0 ? Trim(r.output) : std::string();
}

bool LinuxDesktop::GsettingsSet(const std::string& schema, const std::string& key, const std::string& value)
{
    return runner_.Run({ "gsettings", "set", schema, key, value }).exitCode == 0;
}

WallpaperSettings LinuxDesktop::ReadGnomeLike(const Entry& entry)
{
    const std::string schema = entry.schema;
    WallpaperSettings settings;
    // An empty value reads as '' ; no text at all means gsettings failed and
    // the desktop could not be asked.
    const std::string raw = Gsettings(schema, entry.pictureKey);
    if (raw.empty())
        return settings;
    std::string picture = UnquoteGVariant(raw);
    // GNOME shows a picture of its own in the dark style.
    if (kind_ == Kind::Gnome
        && UnquoteGVariant(Gsettings("org.gnome.desktop.interface", "color-scheme")) == "prefer-dark") {
        const std::string dark = UnquoteGVariant(Gsettings(schema, "picture-uri-dark"));
        if (!dark.empty())
            picture = dark;
    }
    settings.wallpaper = entry.uri ? FileUriToPath(picture) : picture;
    // wallpaper tiles; stretched, scaled, zoom and spanned fill the screen.
    const std::string options = UnquoteGVariant(Gsettings(schema, "picture-options"));
    if (options == "none")
        settings.wallpaper.clear();
    SetPlacement(settings,
        options == "wallpaper"                           ? Layout::Tiled
            : options == "centered" || options == "none" ? Layout::Centred
                                                         : Layout::Filled);
    return settings;
}

WallpaperSettings LinuxDesktop::ReadKde(const Entry&)
{
    std::istringstream lines(ReadFile(folders_.config, "plasma-org.kde.plasma.desktop-appletsrc"));
    std::string line, section, image, fillMode;
    bool inImageSection = false;
    while (std::getline(lines, line)) {
        line = Trim(line);
        if (!line.empty() && line[0] == '[') {
            if (!image.empty())
                break; // the first desktop with a picture
            inImageSection = line.find("[Wallpaper][org.kde.image][General]") != std::string::npos;
            fillMode.clear();
            continue;
        }
        if (!inImageSection)
            continue;
        if (line.rfind("Image=", 0) == 0)
            image = line.substr(6);
        else if (line.rfind("FillMode=", 0) == 0)
            fillMode = line.substr(9);
    }
    WallpaperSettings settings;
    settings.wallpaper = FileUriToPath(image);
    // FillMode: 3–5 tile, 6 centred, else (stretch, fit, crop) fill the screen.
    SetPlacement(settings,
        fillMode == "3" || fillMode == "4" || fillMode == "5" ? Layout::Tiled
            : fillMode == "6"                                 ? Layout::Centred
                                                              : Layout::Filled);
    return settings;
}

std::vector<std::string> LinuxDesktop::XfceImageProperties()
{
    const CommandResult list = runner_.Run({ "xfconf-query", "-c", "xfce4-desktop", "-l" });
    std::vector<std::string> images;
    std::istringstream lines(list.output);
    std::string line;
    while (std::getline(lines, line)) {
        line = Trim(line);
        if (EndsWith(line, kXfceImage))
            images.push_back(line);
    }
    return images;
}

WallpaperSettings LinuxDesktop::ReadXfce(const Entry&)
{
    WallpaperSettings settings;
    std::vector<std::string> images = XfceImageProperties();
    if (images.empty())
        return settings;
    std::sort(images.begin(), images.end());
    // The first monitor's first workspace, when there is one.
    std::string property = images.front();
    for (const std::string& p : images)
        if (p.find("workspace0/last-image") != std::string::npos) {
            property = p;
            break;
        }
    const std::string prefix = property.substr(0, property.size() - kXfceImage.size());
    const CommandResult image = runner_.Run({ "xfconf-query", "-c", "xfce4-desktop", "-p", property });
    const CommandResult style
        = runner_.Run({ "xfconf-query", "-c", "xfce4-desktop", "-p", prefix + "/image-style" });
    settings.wallpaper = image.exitCode == 0 ? Trim(image.output) : std::string();
    const std::string s = style.exitCode == 0 ? Trim(style.output) : std::string("5");
    // 0 none, 1 centred, 2 tiled, 3 stretched, 4 scaled, 5 zoomed, 6 spanning
    if (s == "0")
        settings.wallpaper.clear();
    SetPlacement(settings,
        s == "1" || s == "0" ? Layout::Centred
            : s == "2"       ? Layout::Tiled
                             : Layout::Filled);
    return settings;
}

WallpaperSettings LinuxDesktop::ReadFeh(const Entry&)
{
    // ~/.fehbg: feh --no-fehbg --bg-scale '/path/to/picture'
    WallpaperSettings settings;
    static const std::regex command(R"(--bg-(\w+)\s+'([^']*)')");
    const std::string script = ReadFile(folders_.home, ".fehbg");
    std::smatch m;
    if (!std::regex_search(script, m, command))
        return settings;
    settings.wallpaper = m[2];
    const std::string mode = m[1];
    SetPlacement(settings,
        mode == "tile"         ? Layout::Tiled
            : mode == "center" ? Layout::Centred
                               : Layout::Filled);
    return settings;
}

WallpaperSettings LinuxDesktop::ReadDesktopSettings()
{
    if (entry_ == nullptr || entry_->read == nullptr)
        return {};
    return (this->*entry_->read)(*entry_);
}

bool LinuxDesktop::IsOurOutput(const std::string& path) const
{
    if (cacheFolder_.empty())
        return false;
    const std::string folder = cacheFolder_ + "/";
    if (path.rfind(folder, 0) != 0)
        return false;
    const std::string name = path.substr(folder.size());
    return name.rfind(kCopyPrefix, 0) == 0 && name.find('/') == std::string::npos;
}

WallpaperSettings LinuxDesktop::ReadWallpaperSettings()
{
    const WallpaperSettings current = ReadDesktopSettings();
    const std::optional<WallpaperSettings> remembered = memory_.Load();
    if (IsOurOutput(current.wallpaper))
        return remembered.value_or(WallpaperSettings {});
    // Only a picture replaces what is remembered: a run must never forget
    // the user's own picture. A desktop that could not be asked (no
    // display, a failed or missing tool, sway) reads as all empty and is
    // drawn from the memory; a desktop set to show no picture is drawn as
    // it is.
    if (current.wallpaper.empty()) {
        if (current == WallpaperSettings {})
            return remembered.value_or(current);
        return current;
    }
    if (!remembered || !(*remembered == current))
        memory_.Save(current);
    return current;
}

ScreenSize LinuxDesktop::ScreenFromXdpyinfo(const std::string& output)
{
    static const std::regex dimensions(R"(dimensions:\s+(\d+)x(\d+) pixels)");
    std::smatch m;
    if (std::regex_search(output, m, dimensions))
        return { std::stoi(m[1]), std::stoi(m[2]) };
    return {};
}

std::optional<ScreenSize> LinuxDesktop::QtPrimaryScreen()
{
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr)
        return std::nullopt;
    // These platforms make up a screen of their own.
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal"))
        return std::nullopt;
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return std::nullopt;
    // Geometry is in device-independent pixels; the wallpaper covers the
    // device pixels, also with fractional scaling.
    const QSize logical = screen->geometry().size();
    const double ratio = screen->devicePixelRatio();
    const ScreenSize size { static_cast<int>(logical.width() * ratio + 0.5),
        static_cast<int>(logical.height() * ratio + 0.5) };
    if (size.width <= 0 || size.height <= 0)
        return std::nullopt;
    return size;
}

ScreenSize LinuxDesktop::PrimaryScreenSize()
{
    if (screenProbe_) {
        if (const std::optional<ScreenSize> size = screenProbe_())
            return *size;
    }
    const CommandResult xrandr = runner_.Run({ "xrandr", "--current" });
    if (xrandr.exitCode == 0) {
        const ScreenSize size = ScreenFromXrandr(xrandr.output);
        if (size.width > 0 && size.height > 0)
            return size;
    }
    const CommandResult sway = runner_.Run({ "swaymsg", "-t", "get_outputs", "-r" });
    if (sway.exitCode == 0) {
        static const std::regex mode(
            R"re("current_mode"\s*:\s*\{[^}]*"width"\s*:\s*(\d+)\s*,\s*"height"\s*:\s*(\d+))re");
        std::smatch m;
        if (std::regex_search(sway.output, m, mode))
            return { std::stoi(m[1]), std::stoi(m[2]) };
    }
    // An X server without the RandR extension still tells its size.
    const CommandResult xdpyinfo = runner_.Run({ "xdpyinfo" });
    if (xdpyinfo.exitCode == 0) {
        const ScreenSize size = ScreenFromXdpyinfo(xdpyinfo.output);
        if (size.width > 0 && size.height > 0)
            return size;
    }
    if (warning_)
        warning_("corkpane: no screen could be asked for its size; drawing at "
            + std::to_string(kFallbackScreen.width) + "x" + std::to_string(kFallbackScreen.height));
    return kFallbackScreen;
}

int LinuxDesktop::PixelsPerInch()
{
    const CommandResult xrdb = runner_.Run({ "xrdb", "-query" });
    static const std::regex dpi(R"(Xft\.dpi:\s*(\d+))");
    std::smatch m;
    if (xrdb.exitCode == 0 && std::regex_search(xrdb.output, m, dpi)) {
        const int value = std::stoi(m[1]);
        if (value > 0 && value < 2000)
            return value;
    }
    return 96;
}

std::uint32_t LinuxDesktop::DesktopColor()
{
    if (entry_ == nullptr || entry_->color == nullptr)
        return 0;
    return (this->*entry_->color)(*entry_);
}

std::uint32_t LinuxDesktop::GnomeLikeColor(const Entry& entry)
{
    return ColorFromText(Gsettings(entry.schema, "primary-color"), 0);
}

std::string LinuxDesktop::MakeCopy(const std::string& bitmap)
{
    if (cacheFolder_.empty())
        return {};
    std::error_code error;
    std::filesystem::create_directories(cacheFolder_, error);
    const auto stamp = std::chrono::duration_cast<std::chrono::nanoseconds>(
        std::chrono::system_clock::now().time_since_epoch())
                           .count();
    const std::string name = kCopyPrefix + std::to_string(stamp) + kCopySuffix;
    const std::string target = cacheFolder_ + "/" + name;
    // A bitmap that cannot be read or copied leaves the desktop as it is:
    // installing reports false.
    try {
        const std::string bytes = ReadWholeFile(bitmap, kPictureReadLimit);
        QImage image;
        if (!image.loadFromData(
                reinterpret_cast<const uchar*>(bytes.data()), static_cast<int>(bytes.size()), "BMP"))
            return {};
        // Low compression: the copy is written on every draw and read once.
        QByteArray png;
        QBuffer buffer(&png);
        if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG", 90))
            return {};
        ReplaceFile(target, std::string_view(png.constData(), static_cast<std::size_t>(png.size())),
            kPictureReadLimit);
    } catch (const FileIoError&) {
        return {};
    }
    for (const auto& entry : std::filesystem::directory_iterator(cacheFolder_, error)) {
        const std::string other = entry.path().filename().string();
        if (other != name && other.rfind(kCopyPrefix, 0) == 0 && other.size() > 4
            && other.compare(other.size() - 4, 4, kCopySuffix) == 0)
            std::filesystem::remove(entry.path(), error);
    }
    return target;
}

bool LinuxDesktop::InstallWallpaper(const std::string& path)
{
    if (entry_ == nullptr)
        return false;
    // Remember the user's own picture before the desktop is pointed at ours.
    ReadWallpaperSettings();
    const std::string copy = MakeCopy(path);
    if (copy.empty())
        return false;
    return (this->*entry_->install)(*entry_, copy);
}

bool LinuxDesktop::InstallGnomeLike(const Entry& entry, const std::string& copy)
{
    const std::string schema = entry.schema;
    if (!entry.uri)
        return GsettingsSet(schema, entry.pictureKey, QuoteGVariant(copy))
            && GsettingsSet(schema, "picture-options", "'stretched'");
    const std::string uri = QuoteGVariant(PathToFileUri(copy));
    bool ok = GsettingsSet(schema, entry.pictureKey, uri);
    // The dark-style picture; older versions lack the key, which is fine.
    GsettingsSet(schema, "picture-uri-dark", uri);
    ok = GsettingsSet(schema, "picture-options", "'stretched'") && ok;
    return ok;
}

bool LinuxDesktop::InstallKde(const Entry&, const std::string& copy)
{
    return runner_.Run({ "plasma-apply-wallpaperimage", copy }).exitCode == 0;
}

bool LinuxDesktop::InstallXfce(const Entry&, const std::string& copy)
{
    const std::vector<std::string> images = XfceImageProperties();
    bool ok = true;
    for (const std::string& property : images)
        ok = runner_.Run({ "xfconf-query", "-c", "xfce4-desktop", "-p", property, "-s", copy }).exitCode == 0
            && ok;
    return !images.empty() && ok;
}

bool LinuxDesktop::InstallSway(const Entry&, const std::string& copy)
{
    return runner_.Run({ "swaymsg", "output", "*", "bg", copy, "stretch" }).exitCode == 0;
}

bool LinuxDesktop::InstallFeh(const Entry&, const std::string& copy)
{
    return runner_.Run({ "feh", "--bg-scale", copy }).exitCode == 0;
}

} // namespace platform
