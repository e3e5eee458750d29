#pragma once

#include "platform/UserFolders.h"

#include <filesystem>
#include <functional>

namespace platform {

// Where the program keeps corkpane.ini, memo.txt, schedule.txt and
// kabegami.bmp.
//
// A copy run from a folder it may write to keeps its files as it always has:
// settings, memo and wallpaper in the working directory, the schedule beside
// the executable. A program installed system-wide (its folder not writable,
// or under /usr) cannot write there, so all four files live in one per-user
// folder, the user's data folder's "corkpane" (by default
// ~/.local/share/corkpane; see UserFolders).
struct FileFolders {
    // corkpane.ini, memo.txt and kabegami.bmp; empty for the current
    // working directory.
    std::filesystem::path files;
    // schedule.txt.
    std::filesystem::path schedule;
    // The folder shortcuts and timers start the program in.
    std::filesystem::path startIn;
    // True when the per-user folder is in use.
    bool perUser = false;
};

// What the choice looks at, injectable for tests.
struct FolderEnvironment {
    // An environment variable; empty when unset.
    EnvironmentLookup variable;
    // True when the program may create files in the folder.
    std::function<bool(const std::filesystem::path&)> writable;
    // The user's home folder when HOME is unset (the password database).
    AccountHomeLookup home;
};

// The running process's environment, file permissions and password entry.
FolderEnvironment SystemFolderEnvironment();

// The user's data folder's "corkpane" (UserFolders::OwnData); empty when
// there is no data folder.
std::filesystem::path PerUserFolder(const FolderEnvironment& environment);

// True for a program folder the program must not keep its files in.
bool IsInstalledFolder(const std::filesystem::path& programFolder, const FolderEnvironment& environment);

// The rule above for a program in programFolder. An installed program
// without any per-user folder (no home) falls back to the working directory.
FileFolders ChooseFileFolders(const std::filesystem::path& programFolder,
    const FolderEnvironment& environment = SystemFolderEnvironment());

// Creates the per-user folder when it is in use; false when that failed.
bool PrepareFileFolders(const FileFolders& folders);

// The running executable's own path; empty when it cannot be found.
std::filesystem::path RunningProgramPath();

} // namespace platform
