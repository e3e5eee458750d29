// corkpane-tool settings roundtrip|show: the settings and memo files of the
// current directory, as the window loads and saves them.
#include "CommandRegistry.h"
#include "app/FileError.h"
#include "app/SettingsKey.h"
#include "app/SettingsStore.h"

#include <iostream>
#include <string>

namespace {

int run(const tool::Args& args, tool::Io& io)
{
    if (args.size() != 1 || (args[0] != "roundtrip" && args[0] != "show")) {
        io.err << "usage: corkpane-tool settings roundtrip|show\n";
        return tool::kExitUsage;
    }
    const app::MessageCallback message = [&io](const std::string& text) { io.err << text << '\n'; };
    try {
        app::Settings settings;
        std::string memo;
        app::LoadSettings(".", settings, memo, message);
        if (args[0] == "roundtrip") {
            // A start and a close without any edit in between.
            app::SaveSettings(".", settings, memo, message);
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

const tool::Registration reg { "settings", "settings roundtrip|show  (corkpane.ini and memo.txt here)",
    &run };

} // namespace
