#include "platform/desktops/GsettingsDesktop.h"

#include "jconvert/AsciiText.h"
#include "platform/PlacementNames.h"
#include "platform/desktops/DesktopText.h"

namespace platform {

GsettingsDesktop::GsettingsDesktop(DesktopTools& tools, Keys keys)
    : DesktopKind(tools)
    , keys_(keys)
{
}

std::string GsettingsDesktop::Get(const std::string& schema, const std::string& key)
{
    const CommandResult r = tools_.runner.Run({ "gsettings", "get", schema, key });
    return r.exitCode == 0 ? std::string(jconvert::TrimBlanks(r.output)) : std::string();
}

bool GsettingsDesktop::Set(const std::string& schema, const std::string& key, const std::string& value)
{
    return tools_.runner.Run({ "gsettings", "set", schema, key, value }).exitCode == 0;
}

std::string GsettingsDesktop::PictureValue()
{
    return Get(keys_.schema, keys_.pictureKey);
}

std::optional<ShownPicture> GsettingsDesktop::Read()
{
    // An empty picture reads as '' ; no text at all means gsettings failed.
    const std::string raw = PictureValue();
    if (raw.empty())
        return std::nullopt;
    const std::string picture = UnquoteGVariant(raw);
    ShownPicture shown { keys_.uri ? FileUriToPath(picture) : picture };
    if (const auto placement = PlacementFromName(UnquoteGVariant(Get(keys_.schema, "picture-options"))))
        shown.placement = *placement;
    return shown;
}

Installation GsettingsDesktop::Install(const std::string& copy, bool spanned)
{
    const std::string picture = keys_.uri ? PathToFileUri(copy) : copy;
    const std::string value = QuoteGVariant(picture);
    const CommandResult set
        = tools_.runner.Run({ "gsettings", "set", keys_.schema, keys_.pictureKey, value });
    if (set.exitCode != 0)
        return Failed("gsettings", set);
    PictureSet(value);
    if (!Set(keys_.schema, "picture-options", spanned ? "'spanned'" : "'zoom'"))
        return Failed("gsettings", { 1, "" });
    if (UnquoteGVariant(Get(keys_.schema, keys_.pictureKey)) != picture)
        return NotShown();
    return { true };
}

std::uint32_t GsettingsDesktop::Colour()
{
    return ColorFromText(Get(keys_.schema, "primary-color"), 0);
}

} // namespace platform
