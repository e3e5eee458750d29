#include "CommandRegistry.h"

#include <new>
#include <ostream>

namespace tool {

CommandRegistry& CommandRegistry::instance()
{
    static CommandRegistry registry;
    return registry;
}

void CommandRegistry::add(const std::string& name, const std::string& synopsis, Command command)
{
    commands_[name] = Entry { synopsis, std::move(command) };
}

int CommandRegistry::run(const Args& argv, Io& io) const
{
    if (argv.empty()) {
        printUsage(io.err);
        return kExitUsage;
    }
    auto it = commands_.find(argv.front());
    if (it == commands_.end()) {
        io.err << "corkpane-tool: unknown command '" << argv.front() << "'\n";
        return kExitUsage;
    }
    try {
        return it->second.command(Args(argv.begin() + 1, argv.end()), io);
    } catch (const std::bad_alloc&) {
        // Whatever a command was doing, running out of memory ends it with
        // a message rather than an abort.
        io.err
            << "\x83\x81\x83\x82\x83\x8a\x82\xaa\x91\xab\x82\xe8\x82\xdc\x82\xb9\x82\xf1\n"; // メモリが足りません
        return kExitFailure;
    }
}

void CommandRegistry::printUsage(std::ostream& out) const
{
    out << "usage: corkpane-tool COMMAND [ARG...]\n";
    for (const auto& [name, entry] : commands_)
        out << "  " << entry.synopsis << '\n';
}

} // namespace tool
