#pragma once

// The folder the file-using subcommands (draw, receive, settings) read and
// write corkpane.ini, memo.txt, schedule.txt and kabegami.bmp in: the one
// given by --dir, or else the folder the program itself would use (the
// current directory for a copy run from a writable folder, the per-user
// folder for an installed program).

#include "CommandRegistry.h"
#include "platform/FileFolders.h"

#include <filesystem>
#include <string>

namespace tool {

// Takes "--dir DIR" out of args. Returns false (with error set) when the
// option has no value.
inline bool TakeDirOption(Args& args, std::filesystem::path& folder, std::string& error)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] != "--dir")
            continue;
        if (i + 1 >= args.size() || args[i + 1].empty()) {
            error = "--dir needs a folder";
            return false;
        }
        folder = args[i + 1];
        args.erase(
            args.begin() + static_cast<std::ptrdiff_t>(i), args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
        return true;
    }
    const platform::FileFolders folders
        = platform::ChooseFileFolders(platform::RunningProgramPath().parent_path());
    platform::PrepareFileFolders(folders);
    folder = folders.files.empty() ? std::filesystem::path(".") : folders.files;
    return true;
}

} // namespace tool
