#pragma once

#include <functional>
#include <iosfwd>
#include <map>
#include <string>
#include <vector>

namespace tool {

using Args = std::vector<std::string>;

// The streams a subcommand talks through; main binds them to the process's
// standard streams in binary mode, tests bind them to string streams.
struct Io {
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
};

// Exit statuses shared by every subcommand.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// A subcommand gets the arguments after its own name.
using Command = std::function<int(const Args& args, Io& io)>;

class CommandRegistry {
public:
    static CommandRegistry& instance();

    void add(const std::string& name, const std::string& synopsis, Command command);
    // Runs argv[1..] (argv[0] being the subcommand's name); unknown names give
    // a usage error.
    int run(const Args& argv, Io& io) const;
    bool has(const std::string& name) const { return commands_.count(name) != 0; }
    void printUsage(std::ostream& out) const;

private:
    struct Entry {
        std::string synopsis;
        Command command;
    };
    std::map<std::string, Entry> commands_;
};

// Static registration: `static const tool::Registration reg{"codec", "...", run};`
struct Registration {
    Registration(const std::string& name, const std::string& synopsis, Command command)
    {
        CommandRegistry::instance().add(name, synopsis, std::move(command));
    }
};

} // namespace tool
