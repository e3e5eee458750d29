// MATE: GNOME 2's keys, the picture as a plain path.
#include "platform/desktops/GsettingsDesktop.h"

namespace platform {

std::unique_ptr<DesktopKind> MakeMateDesktop(DesktopTools& tools)
{
    return std::make_unique<GsettingsDesktop>(tools,
        GsettingsDesktop::Keys {
            DesktopKind::Id::Mate, "MATE", "org.mate.background", "picture-filename", false, 0 });
}

} // namespace platform
