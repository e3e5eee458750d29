// sway (wlroots): swaymsg sets the picture of every output, swaybg draws
// it; what swaybg was started with is the setting read back.
#include "jconvert/AsciiText.h"
#include "jconvert/TextLines.h"
#include "platform/FileIo.h"
#include "platform/MonitorLayout.h"
#include "platform/Texts.h"
#include "platform/desktops/DesktopKind.h"
#include "platform/desktops/DesktopText.h"

#include <chrono>
#include <regex>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace platform {
namespace {

constexpr ModeName kModes[]
    = { { "solid_color", Placement::None }, { "stretch", Placement::Stretched }, { "fit", Placement::Scaled },
          { "fill", Placement::Zoom }, { "center", Placement::Centered }, { "tile", Placement::Wallpaper } };

constexpr std::string_view kSafeCopyPrefix = "corkpane-kabegami-";

// sway reads a command's arguments as one text: it splits it at ";" and
// ",", and expands each word as a shell would ($(…), backquotes, quotes).
// A path of these characters alone is read as itself.
bool SafeForSway(std::string_view path)
{
    if (path.empty() || path.front() != '/')
        return false;
    for (const char c : path)
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '/'
                || c == '.' || c == '_' || c == '+' || c == '-'))
            return false;
    return true;
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

class SwayDesktop : public DesktopKind {
public:
    using DesktopKind::DesktopKind;

    Id Kind() const override { return Id::Sway; }
    const char* Name() const override { return "sway"; }
    bool RunsAutostartEntries() const override { return false; }

    std::optional<ShownPicture> Read() override
    {
        const auto shown = SwaybgPicture();
        if (!shown || shown->first.empty())
            return std::nullopt;
        return ShownPicture { shown->first,
            FindMode(kModes, shown->second).value_or(Placement::ClassicStretched) };
    }

    Installation Install(const std::string& copy, bool) override
    {
        // sway answers success even for a file its user cannot read; swaybg
        // then shows nothing.
        const std::string sock = tools_.env("SWAYSOCK");
        struct stat socket { };
        if (sock.empty() || ::stat(sock.c_str(), &socket) != 0)
            return { false, texts::NotRunning(Name(), "sway") };
        const std::string path = SafeForSway(copy) ? copy : SafeCopy(copy);
        if (path.empty())
            return { false, texts::kNoCopy };
        if (!ReadableBy(path, socket.st_uid, socket.st_gid))
            return { false, texts::SwayCannotRead(PathText(path)) };
        // Every output; sway has no picture spanning outputs.
        const CommandResult set = tools_.runner.Run({ "swaymsg", "output", "*", "bg", path, "fill" });
        if (set.exitCode != 0)
            return Failed("swaymsg", set);
        bool anySwaybg = false;
        const bool shown = tools_.Eventually([&] {
            const auto picture = SwaybgPicture();
            anySwaybg = anySwaybg || picture.has_value();
            return picture && picture->first == path;
        });
        if (!shown)
            return { false, anySwaybg ? texts::NotShown(Name()) : texts::kSwaybgMissing };
        return { true };
    }

private:
    // A copy of the picture under a path sway reads as it is: in the
    // session's runtime folder, else in a folder of the user's own under
    // /tmp. Earlier such copies go, but the one swaybg shows now. "" when
    // none can be made.
    std::string SafeCopy(const std::string& copy)
    {
        std::filesystem::path folder = tools_.env("XDG_RUNTIME_DIR");
        std::error_code error;
        if (!SafeForSway(folder.string()) || !std::filesystem::is_directory(folder, error)) {
            folder = "/tmp/corkpane-" + std::to_string(::getuid());
            ::mkdir(folder.c_str(), 0700);
            struct stat info { };
            // Someone else's folder, or a link planted in its place, is not
            // used.
            if (::lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::getuid())
                return {};
        }
        const auto shown = SwaybgPicture();
        for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
            const std::string name = entry.path().filename().string();
            if (name.starts_with(kSafeCopyPrefix) && (!shown || entry.path().string() != shown->first))
                std::filesystem::remove(entry.path(), error);
        }
        const std::string target = (folder
            / (std::string(kSafeCopyPrefix)
                + std::to_string(std::chrono::system_clock::now().time_since_epoch().count()) + ".png"))
                                       .string();
        try {
            ReplaceFile(target, ReadWholeFile(copy, kPictureReadLimit), kPictureReadLimit);
        } catch (const FileIoError&) {
            return {};
        }
        return target;
    }

    // The running swaybg's picture and mode for the primary output.
    std::optional<std::pair<std::string, std::string>> SwaybgPicture()
    {
        // swaybg runs as the compositor's user, who owns the IPC socket.
        struct stat socket { };
        const std::string sock = tools_.env("SWAYSOCK");
        const uid_t uid = !sock.empty() && ::stat(sock.c_str(), &socket) == 0 ? socket.st_uid : ::getuid();
        const CommandResult r
            = tools_.runner.Run({ "pgrep", "-a", "-u", std::to_string(uid), "-x", "swaybg" });
        if (r.exitCode != 0)
            return std::nullopt;
        // The newest swaybg: "PID swaybg -o OUT -i PATH -m MODE [-o …]".
        std::string last;
        for (const std::string_view line : jconvert::SplitLines(r.output))
            if (!jconvert::TrimBlanks(line).empty())
                last = jconvert::TrimBlanks(line);
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
            = SwayOutputNames(tools_.runner.Run({ "swaymsg", "-t", "get_outputs", "-r" }).output);
        const Group* chosen = nullptr;
        for (const std::string& want : { names.empty() ? std::string("*") : names.front(), std::string("*") })
            for (const Group& group : groups)
                if (chosen == nullptr && group.output == want)
                    chosen = &group;
        if (chosen == nullptr)
            chosen = &groups.front();
        return std::make_pair(chosen->image, chosen->mode);
    }
};

} // namespace

std::unique_ptr<DesktopKind> MakeSwayDesktop(DesktopTools& tools)
{
    return std::make_unique<SwayDesktop>(tools);
}

} // namespace platform
