#include "platform/desktops/PcmanfmDesktop.h"

#include "jconvert/TextLines.h"
#include "platform/Texts.h"

#include <regex>
#include <unistd.h>

namespace platform {

PcmanfmDesktop::PcmanfmDesktop(DesktopTools& tools, Keys keys)
    : DesktopKind(tools)
    , keys_(keys)
{
}

std::optional<std::string> PcmanfmDesktop::RunningProfile()
{
    const std::string program = keys_.program;
    const CommandResult r = tools_.runner.Run({ "pgrep", "-a", "-u", std::to_string(::getuid()), "-f",
        "(^|/)" + program + "( .*)? --desktop( |$)" });
    if (r.exitCode == 127) // no pgrep: the session's usual profile
        return std::string(keys_.profile);
    if (r.exitCode != 0)
        return std::nullopt;
    // The profile named on its command line ("--profile=X", "--profile X",
    // "-p X"); "default" without one, as the program itself takes it.
    static const std::regex option(R"((?:--profile[= ]|-p ?)(\S+))");
    const std::vector<std::string_view> lines = jconvert::SplitLines(r.output);
    std::match_results<std::string_view::const_iterator> m;
    if (!lines.empty() && std::regex_search(lines.front().begin(), lines.front().end(), m, option))
        return m[1].str();
    return std::string("default");
}

std::string PcmanfmDesktop::Settings(const std::string& profile) const
{
    if (tools_.folders.config.empty())
        return {};
    return tools_.ReadConfig(tools_.folders.config / keys_.program / profile, keys_.file);
}

std::optional<ShownPicture> PcmanfmDesktop::Read()
{
    const std::string text = Settings(RunningProfile().value_or(keys_.profile));
    const std::string picture = IniValue(text, keys_.section, keys_.pictureKey);
    if (picture.empty())
        return std::nullopt;
    Placement placement = Placement::ClassicStretched;
    const std::string mode = IniValue(text, keys_.section, keys_.modeKey);
    for (const ModeName& known : keys_.modes)
        if (known.first == mode)
            placement = known.second;
    return ShownPicture { picture, placement };
}

Installation PcmanfmDesktop::Install(const std::string& copy, bool spanned)
{
    // Without its desktop process pcmanfm-qt exits 0 having done nothing,
    // and pcmanfm stays running as that process, showing nothing.
    const std::optional<std::string> profile = RunningProfile();
    if (!profile)
        return { false, texts::NotRunning(Name(), std::string(keys_.program) + " --desktop") };
    const CommandResult set
        = tools_.runner.Run({ keys_.program, "--profile=" + *profile, "--set-wallpaper=" + copy,
            std::string("--wallpaper-mode=")
                + (spanned && keys_.spannedMode ? keys_.spannedMode : keys_.zoomMode) });
    if (set.exitCode != 0)
        return Failed(keys_.program, set);
    // The desktop process writes the new picture into its settings.
    if (!tools_.Eventually(
            [&] { return IniValue(Settings(*profile), keys_.section, keys_.pictureKey) == copy; }))
        return NotShown();
    return { true };
}

std::uint32_t PcmanfmDesktop::Colour()
{
    return ColorFromText(
        IniValue(Settings(RunningProfile().value_or(keys_.profile)), keys_.section, keys_.colourKey), 0);
}

} // namespace platform
