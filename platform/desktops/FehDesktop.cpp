// A plain X11 session whose background feh draws: feh sets it and records
// the command in ~/.fehbg, which is the setting read back.
#include "jconvert/TextLines.h"
#include "platform/CommandRunner.h"
#include "platform/desktops/DesktopKind.h"
#include "platform/desktops/DesktopText.h"

#include <algorithm>

namespace platform {
namespace {

// feh's --bg-… options.
constexpr ModeName kModes[] = { { "scale", Placement::Stretched }, { "max", Placement::Scaled },
    { "fill", Placement::Zoom }, { "center", Placement::Centered }, { "tile", Placement::Wallpaper } };

class FehDesktop : public DesktopKind {
public:
    using DesktopKind::DesktopKind;

    Id Kind() const override { return Id::X11; }
    const char* Name() const override { return "X11 (feh)"; }

    std::optional<ShownPicture> Read() override
    {
        // "feh --no-fehbg [--no-xinerama] --bg-fill '/path/to/picture'", the
        // path quoted as a shell reads it ('it'\''s').
        const std::optional<std::vector<std::string>> command = FehCommand();
        if (!command)
            return std::nullopt;
        const auto option = std::find_if(command->begin(), command->end(),
            [](const std::string& word) { return word.starts_with("--bg-"); });
        if (option == command->end() || option + 1 == command->end())
            return std::nullopt;
        Placement placement = FindMode(kModes, option->substr(5)).value_or(Placement::ClassicStretched);
        // Without Xinerama one picture covers the whole screen.
        if (std::find(command->begin(), command->end(), "--no-xinerama") != command->end()
            && placement != Placement::Wallpaper && placement != Placement::Centered)
            placement = Placement::Spanned;
        return ShownPicture { *(option + 1), placement };
    }

    Installation Install(const std::string& copy, bool spanned) override
    {
        // Without Xinerama feh lays one picture over the whole screen.
        std::vector<std::string> command { "feh", "--bg-fill", copy };
        if (spanned)
            command.insert(command.begin() + 1, "--no-xinerama");
        const CommandResult set = tools_.runner.Run(command);
        if (set.exitCode != 0)
            return Failed("feh", set);
        // On a server without RandR feh records no file name, and its
        // success is all there is to go by.
        const std::optional<ShownPicture> recorded = Read();
        if (recorded && recorded->picture != copy)
            return NotShown();
        return { true };
    }

private:
    // The words of the feh line of ~/.fehbg.
    std::optional<std::vector<std::string>> FehCommand()
    {
        const std::string script = tools_.ReadConfig(tools_.folders.home, ".fehbg");
        for (const std::string_view line : jconvert::SplitLines(script)) {
            bool unclosed = false;
            std::vector<std::string> words = SplitCommandLine(line, unclosed);
            if (!unclosed && !words.empty() && words.front().ends_with("feh"))
                return words;
        }
        return std::nullopt;
    }
};

} // namespace

std::unique_ptr<DesktopKind> MakeFehDesktop(DesktopTools& tools)
{
    return std::make_unique<FehDesktop>(tools);
}

} // namespace platform
