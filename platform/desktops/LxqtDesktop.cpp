// LXQt: pcmanfm-qt's desktop, its settings.conf in [Desktop].
#include "platform/desktops/PcmanfmDesktop.h"

namespace platform {
namespace {

constexpr ModeName kModes[] = { { "none", Placement::None }, { "color", Placement::None },
    { "stretch", Placement::Stretched }, { "fit", Placement::Scaled }, { "center", Placement::Centered },
    { "tile", Placement::Wallpaper }, { "zoom", Placement::Zoom } };

} // namespace

std::unique_ptr<DesktopKind> MakeLxqtDesktop(DesktopTools& tools)
{
    // No mode spans monitors.
    return std::make_unique<PcmanfmDesktop>(tools,
        PcmanfmDesktop::Keys { .id = DesktopKind::Id::Lxqt,
            .name = "LXQt",
            .program = "pcmanfm-qt",
            .profile = "lxqt",
            .file = "settings.conf",
            .section = "Desktop",
            .pictureKey = "Wallpaper",
            .modeKey = "WallpaperMode",
            .colourKey = "BgColor",
            .modes = kModes,
            .zoomMode = "zoom",
            .spannedMode = nullptr });
}

} // namespace platform
