#include "platform/FolderLock.h"

#include "platform/FileIo.h"

#include <algorithm>
#include <cerrno>
#include <thread>
#include <utility>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace platform {
namespace {

// How often a waiting run tries again: short against a run's seconds, long
// enough to cost nothing while it waits.
constexpr std::chrono::milliseconds kRetryInterval { 50 };

// Asks tryOnce again until it answers true (the lock is held, or there is
// no lock to be had) or the wait is over; false when it is over.
template <typename Try> bool TryUntil(Try tryOnce, std::chrono::milliseconds wait)
{
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        if (tryOnce())
            return true;
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline)
            return false;
        std::this_thread::sleep_for(
            std::min<std::chrono::steady_clock::duration>(kRetryInterval, deadline - now));
    }
}

} // namespace

FolderLock::FolderLock(FolderLock&& other) noexcept
    : fd_(std::exchange(other.fd_, -1))
    , handle_(std::exchange(other.handle_, nullptr))
{
}

FolderLock& FolderLock::operator=(FolderLock&& other) noexcept
{
    if (this != &other) {
        FolderLock old(std::move(*this));
        fd_ = std::exchange(other.fd_, -1);
        handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
}

#ifndef _WIN32

std::optional<FolderLock> FolderLock::Take(
    const std::filesystem::path& folder, std::chrono::milliseconds wait)
{
    const std::filesystem::path place = folder.empty() ? std::filesystem::path(".") : folder;
    FolderLock lock;
    lock.fd_ = ::open(place.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (lock.fd_ < 0) {
        const int error = errno;
        throw FileIoError(CannotOpenMessage(place, FileErrorReason(error)), error);
    }
    const bool held = TryUntil(
        [&lock] {
            int result;
            do
                result = ::flock(lock.fd_, LOCK_EX | LOCK_NB);
            while (result != 0 && errno == EINTR);
            // No advisory locks on this file system: nothing to wait for.
            return result == 0 || errno != EWOULDBLOCK;
        },
        wait);
    if (!held)
        return std::nullopt;
    return lock;
}

FolderLock::~FolderLock()
{
    // Closing the only descriptor of the open folder releases the lock.
    if (fd_ >= 0)
        ::close(fd_);
}

#else

std::optional<FolderLock> FolderLock::Take(
    const std::filesystem::path& folder, std::chrono::milliseconds wait)
{
    const std::filesystem::path file
        = (folder.empty() ? std::filesystem::path(".") : folder) / ".corkpane.lock";
    HANDLE handle = ::CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE,
        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN,
        nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const int error = ::GetLastError() == ERROR_ACCESS_DENIED ? EACCES : ENOENT;
        throw FileIoError(CannotOpenMessage(file, FileErrorReason(error)), error);
    }
    FolderLock lock;
    lock.handle_ = handle;
    const bool held = TryUntil(
        [handle] {
            OVERLAPPED place {};
            return ::LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &place)
                || ::GetLastError() != ERROR_LOCK_VIOLATION;
        },
        wait);
    if (!held)
        return std::nullopt;
    return lock;
}

FolderLock::~FolderLock()
{
    // Closing the handle releases the lock.
    if (handle_)
        ::CloseHandle(static_cast<HANDLE>(handle_));
}

#endif

} // namespace platform
