// corkpane-tool: the program's modules from the command line.
//
// Two executables share this file. corkpane-tool-full holds every command.
// corkpane-tool holds the commands that need the codec only (convert, guess,
// codec), so that they start without loading Qt and the rest, and hands any
// other command line to corkpane-tool-full beside it.
#include "CommandRegistry.h"
#include "DescriptorBuffer.h"
#include "MessageBuffer.h"
#include "platform/Locale.h"

#include <cstdlib>
#include <iostream>

#ifndef CORKPANE_TOOL_FULL
#include "platform/FileIo.h"
#include "platform/SystemErrorText.h"
#include "tool/Texts.h"

#include <cerrno>
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

int HandOver(int argc, char** argv, std::ostream& err)
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
    const int error = errno;
    err << tool::texts::kCannotRunBefore << platform::PathText(path) << tool::texts::kCannotRunAfter
        << platform::SystemErrorText(error) << '\n';
    return tool::kExitFailure;
}

} // namespace
#endif

int main(int argc, char** argv)
{
    // Text is bytes (Shift_JIS): no locale conversion, no newline mangling,
    // except for the messages on standard error, which are written in the
    // encoding of the user's locale.
    std::ios::sync_with_stdio(false);
    tool::MessageBuffer messages(*std::cerr.rdbuf(), tool::EncodingOfLocale(platform::LocaleOf("LC_CTYPE")));
    std::ostream err(&messages);
    err.setf(std::ios::unitbuf);
#ifndef CORKPANE_TOOL_FULL
    if (argc < 2 || !tool::CommandRegistry::Instance().Has(argv[1]))
        return HandOver(argc, argv, err);
#endif
    tool::DescriptorBuffer input(0, tool::DescriptorBuffer::kRead);
    tool::DescriptorBuffer output(1, tool::DescriptorBuffer::kWrite);
    std::istream in(&input);
    std::ostream out(&output);
    tool::Args args(argv + 1, argv + argc);
    tool::Io io { in, out, err };
    return tool::CommandRegistry::Instance().Run(args, io);
}
