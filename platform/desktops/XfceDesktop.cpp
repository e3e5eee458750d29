// Xfce: xfconf's xfce4-desktop channel, one picture per monitor and
// workspace.
#include "jconvert/AsciiText.h"
#include "jconvert/TextLines.h"
#include "platform/desktops/DesktopKind.h"
#include "platform/desktops/DesktopText.h"

#include <algorithm>
#include <vector>

namespace platform {
namespace {

constexpr std::string_view kImage = "/last-image";
// image-style 0–6.
constexpr ModeName kModes[] = { { "0", Placement::None }, { "1", Placement::Centered },
    { "2", Placement::Wallpaper }, { "3", Placement::Stretched }, { "4", Placement::Scaled },
    { "5", Placement::Zoom }, { "6", Placement::Spanned } };

class XfceDesktop : public DesktopKind {
public:
    using DesktopKind::DesktopKind;

    Id Kind() const override { return Id::Xfce; }
    const char* Name() const override { return "Xfce"; }

    std::optional<ShownPicture> Read() override
    {
        std::vector<std::string> images = ImageProperties();
        if (images.empty())
            return std::nullopt;
        std::sort(images.begin(), images.end());
        // The first monitor's first workspace, when there is one.
        std::string property = images.front();
        for (const std::string& p : images)
            if (p.find("workspace0/last-image") != std::string::npos) {
                property = p;
                break;
            }
        const std::optional<std::string> image = Query(property);
        const std::optional<std::string> style = Query(Prefix(property) + "/image-style");
        // Xfce zooms when no style was ever chosen.
        return ShownPicture { image.value_or(std::string()),
            FindMode(kModes, style.value_or("5")).value_or(Placement::ClassicStretched) };
    }

    Installation Install(const std::string& copy, bool spanned) override
    {
        const std::vector<std::string> images = ImageProperties();
        if (images.empty())
            return Failed("xfconf-query", { 1, "" });
        for (const std::string& property : images) {
            const CommandResult set
                = tools_.runner.Run({ "xfconf-query", "-c", "xfce4-desktop", "-p", property, "-s", copy });
            if (set.exitCode != 0)
                return Failed("xfconf-query", set);
            // Zoomed (5) shows the canvas one to one; spanning (6) lays it
            // over all monitors.
            tools_.runner.Run({ "xfconf-query", "-c", "xfce4-desktop", "-p",
                Prefix(property) + "/image-style", "-n", "-t", "int", "-s", spanned ? "6" : "5" });
            if (Query(property) != copy)
                return NotShown();
        }
        return { true };
    }

private:
    static std::string Prefix(const std::string& imageProperty)
    {
        return imageProperty.substr(0, imageProperty.size() - kImage.size());
    }

    std::optional<std::string> Query(const std::string& property)
    {
        const CommandResult r = tools_.runner.Run({ "xfconf-query", "-c", "xfce4-desktop", "-p", property });
        if (r.exitCode != 0)
            return std::nullopt;
        return std::string(jconvert::TrimBlanks(r.output));
    }

    std::vector<std::string> ImageProperties()
    {
        const CommandResult list = tools_.runner.Run({ "xfconf-query", "-c", "xfce4-desktop", "-l" });
        std::vector<std::string> images;
        for (const std::string_view line : jconvert::SplitLines(list.output)) {
            const std::string_view property = jconvert::TrimBlanks(line);
            if (property.size() > kImage.size() && property.ends_with(kImage))
                images.emplace_back(property);
        }
        return images;
    }
};

} // namespace

std::unique_ptr<DesktopKind> MakeXfceDesktop(DesktopTools& tools)
{
    return std::make_unique<XfceDesktop>(tools);
}

} // namespace platform
