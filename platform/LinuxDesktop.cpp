#include "platform/LinuxDesktop.h"

#include "jconvert/AsciiText.h"
#include "platform/FileIo.h"
#include "platform/MonitorLayout.h"
#include "platform/PlacementNames.h"
#include "platform/Texts.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <algorithm>
#include <array>
#include <cctype>
#include <chrono>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <map>
#include <regex>
#include <sstream>
#include <sys/stat.h>
#include <system_error>
#include <thread>
#include <unistd.h>
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
std::string ReadFile(const std::filesystem::path& folder, const std::string& name)
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

// A desktop's picture and placement as the values the drawing reads: tiled,
// centred (also with no picture), or filling the screen (every scaling
// mode, and a mode the desktop did not name).
WallpaperSettings SettingsFor(const std::string& picture, std::optional<Placement> placement)
{
    WallpaperSettings settings;
    settings.wallpaper = placement == Placement::None ? std::string() : picture;
    SetPlacement(settings,
        placement == Placement::Wallpaper                                      ? Layout::Tiled
            : placement == Placement::Centered || placement == Placement::None ? Layout::Centred
                                                                               : Layout::Filled);
    return settings;
}

bool EndsWith(const std::string& text, std::string_view end)
{
    return text.size() > end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

constexpr std::string_view kXfceImage = "/last-image";

// A desktop's own names of its modes, mapped onto GNOME's.
struct ModeName {
    const char* name;
    Placement placement;
};

std::optional<Placement> FindMode(const ModeName* modes, std::size_t count, const std::string& name)
{
    for (std::size_t i = 0; i < count; ++i)
        if (name == modes[i].name)
            return modes[i].placement;
    return std::nullopt;
}

template <std::size_t N>
std::optional<Placement> FindMode(const ModeName (&modes)[N], const std::string& name)
{
    return FindMode(modes, N, name);
}

// Xfce's image-style 0–6.
const ModeName kXfceModes[] = { { "0", Placement::None }, { "1", Placement::Centered },
    { "2", Placement::Wallpaper }, { "3", Placement::Stretched }, { "4", Placement::Scaled },
    { "5", Placement::Zoom }, { "6", Placement::Spanned } };
// KDE's FillMode (Qt's Image.fillMode numbers); tiling along one axis only
// reads as tiled.
const ModeName kKdeModes[] = { { "0", Placement::Stretched }, { "1", Placement::Scaled },
    { "2", Placement::Zoom }, { "3", Placement::Wallpaper }, { "4", Placement::Wallpaper },
    { "5", Placement::Wallpaper }, { "6", Placement::Centered } };
// pcmanfm-qt's WallpaperMode.
const ModeName kLxqtModes[] = { { "none", Placement::None }, { "color", Placement::None },
    { "stretch", Placement::Stretched }, { "fit", Placement::Scaled }, { "center", Placement::Centered },
    { "tile", Placement::Wallpaper }, { "zoom", Placement::Zoom } };
// pcmanfm's wallpaper_mode.
const ModeName kLxdeModes[] = { { "color", Placement::None }, { "stretch", Placement::Stretched },
    { "fit", Placement::Scaled }, { "crop", Placement::Zoom }, { "center", Placement::Centered },
    { "tile", Placement::Wallpaper }, { "screen", Placement::Spanned } };
// swaybg's -m.
const ModeName kSwayModes[]
    = { { "solid_color", Placement::None }, { "stretch", Placement::Stretched }, { "fit", Placement::Scaled },
          { "fill", Placement::Zoom }, { "center", Placement::Centered }, { "tile", Placement::Wallpaper } };
// feh's --bg-….
const ModeName kFehModes[] = { { "scale", Placement::Stretched }, { "max", Placement::Scaled },
    { "fill", Placement::Zoom }, { "center", Placement::Centered }, { "tile", Placement::Wallpaper } };

// A value of an INI-style file: key=value in [section]. pcmanfm-qt's
// (QSettings) values may be quoted and carry \xHHHH escapes for
// characters beyond Latin-1; pcmanfm's (GKeyFile) carry \s, \n, \t, \\.
std::string IniValue(const std::string& text, std::string_view section, std::string_view key)
{
    std::istringstream lines(text);
    std::string line;
    bool inSection = false;
    while (std::getline(lines, line)) {
        line = Trim(line);
        if (!line.empty() && line.front() == '[') {
            inSection = line == "[" + std::string(section) + "]";
            continue;
        }
        const auto equals = line.find('=');
        if (!inSection || equals == std::string::npos || Trim(line.substr(0, equals)) != key)
            continue;
        std::string raw = Trim(line.substr(equals + 1));
        if (raw.size() >= 2 && raw.front() == '"' && raw.back() == '"')
            raw = raw.substr(1, raw.size() - 2);
        std::string value;
        for (std::size_t i = 0; i < raw.size(); ++i) {
            if (raw[i] != '\\' || i + 1 == raw.size()) {
                value += raw[i];
                continue;
            }
            const char c = raw[++i];
            if (c == 'x') {
                unsigned code = 0;
                std::size_t digits = 0;
                while (digits < 4 && i + 1 < raw.size()
                    && std::isxdigit(static_cast<unsigned char>(raw[i + 1]))) {
                    code
                        = code * 16 + static_cast<unsigned>(std::stoi(std::string(1, raw[++i]), nullptr, 16));
                    ++digits;
                }
                // As UTF-8, the file names' encoding.
                if (code < 0x80) {
                    value += static_cast<char>(code);
                } else if (code < 0x800) {
                    value += static_cast<char>(0xC0 | (code >> 6));
                    value += static_cast<char>(0x80 | (code & 0x3F));
                } else {
                    value += static_cast<char>(0xE0 | (code >> 12));
                    value += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
                    value += static_cast<char>(0x80 | (code & 0x3F));
                }
            } else {
                value += c == 's' ? ' ' : c == 'n' ? '\n' : c == 't' ? '\t' : c;
            }
        }
        return value;
    }
    return {};
}

// True when the user uid (group gid) may read path: every folder on the
// way searchable and the file readable, by the permission bits.
bool ReadableBy(const std::string& path, uid_t uid, gid_t gid)
{
    if (uid == 0)
        return true;
    const auto allowed = [uid, gid](const struct stat& info, mode_t owner, mode_t group, mode_t other) {
        if (info.st_uid == uid)
            return (info.st_mode & owner) != 0;
        if (info.st_gid == gid)
            return (info.st_mode & group) != 0;
        return (info.st_mode & other) != 0;
    };
    struct stat info { };
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)
        || !allowed(info, S_IRUSR, S_IRGRP, S_IROTH))
        return false;
    for (std::filesystem::path folder = std::filesystem::path(path).parent_path();;
         folder = folder.parent_path()) {
        if (::stat(folder.c_str(), &info) != 0 || !allowed(info, S_IXUSR, S_IXGRP, S_IXOTH))
            return false;
        if (folder == folder.root_path() || folder.empty())
            return true;
    }
}

