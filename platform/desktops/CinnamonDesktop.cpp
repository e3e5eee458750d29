// Cinnamon: GNOME's keys in a schema of its own, the picture as a URI.
#include "platform/desktops/GsettingsDesktop.h"

namespace platform {

std::unique_ptr<DesktopKind> MakeCinnamonDesktop(DesktopTools& tools)
{
    return std::make_unique<GsettingsDesktop>(tools,
        GsettingsDesktop::Keys { DesktopKind::Id::Cinnamon, "Cinnamon", "org.cinnamon.desktop.background",
            "picture-uri", true, 0 });
}

} // namespace platform
