// corkpane-tool password scramble|unscramble: standard input to standard
// output, bytes unchanged apart from the conversion itself.
#include "CommandRegistry.h"
#include "app/PasswordScrambler.h"

#include <iostream>
#include <iterator>
#include <string>

namespace {

int Run(const tool::Args& args, tool::Io& io)
{
    if (args.size() != 1 || (args[0] != "scramble" && args[0] != "unscramble")) {
        io.err << "usage: corkpane-tool password scramble|unscramble < input > output\n";
        return tool::kExitUsage;
    }
    const std::string input((std::istreambuf_iterator<char>(io.in)), std::istreambuf_iterator<char>());
    // The window shows these in a message box; here they go to standard error.
    const app::MessageCallback message = [&io](const std::string& text) { io.err << text << '\n'; };
    io.out << (args[0] == "scramble" ? app::ScramblePassword(input, message)
                                     : app::UnscramblePassword(input, message));
    return tool::kExitOk;
}

const tool::Registration reg { "password", "password scramble|unscramble  (stdin -> stdout)", &Run };

} // namespace
