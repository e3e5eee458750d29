#include "CommandRegistry.h"

#include "platform/SystemErrorText.h"
#include "platform/UserError.h"

#include <cerrno>
#include <new>
#include <ostream>

namespace tool {

CommandRegistry& CommandRegistry::Instance()
{
    static CommandRegistry registry;
    return registry;
}

void CommandRegistry::Add(const std::string& name, const std::string& synopsis, Command command)
{
    commands_[name] = Entry { synopsis, std::move(command) };
}

int CommandRegistry::Run(const Args& argv, Io& io) const
{
    if (argv.empty()) {
        PrintUsage(io.err);
        return kExitUsage;
    }
    auto it = commands_.find(argv.front());
    if (it == commands_.end()) {
        io.err << "corkpane-tool: unknown command '" << argv.front() << "'\n";
        return kExitUsage;
    }
    try {
        return it->second.command(Args(argv.begin() + 1, argv.end()), io);
    } catch (const platform::UserError& error) {
        // Every module's error derives from this one: a command that only
        // reports a failure leaves it to this place.
        io.err << error.what() << '\n';
        return kExitFailure;
    } catch (const std::bad_alloc&) {
        // Whatever a command was doing, running out of memory ends it with
        // a message rather than an abort.
        io.err << platform::SystemErrorText(ENOMEM) << '\n';
        return kExitFailure;
    }
}

void CommandRegistry::PrintUsage(std::ostream& out) const
{
    out << "usage: corkpane-tool COMMAND [ARG...]\n";
    for (const auto& [name, entry] : commands_)
        out << "  " << entry.synopsis << '\n';
}

} // namespace tool
