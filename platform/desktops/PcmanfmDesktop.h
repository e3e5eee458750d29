#pragma once

#include "platform/desktops/DesktopKind.h"
#include "platform/desktops/DesktopText.h"

#include <span>
#include <string>

namespace platform {

// LXQt and LXDE: their desktop process (pcmanfm-qt or pcmanfm, run with
// --desktop) draws the background and keeps it in its profile's settings
// file; the same program, run again, tells that process to change it.
class PcmanfmDesktop : public DesktopKind {
public:
    struct Keys {
        Id id;
        const char* name;
        const char* program;
        // The session's usual profile, when no process can be asked.
        const char* profile;
        const char* file; // the settings file in the profile's folder
        const char* section;
        const char* pictureKey;
        const char* modeKey;
        const char* colourKey;
        std::span<const ModeName> modes;
        // --wallpaper-mode for one picture per monitor, and over all
        // monitors (null: the same).
        const char* zoomMode;
        const char* spannedMode;
    };

    PcmanfmDesktop(DesktopTools& tools, Keys keys);

    Id Kind() const override { return keys_.id; }
    const char* Name() const override { return keys_.name; }
    std::optional<ShownPicture> Read() override;
    Installation Install(const std::string& copy, bool spanned) override;
    std::uint32_t Colour() override;

private:
    // The profile of this user's desktop process ("--profile=lxqt");
    // nullopt when no such process runs.
    std::optional<std::string> RunningProfile();
    std::string Settings(const std::string& profile) const;

    Keys keys_;
};

} // namespace platform
