#pragma once

// Running other programs: the desktops' command-line tools, systemctl, the
// user's token helper. One runner for all of them: no shell, standard
// input from the caller (empty by default), standard output and error
// kept up to a limit, a deadline, and the program's whole process group
// ended when the run is over.

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct CommandResult {
    int exitCode = -1; // 127: the program was not found; 124: it ran out of time; 128 + n: signal n
    std::string output; // standard output
    std::string errorOutput {}; // standard error
    // The signal that ended the program, 0 when it exited.
    int signal = 0;
    // Why the program could not be started (an errno value), 0 when it was.
    int startError = 0;
};

struct RunOptions {
    std::chrono::milliseconds timeLimit { 30000 };
    // Standard error dropped rather than kept: what a helper says there may
    // hold a secret.
    bool dropErrorOutput = false;
    // Each output is kept up to this many bytes; the rest is read and
    // dropped so the program never waits on a full pipe.
    std::size_t outputLimit = std::size_t { 16 } << 20;
    // Given to the program on its standard input, which then ends.
    std::string_view input {};
    // Whether processes the program started and that left its group (a
    // daemon's setsid) are ended too: they come to this process as orphans
    // while the program runs. Not for programs that may start services
    // meant to stay (a message bus started by this process hands its
    // services to it the same way).
    bool endOrphans = false;
    // Limits the program runs under (0: none): seconds of processor time and
    // bytes of address space.
    unsigned cpuSeconds = 0;
    std::size_t addressSpaceBytes = 0;
};

// Runs a command; tests put a fake in its place.
class CommandRunner {
public:
    virtual ~CommandRunner() = default;
    // argv[0] is looked up in PATH; no shell is involved.
    virtual CommandResult Run(const std::vector<std::string>& argv) = 0;
};

// Runs real processes. The program runs in a process group of its own and
// is ended with it if this process dies (the child asks the kernel to be
// killed with its parent). The run is over when the program has exited and
// its output has been read, or, when something it left behind keeps the
// output open, a moment after it exited; then every process of its group
// is killed (with endOrphans, also those that left it). A program still
// running at the time limit is killed the same way (exit code 124).
class ProcessRunner : public CommandRunner {
public:
    static constexpr std::chrono::milliseconds kTimeLimit { 30000 };

    explicit ProcessRunner(std::chrono::milliseconds timeLimit = kTimeLimit)
    {
        options_.timeLimit = timeLimit;
    }
    explicit ProcessRunner(const RunOptions& options)
        : options_(options)
    {
    }
    CommandResult Run(const std::vector<std::string>& argv) override;

private:
    RunOptions options_;
};

// The words of a command line: blanks separate words; inside '…' every
// character stands for itself; inside "…" a backslash keeps a following "
// or \; elsewhere a backslash keeps the next character. An unclosed quote
// sets unclosed; the words are then not to be used.
std::vector<std::string> SplitCommandLine(std::string_view line, bool& unclosed);

// Kills the process group of the program a ProcessRunner is running, if
// any. Safe to call from a signal handler: a program ended by a signal
// calls it before it goes, so that no helper outlives it.
void EndRunningCommand() noexcept;

} // namespace platform
