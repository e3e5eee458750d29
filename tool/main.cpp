// corkpane-tool: the program's modules from the command line.
//
// Two executables share this file. corkpane-tool-full holds every command.
// corkpane-tool holds the commands that need the codec only (convert, guess,
// codec), so that they start without loading Qt and the rest, and hands any
// other command line to corkpane-tool-full beside it.
#include "CommandRegistry.h"

#include <cstdio>
#include <iostream>

#ifndef CORKPANE_TOOL_FULL
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>
#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

namespace {

// The full tool: beside this executable, under the name it was built with.
std::filesystem::path FullToolPath(const char* argv0)
{
    std::error_code error;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error || self.empty())
        self = std::filesystem::absolute(argv0, error);
    return self.parent_path() / CORKPANE_TOOL_FULL_NAME;
}

int HandOver(int argc, char** argv)
{
    const std::string path = FullToolPath(argv[0]).string();
    std::vector<char*> args { const_cast<char*>(path.c_str()) };
    args.insert(args.end(), argv + 1, argv + argc);
    args.push_back(nullptr);
#ifdef _WIN32
    const intptr_t status = _spawnv(_P_WAIT, path.c_str(), args.data());
    if (status != -1)
        return static_cast<int>(status);
#else
    execv(path.c_str(), args.data());
#endif
    std::fprintf(stderr, "corkpane-tool: cannot run %s: %s\n", path.c_str(), std::strerror(errno));
    return tool::kExitFailure;
}

} // namespace
#endif

int main(int argc, char** argv)
{
#ifndef CORKPANE_TOOL_FULL
    if (argc < 2 || !tool::CommandRegistry::instance().has(argv[1]))
        return HandOver(argc, argv);
#endif
    // Text is bytes (Shift_JIS): no locale conversion, no newline mangling.
    std::ios::sync_with_stdio(false);
    tool::Args args(argv + 1, argv + argc);
    tool::Io io { std::cin, std::cout, std::cerr };
    const int status = tool::CommandRegistry::instance().run(args, io);
    std::cout.flush();
    return status;
}
