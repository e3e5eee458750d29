// GNOME (also Unity and Budgie): org.gnome.desktop.background, with a
// picture of its own for the dark style.
#include "platform/desktops/DesktopText.h"
#include "platform/desktops/GsettingsDesktop.h"

namespace platform {
namespace {

constexpr const char* kSchema = "org.gnome.desktop.background";

class GnomeDesktop : public GsettingsDesktop {
public:
    explicit GnomeDesktop(DesktopTools& tools)
        : GsettingsDesktop(tools, { Id::Gnome, "GNOME", kSchema, "picture-uri", true, 32 })
    {
    }

protected:
    std::string PictureValue() override
    {
        const std::string light = GsettingsDesktop::PictureValue();
        if (light.empty()
            || UnquoteGVariant(Get("org.gnome.desktop.interface", "color-scheme")) != "prefer-dark")
            return light;
        const std::string dark = Get(kSchema, "picture-uri-dark");
        return UnquoteGVariant(dark).empty() ? light : dark;
    }
    // Older versions lack the dark key, which is fine.
    void PictureSet(const std::string& value) override { Set(kSchema, "picture-uri-dark", value); }
};

} // namespace

std::unique_ptr<DesktopKind> MakeGnomeDesktop(DesktopTools& tools)
{
    return std::make_unique<GnomeDesktop>(tools);
}

} // namespace platform
