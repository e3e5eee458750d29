#include "CommandRegistry.h"

#include "Arguments.h"
#include "DescriptorBuffer.h"
#include "platform/SystemErrorText.h"
#include "platform/UserError.h"
#include "tool/Texts.h"

#include <cerrno>
#include <istream>
#include <new>
#include <ostream>

namespace tool {
namespace {

// The reason a standard stream failed: its buffer's, when it knows it.
int StreamError(std::streambuf* buffer)
{
    const auto* descriptor = dynamic_cast<const DescriptorBuffer*>(buffer);
    return descriptor != nullptr && descriptor->Error() != 0 ? descriptor->Error() : EIO;
}

// A command whose input could not be read to its end, or whose output could
// not be written in full, has failed whatever it returned: what it printed
// is incomplete. Said once, with the system's reason.
int CheckStreams(Io& io, int status)
{
    const auto* input = dynamic_cast<const DescriptorBuffer*>(io.in.rdbuf());
    if (io.in.bad() || (input != nullptr && input->Error() != 0)) {
        io.err << texts::kStandardInputUnreadable << platform::SystemErrorText(StreamError(io.in.rdbuf()))
               << '\n';
        status = kExitFailure;
    }
    if (!io.out.flush()) {
        io.err << texts::kStandardOutputUnwritable << platform::SystemErrorText(StreamError(io.out.rdbuf()))
               << '\n';
        status = kExitFailure;
    }
    return status;
}

} // namespace

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
    // Asked for, the usage is the command's output and no error.
    if (argv.front() == "--help" || argv.front() == "-h") {
        PrintUsage(io.out);
        return CheckStreams(io, kExitOk);
    }
    auto it = commands_.find(argv.front());
    if (it == commands_.end()) {
        io.err << "corkpane-tool: unknown command '" << Shown(argv.front()) << "'\n";
        return kExitUsage;
    }
    int status = kExitFailure;
    try {
        status = it->second.command(Args(argv.begin() + 1, argv.end()), io);
    } catch (const platform::UserError& error) {
        // Every module's error derives from this one: a command that only
        // reports a failure leaves it to this place.
        io.err << error.what() << '\n';
    } catch (const std::bad_alloc&) {
        // Whatever a command was doing, running out of memory ends it with
        // a message rather than an abort.
        io.err << platform::SystemErrorText(ENOMEM) << '\n';
    }
    return CheckStreams(io, status);
}

void CommandRegistry::PrintUsage(std::ostream& out) const
{
    out << "usage: corkpane-tool COMMAND [ARG...]\n";
    for (const auto& [name, entry] : commands_)
        out << "  " << entry.synopsis << '\n';
}

} // namespace tool
