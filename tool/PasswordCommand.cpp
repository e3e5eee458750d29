// corkpane-tool password scramble|unscramble: standard input to standard
// output, bytes unchanged apart from the conversion itself.
// corkpane-tool password set [--dir DIR]: one line of standard input becomes
// the mail account's password, kept where the window keeps it.
#include "CommandRegistry.h"
#include "FilesFolder.h"
#include "app/FilesLock.h"
#include "app/PasswordScrambler.h"
#include "app/SettingsStore.h"
#include "platform/SecretStore.h"
#include "tool/Texts.h"

#include <iostream>
#include <iterator>
#include <string>

namespace {

constexpr char kUsage[] = "usage: corkpane-tool password scramble|unscramble < input > output\n"
                          "       corkpane-tool password set [--dir DIR] < line\n";

int RunSet(tool::Args args, tool::Io& io)
{
    std::filesystem::path folder;
    std::string dirError;
    if (!tool::TakeDirOption(args, folder, dirError) || args.size() != 1) {
        io.err << kUsage;
        return tool::kExitUsage;
    }
    // One line, its end (LF or CR LF) not part of the password; a terminal
    // gives UTF-8, which is what the window keeps too.
    std::string password;
    std::getline(io.in, password);
    if (password.ends_with('\r'))
        password.pop_back();
    const app::MessageCallback message = [&io](const std::string& text) { io.err << text << '\n'; };
    const platform::FolderLock lock = app::LockFilesForRun(folder, message);
    const app::PasswordPlace place
        = app::StorePassword(folder, password, true, platform::SecretStore::kInteractiveTimeLimit);
    // Said on standard error, like every other message, in the terminal's
    // encoding.
    io.err << (place == app::PasswordPlace::kKeyring ? tool::texts::kPasswordInKeyring
                                                     : tool::texts::kPasswordInFile)
           << '\n';
    return tool::kExitOk;
}

int Run(const tool::Args& args, tool::Io& io)
{
    if (!args.empty() && args[0] == "set")
        return RunSet(args, io);
    if (args.size() != 1 || (args[0] != "scramble" && args[0] != "unscramble")) {
        io.err << kUsage;
        return tool::kExitUsage;
    }
    const std::string input((std::istreambuf_iterator<char>(io.in)), std::istreambuf_iterator<char>());
    // The window shows these in a message box; here they go to standard error.
    const app::MessageCallback message = [&io](const std::string& text) { io.err << text << '\n'; };
    io.out << (args[0] == "scramble" ? app::ScramblePassword(input, message)
                                     : app::UnscramblePassword(input, message));
    return tool::kExitOk;
}

const tool::Registration reg { "password",
    "password scramble|unscramble  (stdin -> stdout)\n"
    "  password set [--dir DIR]  (one line of stdin: the mail password, kept in the keyring or corkpane.ini)",
    &Run };

} // namespace
