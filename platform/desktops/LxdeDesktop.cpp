// LXDE: pcmanfm's desktop, its desktop-items-0.conf in [*].
#include "platform/desktops/PcmanfmDesktop.h"

namespace platform {
namespace {

constexpr ModeName kModes[] = { { "color", Placement::None }, { "stretch", Placement::Stretched },
    { "fit", Placement::Scaled }, { "crop", Placement::Zoom }, { "center", Placement::Centered },
    { "tile", Placement::Wallpaper }, { "screen", Placement::Spanned } };

} // namespace

std::unique_ptr<DesktopKind> MakeLxdeDesktop(DesktopTools& tools)
{
    return std::make_unique<PcmanfmDesktop>(tools,
        PcmanfmDesktop::Keys { .id = DesktopKind::Id::Lxde,
            .name = "LXDE",
            .program = "pcmanfm",
            .profile = "LXDE",
            .file = "desktop-items-0.conf",
            .section = "*",
            .pictureKey = "wallpaper",
            .modeKey = "wallpaper_mode",
            .colourKey = "desktop_bg",
            .modes = kModes,
            .zoomMode = "crop",
            .spannedMode = "screen" });
}

} // namespace platform
