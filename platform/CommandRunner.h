#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace platform {

struct CommandResult {
    int exitCode = -1; // 127: the program was not found; 124: it ran out of time
    std::string output; // standard output
    std::string errorOutput {}; // standard error
};

// Runs a desktop's command-line tools. Tests put a fake in its place.
class CommandRunner {
public:
    virtual ~CommandRunner() = default;
    // argv[0] is looked up in PATH; no shell is involved.
    virtual CommandResult Run(const std::vector<std::string>& argv) = 0;
};

// Runs real processes, capturing standard output and standard error. A
// process still running after the time limit is killed: a desktop tool that
// waits for something that never comes (pcmanfm without its desktop
// process stays running as that process) must not hold the draw.
class ProcessRunner : public CommandRunner {
public:
    static constexpr std::chrono::milliseconds kTimeLimit { 30000 };

    explicit ProcessRunner(std::chrono::milliseconds timeLimit = kTimeLimit)
        : timeLimit_(timeLimit)
    {
    }
    CommandResult Run(const std::vector<std::string>& argv) override;

private:
    std::chrono::milliseconds timeLimit_;
};

} // namespace platform
