// corkpane-tool settings roundtrip|show: the settings and memo files of the
// program's folder (or --dir), as the window loads and saves them.
#include "CommandRegistry.h"
#include "FilesFolder.h"
#include "app/FilesLock.h"
#include "app/SettingsKey.h"
#include "app/SettingsStore.h"
#include "platform/FileIo.h"

#include <iostream>
#include <optional>
#include <string>

namespace {

int Run(const tool::Args& given, tool::Io& io)
{
    tool::Args args = given;
    std::filesystem::path folder;
    std::string dirError;
    if (!tool::TakeDirOption(args, folder, dirError) || args.size() != 1
        || (args[0] != "roundtrip" && args[0] != "show")) {
        io.err << "usage: corkpane-tool settings roundtrip|show [--dir DIR]\n";
        return tool::kExitUsage;
    }
    const app::MessageCallback message = [&io](const std::string& text) { io.err << text << '\n'; };
    app::Settings settings;
    std::string memo;
    if (args[0] == "roundtrip") {
        // A start and a close without any edit in between, as the window
        // makes them: a file the start could not read is reported and left
        // as it is, the other one is saved.
        const platform::FolderLock lock = app::LockFilesForRun(folder, message);
        app::UnreadFiles unread;
        std::optional<platform::FileIoError> failure;
        try {
            app::LoadSettings(folder, settings, memo, message, &unread);
        } catch (const platform::FileIoError& error) {
            failure = error;
        }
        app::SaveSettings(folder, settings, memo, message, unread);
        if (failure)
            throw *failure;
    } else {
        app::LoadSettings(folder, settings, memo, message);
        for (const app::SettingsKey& key : app::SettingsKey::All())
            io.out << key.control << '=' << key.Shown(settings) << '\n';
    }
    return tool::kExitOk;
}

const tool::Registration reg { "settings", "settings roundtrip|show [--dir DIR]  (corkpane.ini and memo.txt)",
    &Run };

} // namespace
