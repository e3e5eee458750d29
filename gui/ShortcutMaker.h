#pragma once

// The program's two shortcuts: one on the user's desktop for an ordinary
// start, and one among the programs started at logon, with "/su", for the
// unattended run. Both start the executable in the folder its settings,
// memo and wallpaper files live in: its own folder, or the per-user folder
// of an installed program.
//
// On Linux a shortcut is a desktop entry "<name>.desktop" in the XDG desktop
// folder and in the XDG autostart folder; on Windows a shell link
// "<name>.lnk" on the desktop and in the Startup folder. Nothing here needs
// the window, so it is tested on its own.

#include <filesystem>
#include <functional>
#include <string>

namespace gui {

class ShortcutMaker {
public:
    enum Kind { kDesktop = 0, kStartup = 1 };

    // Receives the failure messages, each shown in a simple OK box.
    using MessageCallback = std::function<void(const std::string& text)>;

    // What became of one shortcut, for the report at the end: the file it
    // was written to, or why it was not (Shift_JIS, naming the file or
    // folder and the system's reason).
    struct Result {
        std::filesystem::path file;
        bool made = false;
        std::string reason;
    };

    // startIn is the working directory the shortcuts give; empty for the
    // executable's own folder.
    ShortcutMaker(std::filesystem::path program, MessageCallback message, std::filesystem::path startIn = {});

    // Creates (or replaces) one shortcut of the given kind; failures are
    // reported through the message callback and in the result, never
    // thrown.
    Result MakeShortCut(const std::string& name, int kind);

    // The folder for a kind of shortcut; empty when it cannot be found. On
    // Linux an unreadable user-dirs.dirs throws platform::FileIoError.
    static std::filesystem::path GetSpecialFolderPath(int kind);

    // The file name a shortcut gets in its folder.
    static std::string LinkFileName(const std::string& name);

    // The text of a desktop entry (UTF-8) that starts target with arguments
    // in workingDirectory; an entry that passes "/su" says it is the run at
    // logon, in English and Japanese.
    static std::string DesktopEntry(const std::filesystem::path& target, const std::string& arguments,
        const std::filesystem::path& workingDirectory, const std::string& description);

    // Writes one shortcut file; the failure messages (the three fixed ones,
    // or the file unit's for a file that cannot be written) go through the
    // callback and later steps still run, as far as they can. Returns the
    // reason the file was not written; empty when it was.
    std::string CreateLink(const std::filesystem::path& target, const std::string& arguments,
        const std::filesystem::path& linkPath, const std::filesystem::path& workingDirectory,
        const std::string& description);

private:
    std::filesystem::path program_;
    MessageCallback message_;
    std::filesystem::path startIn_;
};

} // namespace gui
