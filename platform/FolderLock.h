#pragma once

// One run at a time on the program's files. Every run that reads the memo,
// settings or schedule and writes them back (the window from its start to
// its close, the logon run, the daily redraw and corkpane-tool's writing
// commands) holds an advisory lock on the folder the files live in, so that
// a second run cannot read the files before the first has saved them and
// then save over what the first one added.
//
// On POSIX systems the lock is flock() on the folder itself: no lock file
// is left behind, and the system drops the lock when the holding process
// ends, however it ends. A file system that keeps no such locks (some
// network file systems) is not an error: the runs then go on unlocked, as
// before. On Windows the lock is a lock file ".corkpane.lock" in the folder.

#include <chrono>
#include <filesystem>
#include <optional>

namespace platform {

class FolderLock {
public:
    // Takes the lock on folder, trying again until wait has passed (a zero
    // wait tries once). Nothing when another run still holds it then. A
    // folder that cannot be opened throws FileIoError with the cannot-open
    // message.
    static std::optional<FolderLock> Take(
        const std::filesystem::path& folder, std::chrono::milliseconds wait);

    FolderLock(FolderLock&& other) noexcept;
    FolderLock& operator=(FolderLock&& other) noexcept;
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    // Releases the lock.
    ~FolderLock();

private:
    FolderLock() = default;

    int fd_ = -1;
    void* handle_ = nullptr; // the Windows lock file's handle
};

} // namespace platform
