#pragma once

// One run at a time on the program's files (platform::FolderLock): how
// long each kind of run waits for another one, and what it says.

#include "app/PasswordScrambler.h"
#include "platform/FolderLock.h"

#include <chrono>
#include <filesystem>
#include <string>

namespace app {

// How long a run waits for another run on the same files: longer than a
// logon run or a redraw usually takes, short enough for someone who is
// starting the window.
inline constexpr std::chrono::seconds kRunLockWait { 30 };

// For a run that reads the files and writes them back (the window from its
// start to its close, the logon run, corkpane-tool's writing commands):
// takes the lock on folder. When another run holds it, note receives the
// waiting message and the run waits up to wait; when the other run still
// holds it then, platform::UserError is thrown with the message that says
// so, before this run has read or written anything.
platform::FolderLock LockFilesForRun(const std::filesystem::path& folder, const MessageCallback& note,
    std::chrono::milliseconds wait = kRunLockWait);

// What the daily redraw says when it finds another run on folder's files
// and leaves the day's draw to it.
std::string RedrawSkippedMessage(const std::filesystem::path& folder);

} // namespace app
