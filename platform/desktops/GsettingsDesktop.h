#pragma once

#include "platform/desktops/DesktopKind.h"

#include <string>

namespace platform {

// The GNOME family (GNOME, Cinnamon, MATE): the picture and its placement
// ("picture-options", GNOME's names) in a gsettings schema of the desktop.
class GsettingsDesktop : public DesktopKind {
public:
    struct Keys {
        Id id;
        const char* name;
        const char* schema;
        const char* pictureKey;
        // Whether the picture is kept as a file URI rather than a path.
        bool uri;
        int topBar;
    };

    GsettingsDesktop(DesktopTools& tools, Keys keys);

    Id Kind() const override { return keys_.id; }
    const char* Name() const override { return keys_.name; }
    std::optional<ShownPicture> Read() override;
    Installation Install(const std::string& copy, bool spanned) override;
    std::uint32_t Colour() override;
    int TopBar() const override { return keys_.topBar; }

protected:
    // The picture the desktop shows, as gsettings prints it; empty when
    // gsettings failed.
    virtual std::string PictureValue();
    // Called with the new picture's value once the picture key is set.
    virtual void PictureSet(const std::string&) { }

    std::string Get(const std::string& schema, const std::string& key);
    bool Set(const std::string& schema, const std::string& key, const std::string& value);

    Keys keys_;
};

} // namespace platform
