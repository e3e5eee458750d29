#pragma once

#include "platform/CommandRunner.h"
#include "platform/Desktop.h"
#include "platform/WallpaperMemory.h"

#include <functional>
#include <string>

namespace platform {

// The running Linux desktop, through its own tools: GNOME and Cinnamon
// (gsettings), MATE (gsettings), KDE Plasma (its applet configuration and
// plasma-apply-wallpaperimage), XFCE (xfconf-query), sway (swaymsg) and a
// plain X11 session (feh). The picture and placement are mapped onto the
// three wallpaper values the drawing understands.
//
// Desktops keep a file's path and do not notice when the file changes, so
// every installation copies the drawn bitmap to a new PNG in the user's
// cache folder (removing the earlier copies). Installing changes the user's
// own settings; the user's own picture is therefore remembered whenever the
// desktop names something other than our output, and used from then on.
class LinuxDesktop : public Desktop {
public:
    enum class Kind { Gnome, Cinnamon, Mate, Kde, Xfce, Sway, X11, Unknown };

    // Reads an environment variable; empty when unset.
    using Environment = std::function<std::string(const std::string&)>;

    LinuxDesktop(CommandRunner& runner, Environment environment);

    Kind DesktopKind() const { return kind_; }
    static Kind DetectKind(const Environment& environment);

    WallpaperSettings ReadWallpaperSettings() override;
    ScreenSize PrimaryScreenSize() override;
    int PixelsPerInch() override;
    std::uint32_t DesktopColor() override;
    bool InstallWallpaper(const std::string& path) override;

    // What the desktop itself names right now, before the memory is applied.
    WallpaperSettings ReadDesktopSettings();
    // Folder of the installed copies, and the memory file.
    const std::string& CacheFolder() const { return cacheFolder_; }
    const std::string& MemoryPath() const { return memory_.Path(); }
    // True for a path that is one of our own installed copies.
    bool IsOurOutput(const std::string& path) const;

    static ScreenSize ScreenFromXrandr(const std::string& output);
    static std::uint32_t ColorFromText(const std::string& text, std::uint32_t fallback);
    static std::string UnquoteGVariant(const std::string& text);
    static std::string QuoteGVariant(const std::string& text);
    static std::string FileUriToPath(const std::string& uri);
    static std::string PathToFileUri(const std::string& path);

private:
    std::string Gsettings(const std::string& schema, const std::string& key);
    bool GsettingsSet(const std::string& schema, const std::string& key, const std::string& value);
    WallpaperSettings ReadGnomeLike(const std::string& schema, const std::string& pictureKey, bool uri);
    WallpaperSettings ReadKde();
    WallpaperSettings ReadXfce();
    WallpaperSettings ReadFeh();
    std::string MakeCopy(const std::string& bitmap);

    CommandRunner& runner_;
    Environment env_;
    Kind kind_;
    std::string home_;
    std::string cacheFolder_;
    WallpaperMemory memory_;
};

} // namespace platform
