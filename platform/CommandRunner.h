#pragma once

#include <string>
#include <vector>

namespace platform {

struct CommandResult {
    int exitCode = -1; // 127: the program was not found
    std::string output; // standard output
};

// Runs a desktop's command-line tools. Tests put a fake in its place.
class CommandRunner {
public:
    virtual ~CommandRunner() = default;
    // argv[0] is looked up in PATH; no shell is involved.
    virtual CommandResult Run(const std::vector<std::string>& argv) = 0;
};

// Runs real processes, capturing standard output; standard error is dropped.
class ProcessRunner : public CommandRunner {
public:
    CommandResult Run(const std::vector<std::string>& argv) override;
};

} // namespace platform