// The profile named on a pcmanfm command line ("--profile=X", "--profile
// X", "-p X"); "default" without one, as pcmanfm itself takes it.
std::string ProfileOf(const std::string& commandLine)
{
    static const std::regex option(R"((?:--profile[= ]|-p ?)(\S+))");
    std::smatch m;
    return std::regex_search(commandLine, m, option) ? m[1].str() : std::string("default");
}

// A command's failure as the user reads it: the program missing, or failed.
Installation Failed(const char* desktop, const char* program, const CommandResult& result)
{
    return { false,
        result.exitCode == 127 ? texts::ToolMissing(desktop, program) : texts::ToolFailed(desktop, program) };
}

} // namespace

LinuxDesktop::LinuxDesktop(CommandRunner& runner, Environment environment, AccountHomeLookup accountHome)
    : runner_(runner)
    , env_(std::move(environment))
    , kind_(DetectKind(env_))
    , entry_(FindEntry(kind_))
    , folders_(UserFolders::Find(env_, accountHome))
    , cacheFolder_(folders_.OwnCache().string())
    , memory_(folders_.config.empty() ? std::string() : (folders_.OwnConfig() / "wallpaper.txt").string())
    , screenProbe_(&LinuxDesktop::QtScreens)
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
    // As its users know it, for messages.
    const char* name;
    // Any of these in XDG_CURRENT_DESKTOP or DESKTOP_SESSION (lower case).
    std::array<const char*, 3> words;
    // Or this variable being set.
    const char* variable;
    // The gsettings schema and picture key of the GNOME family, and whether
    // the picture is a URI; null for the others.
    const char* schema;
    const char* pictureKey;
    bool uri;
    Picture (LinuxDesktop::*read)(const Entry&);
    Installation (LinuxDesktop::*install)(const Entry&, const std::string& copy, bool spanned);
    std::uint32_t (LinuxDesktop::*color)(const Entry&);
    // Whether the session starts the user's XDG autostart entries.
    bool autostart;
    // What the desktop's own bars cover at the top and bottom of the
    // primary monitor, in logical pixels, where the window system does not
    // say (Wayland).
    int topBar;
    int bottomBar;
};

