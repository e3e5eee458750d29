#include "CommandRegistry.h"

#include "platform/SystemErrorText.h"

#include <cerrno>
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
        io.err << platform::SystemErrorText(ENOMEM) << '\n';
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
