// KDE Plasma 5 and 6: the shell's scripting interface on D-Bus, and its
// applet configuration when no shell answers.
#include "jconvert/AsciiText.h"
#include "jconvert/TextLines.h"
#include "platform/Texts.h"
#include "platform/desktops/DesktopKind.h"
#include "platform/desktops/DesktopText.h"

#include <map>
#include <regex>
#include <vector>

namespace platform {
namespace {

// KDE's FillMode (Qt's Image.fillMode numbers); tiling along one axis only
// reads as tiled.
constexpr ModeName kModes[] = { { "0", Placement::Stretched }, { "1", Placement::Scaled },
    { "2", Placement::Zoom }, { "3", Placement::Wallpaper }, { "4", Placement::Wallpaper },
    { "5", Placement::Wallpaper }, { "6", Placement::Centered } };

std::string Trim(std::string_view text)
{
    return std::string(jconvert::TrimBlanks(text));
}

class KdeDesktop : public DesktopKind {
public:
    using DesktopKind::DesktopKind;

    Id Kind() const override { return Id::Kde; }
    const char* Name() const override { return "KDE Plasma"; }
    int BottomBar() const override { return 44; }

    std::optional<ShownPicture> Read() override
    {
        // The running shell's own answer for the primary screen's desktop of
        // the current activity.
        const Script script
            = Run("var all = desktopsForActivity(currentActivity()); var d = null;"
                  "for (var i = 0; i < all.length; i++) if (d === null || all[i].screen == 0) "
                  "d = all[i];"
                  "if (d !== null) { d.currentConfigGroup = ['Wallpaper', 'org.kde.image', "
                  "'General'];"
                  "print(d.wallpaperPlugin + '\\t' + d.readConfig('Image', '') + '\\t' + "
                  "d.readConfig('FillMode', 2)); }");
        std::string image, fillMode;
        const std::string answer = Trim(script.printed);
        const std::size_t tab1 = answer.find('\t'), tab2 = answer.find('\t', tab1 + 1);
        if (!script.failed && tab2 != std::string::npos) {
            // A slide show or a plain colour has no one picture to draw on.
            if (answer.substr(0, tab1) != "org.kde.image")
                return std::nullopt;
            image = answer.substr(tab1 + 1, tab2 - tab1 - 1);
            fillMode = answer.substr(tab2 + 1);
        } else {
            std::tie(image, fillMode) = FromAppletConfiguration();
        }
        // PreserveAspectCrop (zoom) is Plasma's default.
        return ShownPicture { FileUriToPath(image), FindMode(kModes, fillMode).value_or(Placement::Zoom) };
    }

    Installation Install(const std::string& copy, bool) override
    {
        // Every desktop of the current activity, one per screen; Plasma has
        // no picture spanning screens. The URI is percent-encoded, so it
        // holds no quote to end the script's string.
        const Script script = Run("var uri = '" + PathToFileUri(copy)
            + "'; var all = desktopsForActivity(currentActivity()); var out = '';"
              "for (var i = 0; i < all.length; i++) { var d = all[i]; d.wallpaperPlugin = 'org.kde.image';"
              "d.currentConfigGroup = ['Wallpaper', 'org.kde.image', 'General'];"
              "d.writeConfig('Image', uri); d.writeConfig('FillMode', 2); d.reloadConfig();"
              "out += d.readConfig('Image', '') + '\\n'; } print(out);");
        if (script.failed) {
            if (script.error == "missing")
                return { false, texts::ToolMissing(Name(), "dbus-send") };
            if (script.error.find("Widgets are locked") != std::string::npos)
                return { false, texts::kKdeLocked };
            // No shell on the bus, one that does not answer, or no bus at all.
            for (const char* absent : { "ServiceUnknown", "NoReply", "NameHasNoOwner", "session bus" })
                if (script.error.find(absent) != std::string::npos)
                    return { false, texts::NotRunning(Name(), "plasmashell") };
            return { false, texts::ToolFailed(Name(), "evaluateScript") };
        }
        // Each desktop reads its picture back.
        int shown = 0;
        for (const std::string_view line : jconvert::SplitLines(script.printed)) {
            const std::string_view uri = jconvert::TrimBlanks(line);
            if (uri.empty())
                continue;
            if (FileUriToPath(uri) != copy)
                return NotShown();
            ++shown;
        }
        return shown > 0 ? Installation { true } : NotShown();
    }

private:
    struct Script {
        bool failed = false;
        std::string printed; // what the script printed
        std::string error {}; // the D-Bus error, or "missing" without a tool
    };

    // Runs a script in the shell: dbus-send is there wherever D-Bus is;
    // Plasma 5's qdbus became Plasma 6's qdbus6.
    Script Run(const std::string& script)
    {
        CommandResult r
            = tools_.runner.Run({ "dbus-send", "--session", "--print-reply", "--dest=org.kde.plasmashell",
                "/PlasmaShell", "org.kde.PlasmaShell.evaluateScript", "string:" + script });
        if (r.exitCode == 0) {
            // method return …\n   string "printed text"
            const std::size_t open = r.output.find("string \"");
            const std::size_t close = r.output.rfind('"');
            if (open == std::string::npos || close < open + 8)
                return {};
            return { false, r.output.substr(open + 8, close - open - 8) };
        }
        if (r.exitCode == 127) {
            for (const char* tool : { "qdbus6", "qdbus" }) {
                r = tools_.runner.Run({ tool, "org.kde.plasmashell", "/PlasmaShell",
                    "org.kde.PlasmaShell.evaluateScript", script });
                if (r.exitCode != 127)
                    break;
            }
            if (r.exitCode == 0)
                return { false, r.output };
        }
        return { true, {}, r.exitCode == 127 ? std::string("missing") : r.errorOutput + r.output };
    }

    // Without the shell: its applet configuration, the primary screen's
    // desktop first, else the first desktop with a picture; the picture and
    // its fill mode.
    std::pair<std::string, std::string> FromAppletConfiguration()
    {
        static const std::regex containment(R"(^Containments\]\[(\d+)(.*)$)");
        std::map<std::string, std::pair<std::string, std::string>> pictures; // id -> image, fill mode
        std::vector<std::string> order;
        std::string primary;
        const std::string text
            = tools_.ReadConfig(tools_.folders.config, "plasma-org.kde.plasma.desktop-appletsrc");
        for (const jconvert::IniEntry& entry : jconvert::IniEntries(text)) {
            std::match_results<std::string_view::const_iterator> m;
            if (!std::regex_match(entry.section.begin(), entry.section.end(), m, containment))
                continue;
            const std::string id = m[1], rest = m[2];
            if (rest.empty() && entry.key == "lastScreen" && entry.value == "0")
                primary = id;
            if (rest != "][Wallpaper][org.kde.image][General")
                continue;
            if (std::find(order.begin(), order.end(), id) == order.end())
                order.push_back(id);
            if (entry.key == "Image")
                pictures[id].first = entry.value;
            else if (entry.key == "FillMode")
                pictures[id].second = entry.value;
        }
        if (!primary.empty() && !pictures[primary].first.empty())
            return pictures[primary];
        for (const std::string& id : order)
            if (!pictures[id].first.empty())
                return pictures[id];
        return {};
    }
};

} // namespace

std::unique_ptr<DesktopKind> MakeKdeDesktop(DesktopTools& tools)
{
    return std::make_unique<KdeDesktop>(tools);
}

} // namespace platform