const LinuxDesktop::Entry LinuxDesktop::kEntries[] = {
    { Kind::Cinnamon, "Cinnamon", { "cinnamon" }, nullptr, "org.cinnamon.desktop.background", "picture-uri",
        true, &LinuxDesktop::ReadGnomeLike, &LinuxDesktop::InstallGnomeLike, &LinuxDesktop::GnomeLikeColor,
        true, 0, 0 },
    { Kind::Mate, "MATE", { "mate" }, nullptr, "org.mate.background", "picture-filename", false,
        &LinuxDesktop::ReadGnomeLike, &LinuxDesktop::InstallGnomeLike, &LinuxDesktop::GnomeLikeColor, true, 0,
        0 },
    { Kind::Lxqt, "LXQt", { "lxqt" }, nullptr, nullptr, nullptr, false, &LinuxDesktop::ReadLxqt,
        &LinuxDesktop::InstallLxqt, &LinuxDesktop::LxqtColor, true, 0, 0 },
    { Kind::Kde, "KDE Plasma", { "kde", "plasma" }, nullptr, nullptr, nullptr, false, &LinuxDesktop::ReadKde,
        &LinuxDesktop::InstallKde, nullptr, true, 0, 44 },
    { Kind::Xfce, "Xfce", { "xfce" }, nullptr, nullptr, nullptr, false, &LinuxDesktop::ReadXfce,
        &LinuxDesktop::InstallXfce, nullptr, true, 0, 0 },
    { Kind::Lxde, "LXDE", { "lxde" }, nullptr, nullptr, nullptr, false, &LinuxDesktop::ReadLxde,
        &LinuxDesktop::InstallLxde, &LinuxDesktop::LxdeColor, true, 0, 0 },
    { Kind::Gnome, "GNOME", { "gnome", "unity", "budgie" }, nullptr, "org.gnome.desktop.background",
        "picture-uri", true, &LinuxDesktop::ReadGnomeLike, &LinuxDesktop::InstallGnomeLike,
        &LinuxDesktop::GnomeLikeColor, true, 32, 0 },
    { Kind::Sway, "sway", { "sway" }, "SWAYSOCK", nullptr, nullptr, false, &LinuxDesktop::ReadSway,
        &LinuxDesktop::InstallSway, nullptr, false, 0, 0 },
    { Kind::X11, "X11 (feh)", {}, "DISPLAY", nullptr, nullptr, false, &LinuxDesktop::ReadFeh,
        &LinuxDesktop::InstallFeh, nullptr, true, 0, 0 },
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

std::string LinuxDesktop::DesktopName() const
{
    return entry_ != nullptr ? entry_->name : std::string();
}

bool LinuxDesktop::RunsAutostartEntries()
{
    return entry_ == nullptr || entry_->autostart;
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
ScreenSize LinuxDesktop::ScreenFromXdpyinfo(const std::string& output)
{
    static const std::regex dimensions(R"(dimensions:\s+(\d+)x(\d+) pixels)");
    std::smatch m;
    if (std::regex_search(output, m, dimensions))
        return { std::stoi(m[1]), std::stoi(m[2]) };
    return {};
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

bool LinuxDesktop::Eventually(const std::function<bool()>& check)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(readBackMilliseconds_);
    for (;;) {
        if (check())
            return true;
        if (std::chrono::steady_clock::now() >= end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

LinuxDesktop::Picture LinuxDesktop::ReadGnomeLike(const Entry& entry)
{
    const std::string schema = entry.schema;
    // An empty value reads as '' ; no text at all means gsettings failed and
    // the desktop could not be asked.
    const std::string raw = Gsettings(schema, entry.pictureKey);
    if (raw.empty())
        return {};
    std::string picture = UnquoteGVariant(raw);
    // GNOME shows a picture of its own in the dark style.
    if (kind_ == Kind::Gnome
        && UnquoteGVariant(Gsettings("org.gnome.desktop.interface", "color-scheme")) == "prefer-dark") {
        const std::string dark = UnquoteGVariant(Gsettings(schema, "picture-uri-dark"));
        if (!dark.empty())
            picture = dark;
    }
    const std::optional<Placement> placement
        = PlacementFromName(UnquoteGVariant(Gsettings(schema, "picture-options")));
    return { SettingsFor(entry.uri ? FileUriToPath(picture) : picture, placement), placement };
}

std::string LinuxDesktop::PlasmaScript(const std::string& script, bool& failed, std::string& error)
{
    failed = false;
    // dbus-send is there wherever D-Bus is; Plasma 5's qdbus became
    // Plasma 6's qdbus6.
    CommandResult r = runner_.Run({ "dbus-send", "--session", "--print-reply", "--dest=org.kde.plasmashell",
        "/PlasmaShell", "org.kde.PlasmaShell.evaluateScript", "string:" + script });
    if (r.exitCode == 0) {
        // method return …\n   string "printed text"
        const auto open = r.output.find("string \"");
        const auto close = r.output.rfind('"');
        if (open == std::string::npos || close < open + 8)
            return {};
        return r.output.substr(open + 8, close - open - 8);
    }
    if (r.exitCode == 127) {
        for (const char* tool : { "qdbus6", "qdbus" }) {
            r = runner_.Run({ tool, "org.kde.plasmashell", "/PlasmaShell",
                "org.kde.PlasmaShell.evaluateScript", script });
            if (r.exitCode != 127)
                break;
        }
        if (r.exitCode == 0)
            return r.output;
    }
    failed = true;
    error = r.exitCode == 127 ? std::string("missing") : r.errorOutput + r.output;
    return {};
}

LinuxDesktop::Picture LinuxDesktop::ReadKde(const Entry&)
{
    // The running shell's own answer for the primary screen's desktop of
    // the current activity.
    bool failed = false;
    std::string error;
    const std::string answer = PlasmaScript(
        "var all = desktopsForActivity(currentActivity()); var d = null;"
        "for (var i = 0; i < all.length; i++) if (d === null || all[i].screen == 0) d = all[i];"
        "if (d !== null) { d.currentConfigGroup = ['Wallpaper', 'org.kde.image', 'General'];"
        "print(d.wallpaperPlugin + '\\t' + d.readConfig('Image', '') + '\\t' + d.readConfig('FillMode', 2)); "
        "}",
        failed, error);
    std::string image, fillMode;
    bool asked = false;
    if (!failed) {
        std::istringstream fields(Trim(answer));
        std::string plugin;
        if (std::getline(fields, plugin, '\t') && std::getline(fields, image, '\t')
            && std::getline(fields, fillMode)) {
            // A slide show or a plain colour has no one picture to draw on.
            if (plugin != "org.kde.image")
                return {};
            asked = true;
        }
    }
    if (!asked) {
        // Without the shell: its applet configuration, the primary screen's
        // desktop first, else the first desktop with a picture.
        std::istringstream lines(ReadFile(folders_.config, "plasma-org.kde.plasma.desktop-appletsrc"));
        std::string line, current, id, primaryId;
        std::map<std::string, std::pair<std::string, std::string>> pictures; // id -> image, fill mode
        std::vector<std::string> order;
        static const std::regex containment(R"(^\[Containments\]\[(\d+)\](.*)$)");
        std::smatch m;
        bool imageSection = false;
        while (std::getline(lines, line)) {
            line = Trim(line);
            if (!line.empty() && line[0] == '[') {
                imageSection = false;
                id.clear();
                if (std::regex_match(line, m, containment)) {
                    id = m[1];
                    current = m[2];
                    imageSection = current == "[Wallpaper][org.kde.image][General]";
                }
                continue;
            }
            if (id.empty())
                continue;
            if (current.empty() && line == "lastScreen=0")
                primaryId = id;
            if (!imageSection)
                continue;
            if (std::find(order.begin(), order.end(), id) == order.end())
                order.push_back(id);
            if (line.rfind("Image=", 0) == 0)
                pictures[id].first = line.substr(6);
            else if (line.rfind("FillMode=", 0) == 0)
                pictures[id].second = line.substr(9);
        }
        std::string chosen;
        if (!primaryId.empty() && !pictures[primaryId].first.empty())
            chosen = primaryId;
        for (const std::string& candidate : order)
            if (chosen.empty() && !pictures[candidate].first.empty())
                chosen = candidate;
        if (!chosen.empty()) {
            image = pictures[chosen].first;
            fillMode = pictures[chosen].second;
        }
    }
    // PreserveAspectCrop (zoom) is Plasma's default.
    const std::optional<Placement> placement = FindMode(kKdeModes, fillMode.empty() ? "2" : fillMode);
    return { SettingsFor(FileUriToPath(image), placement.value_or(Placement::Zoom)),
        placement.value_or(Placement::Zoom) };
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

LinuxDesktop::Picture LinuxDesktop::ReadXfce(const Entry&)
{
    std::vector<std::string> images = XfceImageProperties();
    if (images.empty())
        return {};
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
    // Xfce zooms when no style was ever chosen.
    const std::optional<Placement> placement
        = FindMode(kXfceModes, style.exitCode == 0 ? Trim(style.output) : std::string("5"));
    return { SettingsFor(image.exitCode == 0 ? Trim(image.output) : std::string(), placement), placement };
}

std::optional<std::string> LinuxDesktop::PcmanfmDesktopProfile(const std::string& program)
{
    // The desktop process of this user: "pcmanfm-qt --desktop --profile=lxqt".
    const CommandResult r = runner_.Run({ "pgrep", "-a", "-u", std::to_string(::getuid()), "-f",
        "(^|/)" + program + "( .*)? --desktop( |$)" });
    if (r.exitCode == 127) // no pgrep: the session's usual profile
        return std::string(program == "pcmanfm-qt" ? "lxqt" : "LXDE");
    if (r.exitCode != 0)
        return std::nullopt;
    std::istringstream lines(r.output);
    std::string line;
    std::getline(lines, line);
    return ProfileOf(line);
}

std::string LinuxDesktop::PcmanfmFile(const std::string& program, const std::string& profile) const
{
    if (folders_.config.empty())
        return {};
    const std::filesystem::path folder = folders_.config / program / profile;
    return ReadFile(folder, program == "pcmanfm-qt" ? "settings.conf" : "desktop-items-0.conf");
}

LinuxDesktop::Picture LinuxDesktop::ReadLxqt(const Entry&)
{
    const std::string text = PcmanfmFile("pcmanfm-qt", PcmanfmDesktopProfile("pcmanfm-qt").value_or("lxqt"));
    const std::string picture = IniValue(text, "Desktop", "Wallpaper");
    if (picture.empty())
        return {};
    const std::optional<Placement> placement
        = FindMode(kLxqtModes, IniValue(text, "Desktop", "WallpaperMode"));
    return { SettingsFor(picture, placement), placement };
}

LinuxDesktop::Picture LinuxDesktop::ReadLxde(const Entry&)
{
    const std::string text = PcmanfmFile("pcmanfm", PcmanfmDesktopProfile("pcmanfm").value_or("LXDE"));
    const std::string picture = IniValue(text, "*", "wallpaper");
    if (picture.empty())
        return {};
    const std::optional<Placement> placement = FindMode(kLxdeModes, IniValue(text, "*", "wallpaper_mode"));
    return { SettingsFor(picture, placement), placement };
}

std::optional<std::pair<std::string, std::string>> LinuxDesktop::SwaybgPicture()
{
    // swaybg runs as the compositor's user, who owns the IPC socket.
    struct stat socket { };
    const std::string sock = env_("SWAYSOCK");
    const uid_t uid = !sock.empty() && ::stat(sock.c_str(), &socket) == 0 ? socket.st_uid : ::getuid();
    const CommandResult r = runner_.Run({ "pgrep", "-a", "-u", std::to_string(uid), "-x", "swaybg" });
    if (r.exitCode != 0)
        return std::nullopt;
    // The newest swaybg: "PID swaybg -o OUT -i PATH -m MODE [-o …]".
    std::istringstream lines(r.output);
    std::string line, last;
    while (std::getline(lines, line))
        if (!Trim(line).empty())
            last = Trim(line);
    // Split at the options; a path may hold spaces but not " -o ".
    struct Group {
        std::string output, image, mode;
    };
    std::vector<Group> groups;
    static const std::regex option(R"( -([oimc]) )");
    std::vector<std::pair<char, std::size_t>> marks; // option, start of its value
    for (std::sregex_iterator it(last.begin(), last.end(), option), end; it != end; ++it)
        marks.emplace_back((*it)[1].str()[0], static_cast<std::size_t>(it->position() + it->length()));
    for (std::size_t i = 0; i < marks.size(); ++i) {
        const std::size_t valueEnd = i + 1 < marks.size() ? marks[i + 1].second - 4 : last.size();
        const std::string value = last.substr(marks[i].second, valueEnd - marks[i].second);
        if (marks[i].first == 'o' || groups.empty())
            groups.emplace_back();
        Group& group = groups.back();
        if (marks[i].first == 'o')
            group.output = value;
        else if (marks[i].first == 'i')
            group.image = value;
        else if (marks[i].first == 'm')
            group.mode = value;
    }
    if (groups.empty())
        return std::nullopt;
    // The primary output's own setting, else the one for every output.
    const std::vector<std::string> names
        = SwayOutputNames(runner_.Run({ "swaymsg", "-t", "get_outputs", "-r" }).output);
    const Group* chosen = nullptr;
    for (const std::string& want : { names.empty() ? std::string("*") : names.front(), std::string("*") })
        for (const Group& group : groups)
            if (chosen == nullptr && group.output == want)
                chosen = &group;
    if (chosen == nullptr)
        chosen = &groups.front();
    return std::make_pair(chosen->image, chosen->mode);
}

LinuxDesktop::Picture LinuxDesktop::ReadSway(const Entry&)
{
    const auto shown = SwaybgPicture();
    if (!shown || shown->first.empty())
        return {};
    const std::optional<Placement> placement = FindMode(kSwayModes, shown->second);
    return { SettingsFor(shown->first, placement), placement };
}

LinuxDesktop::Picture LinuxDesktop::ReadFeh(const Entry&)
{
    // ~/.fehbg: feh --no-fehbg [--no-xinerama] --bg-fill '/path/to/picture'
    static const std::regex command(R"(--bg-(\w+)\s+'([^']*)')");
    const std::string script = ReadFile(folders_.home, ".fehbg");
    std::smatch m;
    if (!std::regex_search(script, m, command))
        return {};
    std::optional<Placement> placement = FindMode(kFehModes, m[1].str());
    // Without Xinerama one picture covers the whole screen.
    if (script.find("--no-xinerama") != std::string::npos && placement != Placement::Wallpaper
        && placement != Placement::Centered)
        placement = Placement::Spanned;
    return { SettingsFor(m[2], placement), placement };
}

LinuxDesktop::Picture LinuxDesktop::ReadPicture()
{
    if (entry_ == nullptr || entry_->read == nullptr)
        return {};
    return (this->*entry_->read)(*entry_);
}

WallpaperSettings LinuxDesktop::ReadDesktopSettings()
{
    return ReadPicture().settings;
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
    const Picture current = ReadPicture();
    const std::optional<WallpaperSettings> remembered = memory_.Load();
    const Picture fromMemory { remembered.value_or(WallpaperSettings {}), memory_.LoadPlacement() };
    Picture drawn = current;
    if (IsOurOutput(current.settings.wallpaper)) {
        drawn = fromMemory;
    } else if (current.settings.wallpaper.empty()) {
        // Only a picture replaces what is remembered: a run must never
        // forget the user's own picture. A desktop that could not be asked
        // (no display, a failed or missing tool, no swaybg) reads as all
        // empty and is drawn from the memory; a desktop set to show no
        // picture is drawn as it is.
        if (current.settings == WallpaperSettings {} && remembered)
            drawn = fromMemory;
    } else if (!remembered || !(*remembered == current.settings)
        || fromMemory.placement != current.placement) {
        memory_.Save(current.settings, current.placement);
    }
    lastPlacement_ = drawn.placement;
    placementRead_ = true;
    return drawn.settings;
}

std::optional<Placement> LinuxDesktop::WallpaperPlacement()
{
    if (!placementRead_)
        ReadWallpaperSettings();
    return lastPlacement_;
}

std::vector<Monitor> LinuxDesktop::QtScreens()
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

double LinuxDesktop::X11Scale()
{
    // The X resources' font resolution is the desktop's scale on X11
    // (192 at 200 %); Qt takes its own scale from it too.
    const CommandResult xrdb = runner_.Run({ "xrdb", "-query" });
    static const std::regex dpi(R"(Xft\.dpi:\s*(\d+(\.\d+)?))");
    std::smatch m;
    if (xrdb.exitCode == 0 && std::regex_search(xrdb.output, m, dpi)) {
        const double value = std::stod(m[1]);
        if (value >= 48 && value <= 960)
            return value / 96.0;
    }
    return 1.0;
}

void LinuxDesktop::ApplyX11WorkArea(std::vector<Monitor>& monitors)
{
    const CommandResult root = runner_.Run({ "xprop", "-root", "_NET_CLIENT_LIST", "_NET_WORKAREA" });
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
            = runner_.Run({ "xprop", "-id", id, "_NET_WM_STRUT_PARTIAL", "_NET_WM_STRUT" });
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

std::vector<Monitor> LinuxDesktop::WindowSystemMonitors()
{
    const auto sway = [this]() -> std::vector<Monitor> {
        const CommandResult outputs = runner_.Run({ "swaymsg", "-t", "get_outputs", "-r" });
        if (outputs.exitCode != 0)
            return {};
        std::vector<Monitor> monitors = MonitorsFromSwayOutputs(outputs.output);
        const CommandResult workspaces = runner_.Run({ "swaymsg", "-t", "get_workspaces", "-r" });
        if (workspaces.exitCode == 0)
            ApplySwayWorkspaces(monitors, SwayOutputNames(outputs.output), workspaces.output);
        return monitors;
    };
    const bool onSway = kind_ == Kind::Sway || !env_("SWAYSOCK").empty();
    if (onSway)
        if (std::vector<Monitor> monitors = sway(); !monitors.empty())
            return monitors;
    const double scale = X11Scale();
    const CommandResult list = runner_.Run({ "xrandr", "--listmonitors" });
    std::vector<Monitor> monitors;
    if (list.exitCode == 0)
        monitors = MonitorsFromXrandrList(list.output, scale);
    if (monitors.empty()) {
        const CommandResult xrandr = runner_.Run({ "xrandr", "--current" });
        if (xrandr.exitCode == 0)
            monitors = MonitorsFromXrandr(xrandr.output, scale);
    }
    if (!monitors.empty()) {
        ApplyX11WorkArea(monitors);
        return monitors;
    }
    return onSway ? std::vector<Monitor>() : sway();
}

std::vector<Monitor> LinuxDesktop::Monitors()
{
    std::vector<Monitor> monitors = screenProbe_ ? screenProbe_() : std::vector<Monitor>();
    if (monitors.empty())
        monitors = WindowSystemMonitors();
    // On Wayland nothing tells where the desktop's own bars are: the known
    // size of its bar, at the monitor's scale.
    if (!env_("WAYLAND_DISPLAY").empty() && entry_ != nullptr && kind_ != Kind::Sway)
        for (Monitor& monitor : monitors) {
            if (!monitor.primary || !(monitor.workArea == monitor.geometry))
                continue;
            const int top = static_cast<int>(std::lround(entry_->topBar * monitor.scale));
            const int bottom = static_cast<int>(std::lround(entry_->bottomBar * monitor.scale));
            monitor.workArea.y += top;
            monitor.workArea.height -= top + bottom;
        }
    return monitors;
}

ScreenSize LinuxDesktop::PrimaryScreenSize()
{
    for (const Monitor& monitor : Monitors())
        if (monitor.primary && monitor.geometry.width > 0 && monitor.geometry.height > 0)
            return { monitor.geometry.width, monitor.geometry.height };
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
    // The user's scaling is each monitor's scale (from Qt, sway or the X
    // resources), so one logical pixel is always the 96th of an inch.
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

std::uint32_t LinuxDesktop::LxqtColor(const Entry&)
{
    const std::string text = PcmanfmFile("pcmanfm-qt", PcmanfmDesktopProfile("pcmanfm-qt").value_or("lxqt"));
    return ColorFromText(IniValue(text, "Desktop", "BgColor"), 0);
}

std::uint32_t LinuxDesktop::LxdeColor(const Entry&)
{
    const std::string text = PcmanfmFile("pcmanfm", PcmanfmDesktopProfile("pcmanfm").value_or("LXDE"));
    return ColorFromText(IniValue(text, "*", "desktop_bg"), 0);
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
    return target;
}

void LinuxDesktop::RemoveCopiesBut(const std::string& copy, const std::string& shown)
{
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(cacheFolder_, error)) {
        const std::string path = entry.path().string();
        if (path != copy && path != shown && IsOurOutput(path) && EndsWith(path, kCopySuffix))
            std::filesystem::remove(entry.path(), error);
    }
}

Installation LinuxDesktop::InstallWallpaper(const std::string& path, bool spanned)
{
    if (entry_ == nullptr)
        return { false, texts::UnknownDesktop() };
    // Remember the user's own picture before the desktop is pointed at ours.
    ReadWallpaperSettings();
    const std::string copy = MakeCopy(path);
    if (copy.empty())
        return { false, texts::NoCopy() };
    const Installation installed = (this->*entry_->install)(*entry_, copy, spanned);
    // The earlier copies go once the desktop shows the new one; a desktop
    // that did not take it keeps the copy it names, which it would
    // otherwise show as nothing at its next start.
    RemoveCopiesBut(copy, installed.taken ? copy : ReadPicture().settings.wallpaper);
    return installed;
}

Installation LinuxDesktop::InstallGnomeLike(const Entry& entry, const std::string& copy, bool spanned)
{
    const std::string schema = entry.schema;
    const std::string picture = entry.uri ? PathToFileUri(copy) : copy;
    const std::string value = QuoteGVariant(picture);
    const CommandResult set = runner_.Run({ "gsettings", "set", schema, entry.pictureKey, value });
    if (set.exitCode != 0)
        return Failed(entry.name, "gsettings", set);
    // The dark-style picture; older versions lack the key, which is fine.
    if (kind_ == Kind::Gnome)
        GsettingsSet(schema, "picture-uri-dark", value);
    if (!GsettingsSet(schema, "picture-options", spanned ? "'spanned'" : "'zoom'"))
        return { false, texts::ToolFailed(entry.name, "gsettings") };
    if (UnquoteGVariant(Gsettings(schema, entry.pictureKey)) != picture)
        return { false, texts::NotShown(entry.name) };
    return { true };
}

Installation LinuxDesktop::InstallKde(const Entry& entry, const std::string& copy, bool)
{
    // Every desktop of the current activity, one per screen; Plasma has no
    // picture spanning screens. The URI is percent-encoded, so it holds no
    // quote to end the script's string.
    const std::string uri = PathToFileUri(copy);
    bool failed = false;
    std::string error;
    const std::string answer = PlasmaScript("var uri = '" + uri
            + "'; var all = desktopsForActivity(currentActivity()); var out = '';"
              "for (var i = 0; i < all.length; i++) { var d = all[i]; d.wallpaperPlugin = 'org.kde.image';"
              "d.currentConfigGroup = ['Wallpaper', 'org.kde.image', 'General'];"
              "d.writeConfig('Image', uri); d.writeConfig('FillMode', 2); d.reloadConfig();"
              "out += d.readConfig('Image', '') + '\\n'; } print(out);",
        failed, error);
    if (failed) {
        if (error == "missing")
            return { false, texts::ToolMissing(entry.name, "dbus-send") };
        if (error.find("Widgets are locked") != std::string::npos)
            return { false, texts::KdeLocked() };
        // No shell on the bus, one that does not answer, or no bus at all.
        for (const char* absent : { "ServiceUnknown", "NoReply", "NameHasNoOwner", "session bus" })
            if (error.find(absent) != std::string::npos)
                return { false, texts::NotRunning(entry.name, "plasmashell") };
        return { false, texts::ToolFailed(entry.name, "evaluateScript") };
    }
    // Each desktop reads its picture back.
    std::istringstream lines(answer);
    std::string line;
    int shown = 0;
    while (std::getline(lines, line)) {
        if (Trim(line).empty())
            continue;
        if (FileUriToPath(Trim(line)) != copy)
            return { false, texts::NotShown(entry.name) };
        ++shown;
    }
    return shown > 0 ? Installation { true } : Installation { false, texts::NotShown(entry.name) };
}

Installation LinuxDesktop::InstallXfce(const Entry& entry, const std::string& copy, bool spanned)
{
    const std::vector<std::string> images = XfceImageProperties();
    if (images.empty())
        return { false, texts::ToolFailed(entry.name, "xfconf-query") };
    for (const std::string& property : images) {
        const std::string prefix = property.substr(0, property.size() - kXfceImage.size());
        const CommandResult set
            = runner_.Run({ "xfconf-query", "-c", "xfce4-desktop", "-p", property, "-s", copy });
        if (set.exitCode != 0)
            return Failed(entry.name, "xfconf-query", set);
        // Zoomed (5) shows the canvas one to one; spanning (6) lays it over
        // all monitors.
        runner_.Run({ "xfconf-query", "-c", "xfce4-desktop", "-p", prefix + "/image-style", "-n", "-t", "int",
            "-s", spanned ? "6" : "5" });
        const CommandResult back = runner_.Run({ "xfconf-query", "-c", "xfce4-desktop", "-p", property });
        if (back.exitCode != 0 || Trim(back.output) != copy)
            return { false, texts::NotShown(entry.name) };
    }
    return { true };
}

Installation LinuxDesktop::InstallLxqt(const Entry& entry, const std::string& copy, bool)
{
    // pcmanfm-qt without its desktop process exits 0 having done nothing.
    const std::optional<std::string> profile = PcmanfmDesktopProfile("pcmanfm-qt");
    if (!profile)
        return { false, texts::NotRunning(entry.name, "pcmanfm-qt --desktop") };
    const CommandResult set = runner_.Run(
        { "pcmanfm-qt", "--profile=" + *profile, "--set-wallpaper=" + copy, "--wallpaper-mode=zoom" });
    if (set.exitCode != 0)
        return Failed(entry.name, "pcmanfm-qt", set);
    // The desktop process writes the new picture into its settings.
    if (!Eventually(
            [&] { return IniValue(PcmanfmFile("pcmanfm-qt", *profile), "Desktop", "Wallpaper") == copy; }))
        return { false, texts::NotShown(entry.name) };
    return { true };
}

Installation LinuxDesktop::InstallLxde(const Entry& entry, const std::string& copy, bool spanned)
{
    // pcmanfm without its desktop process would stay running as that
    // process, showing nothing.
    const std::optional<std::string> profile = PcmanfmDesktopProfile("pcmanfm");
    if (!profile)
        return { false, texts::NotRunning(entry.name, "pcmanfm --desktop") };
    const CommandResult set = runner_.Run({ "pcmanfm", "--profile=" + *profile, "--set-wallpaper=" + copy,
        std::string("--wallpaper-mode=") + (spanned ? "screen" : "crop") });
    if (set.exitCode != 0)
        return Failed(entry.name, "pcmanfm", set);
    if (!Eventually([&] { return IniValue(PcmanfmFile("pcmanfm", *profile), "*", "wallpaper") == copy; }))
        return { false, texts::NotShown(entry.name) };
    return { true };
}

Installation LinuxDesktop::InstallSway(const Entry& entry, const std::string& copy, bool)
{
    // sway answers success even for a file its user cannot read; swaybg
    // then shows nothing.
    const std::string sock = env_("SWAYSOCK");
    struct stat socket { };
    if (sock.empty() || ::stat(sock.c_str(), &socket) != 0)
        return { false, texts::NotRunning(entry.name, "sway") };
    if (!ReadableBy(copy, socket.st_uid, socket.st_gid))
        return { false, texts::SwayCannotRead(copy) };
    // Every output; sway has no picture spanning outputs.
    const CommandResult set = runner_.Run({ "swaymsg", "output", "*", "bg", copy, "fill" });
    if (set.exitCode != 0)
        return Failed(entry.name, "swaymsg", set);
    bool anySwaybg = false;
    const bool shown = Eventually([&] {
        const auto picture = SwaybgPicture();
        anySwaybg = anySwaybg || picture.has_value();
        return picture && picture->first == copy;
    });
    if (!shown)
        return { false, anySwaybg ? texts::NotShown(entry.name) : texts::SwaybgMissing() };
    return { true };
}

Installation LinuxDesktop::InstallFeh(const Entry& entry, const std::string& copy, bool spanned)
{
    // Without Xinerama feh lays one picture over the whole screen.
    std::vector<std::string> command { "feh", "--bg-fill", copy };
    if (spanned)
        command.insert(command.begin() + 1, "--no-xinerama");
    const CommandResult set = runner_.Run(command);
    if (set.exitCode != 0)
        return Failed(entry.name, "feh", set);
    // feh records the picture in ~/.fehbg; on a server without RandR it
    // records no file name, and its success is all there is to go by.
    const std::string script = ReadFile(folders_.home, ".fehbg");
    if (script.find('\'') != std::string::npos && script.find(copy) == std::string::npos)
        return { false, texts::NotShown(entry.name) };
    return { true };
}

} // namespace platform
