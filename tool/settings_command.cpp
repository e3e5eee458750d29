// corkpane-tool settings roundtrip|show: the settings and memo files of the
// program's folder (or --dir), as the window loads and saves them.
#include "CommandRegistry.h"
#include "FilesFolder.h"
#include "app/FileError.h"
#include "app/SettingsKey.h"
#include "app/SettingsStore.h"

#include <iostream>
#include <string>

namespace {

int run(const tool::Args& given, tool::Io& io)
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
    try {
        app::Settings settings;
        std::string memo;
        app::LoadSettings(folder, settings, memo, message);
        if (args[0] == "roundtrip") {
            // A start and a close without any edit in between.
            app::SaveSettings(folder, settings, memo, message);
        } else {
            for (const app::SettingsKey& key : app::SettingsKey::all())
                io.out << key.control << '=' << key.shown(settings) << '\n';
        }
    } catch (const app::FileError& error) {
        io.err << error.what() << '\n';
        return tool::kExitFailure;
    }
    return tool::kExitOk;
}

const tool::Registration reg { "settings", "settings roundtrip|show [--dir DIR]  (corkpane.ini and memo.txt)",
    &run };

} // namespace
