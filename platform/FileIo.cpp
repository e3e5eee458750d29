#include "platform/FileIo.h"

#include "jconvert/AsciiText.h"
#include "jconvert/cp932.h"
#include "platform/SystemErrorText.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <new>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace platform {
namespace {

// Not an errno value: the reason for a file that is not a regular file.
constexpr int kNotRegularFile = -1;

constexpr std::string_view kTemporaryMark = ".corkpane-tmp-";

std::string FullName(const std::filesystem::path& file)
{
    std::error_code ec;
    const auto absolute = std::filesystem::absolute(file, ec);
    return PathText(ec ? file : absolute.lexically_normal());
}

std::string ReasonFor(int error)
{
    if (error == kNotRegularFile)
        return jconvert::Utf8ToCp932("通常のファイルではありません。");
    return FileErrorReason(error);
}

[[noreturn]] void CannotOpen(const std::filesystem::path& file, int error)
{
    throw FileIoError(CannotOpenMessage(file, ReasonFor(error)), error);
}

// The file a replacement writes: a symbolic link is followed, so that the
// file it names is replaced and the link stays. A link whose target does not
// exist yet names the file to create, as it would for any other program
// writing through it. Links are resolved one step at a time (not by
// canonical paths, which stop at the first missing name); a chain that does
// not end is refused like the system refuses it.
std::filesystem::path ReplacedFile(const std::filesystem::path& file)
{
    constexpr int kMaxLinks = 40;
    std::filesystem::path target = file;
    for (int step = 0;; ++step) {
        std::error_code ec;
        if (!std::filesystem::is_symlink(std::filesystem::symlink_status(target, ec)))
            return target;
        if (step == kMaxLinks)
            throw FileIoError(CannotCreateMessage(file, FileErrorReason(ELOOP)), ELOOP);
        const std::filesystem::path next = std::filesystem::read_symlink(target, ec);
        if (ec)
            return target;
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
}

std::string TemporaryPrefix(const std::filesystem::path& target)
{
    return "." + target.filename().string() + std::string(kTemporaryMark);
}

#ifndef _WIN32

unsigned long ProcessId()
{
    return static_cast<unsigned long>(::getpid());
}

bool ProcessAlive(unsigned long id)
{
    return ::kill(static_cast<pid_t>(id), 0) == 0 || errno != ESRCH;
}

#else

unsigned long ProcessId()
{
    return ::GetCurrentProcessId();
}

bool ProcessAlive(unsigned long id)
{
    HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(id));
    if (!process)
        return ::GetLastError() == ERROR_ACCESS_DENIED;
    const bool running = ::WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    ::CloseHandle(process);
    return running;
}

#endif

// Removes temporaries of earlier saves of target whose process has ended
// (a save killed midway or the machine stopping). A save still running in
// another process keeps its file.
void RemoveStaleTemporaries(const std::filesystem::path& target)
{
    const std::string prefix = TemporaryPrefix(target);
    const auto folder = target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        const std::string name = entry.path().filename().string();
        if (name.compare(0, prefix.size(), prefix) != 0)
            continue;
        const std::size_t dash = name.find('-', prefix.size());
        if (dash == std::string::npos || dash == prefix.size())
            continue;
        const auto id = jconvert::ParseDigits(
            std::string_view(name).substr(prefix.size(), dash - prefix.size()), 999999999);
        if (!id || *id == ProcessId() || ProcessAlive(static_cast<unsigned long>(*id)))
            continue;
        std::error_code ignored;
        std::filesystem::remove(entry.path(), ignored);
    }
}

} // namespace

std::string FileErrorReason(int error)
{
    return SystemErrorText(error);
}

std::string CannotOpenMessage(const std::filesystem::path& file, const std::string& reason)
{
    return jconvert::Utf8ToCp932("ファイル \"") + FullName(file) + jconvert::Utf8ToCp932("\" は開けません。")
        + reason;
}

std::string CannotCreateMessage(const std::filesystem::path& file, const std::string& reason)
{
    return jconvert::Utf8ToCp932("ファイル \"") + FullName(file)
        + jconvert::Utf8ToCp932("\" を作成できません。") + reason;
}

std::string CannotCreateFolderMessage(const std::filesystem::path& folder, const std::string& reason)
{
    // "/a/b/" is named without its trailing separator.
    std::filesystem::path shown = folder;
    if (!shown.has_filename() && shown.has_relative_path())
        shown = shown.parent_path();
    return jconvert::Utf8ToCp932("フォルダー \"") + FullName(shown)
        + jconvert::Utf8ToCp932("\" を作成できません。") + reason;
}

void CreateFolders(const std::filesystem::path& folder)
{
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec)
        throw FileIoError(CannotCreateFolderMessage(folder, FileErrorReason(ec.value())), ec.value());
}

std::string PathText(const std::filesystem::path& path)
{
#ifdef _WIN32
    return path.string();
#else
    return jconvert::Utf8ToCp932(path.native());
#endif
}

std::string ReadWholeFile(const std::filesystem::path& file, std::uint64_t limit)
{
    std::optional<std::string> bytes = ReadFileIfExists(file, limit);
    if (!bytes)
        CannotOpen(file, ENOENT);
    return std::move(*bytes);
}

namespace {

void Replace(const std::filesystem::path& file, std::string_view bytes, std::uint64_t limit, FileMode mode)
{
    if (bytes.size() > limit)
        throw FileIoError(CannotCreateMessage(file, FileErrorReason(EFBIG)), EFBIG);
    FileReplacement replacement(file, limit, mode);
    replacement.Write(bytes);
    replacement.Commit();
}

} // namespace

void ReplaceFile(
    const std::filesystem::path& file, std::string_view bytes, std::uint64_t limit, bool executable)
{
    Replace(file, bytes, limit, executable ? FileMode::kExecutable : FileMode::kKept);
}

void ReplacePrivateFile(const std::filesystem::path& file, std::string_view bytes, std::uint64_t limit)
{
    Replace(file, bytes, limit, FileMode::kPrivate);
}

void ReplaceFile(const std::filesystem::path& file, std::string_view first,
    std::span<const std::string_view> rest, std::uint64_t limit)
{
    std::uint64_t total = first.size();
    for (const std::string_view piece : rest)
        total += piece.size();
    if (total > limit)
        throw FileIoError(CannotCreateMessage(file, FileErrorReason(EFBIG)), EFBIG);
    FileReplacement replacement(file, limit);
    // Small pieces go out together, a megabyte at a time.
    std::string buffer(first);
    for (const std::string_view piece : rest) {
        if (buffer.size() + piece.size() > (std::size_t { 1 } << 20)) {
            replacement.Write(buffer);
            buffer.clear();
        }
        buffer.append(piece);
    }
    replacement.Write(buffer);
    replacement.Commit();
}

#ifndef _WIN32

std::optional<std::string> ReadFileIfExists(const std::filesystem::path& file, std::uint64_t limit)
{
    // Non-blocking, so that opening a pipe nobody writes to does not wait;
    // anything but a regular file is refused before it is read.
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        if (errno == ENOENT)
            return std::nullopt;
        CannotOpen(file, errno);
    }
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer { fd };
    struct stat info { };
    if (::fstat(fd, &info) != 0)
        CannotOpen(file, errno);
    if (S_ISDIR(info.st_mode))
        CannotOpen(file, EISDIR);
    if (!S_ISREG(info.st_mode))
        CannotOpen(file, kNotRegularFile);
    if (static_cast<std::uint64_t>(info.st_size) > limit)
        CannotOpen(file, EFBIG);
    std::string bytes;
    try {
        bytes.resize(static_cast<std::size_t>(info.st_size));
        std::size_t done = 0;
        for (;;) {
            if (done == bytes.size()) {
                // The file may have grown since fstat; read on in steps.
                if (bytes.size() >= limit + 1)
                    CannotOpen(file, EFBIG);
                bytes.resize(bytes.size() + std::min<std::uint64_t>(65536, limit + 1 - bytes.size()));
            }
            const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                CannotOpen(file, errno);
            }
            if (n == 0)
                break;
            done += static_cast<std::size_t>(n);
        }
        if (done > limit)
            CannotOpen(file, EFBIG);
        bytes.resize(done);
    } catch (const std::bad_alloc&) {
        CannotOpen(file, ENOMEM);
    }
    return bytes;
}

FileReader::FileReader(const std::filesystem::path& file)
    : file_(file)
{
    fd_ = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (fd_ < 0)
        CannotOpen(file_, errno);
    struct stat info { };
    const int error = ::fstat(fd_, &info) != 0 ? errno : S_ISDIR(info.st_mode) ? EISDIR : 0;
    if (error != 0) {
        ::close(fd_);
        CannotOpen(file_, error);
    }
}

FileReader::~FileReader()
{
    ::close(fd_);
}

std::size_t FileReader::Read(char* buffer, std::size_t count)
{
    for (;;) {
        const ssize_t n = ::read(fd_, buffer, count);
        if (n >= 0)
            return static_cast<std::size_t>(n);
        if (errno != EINTR)
            CannotOpen(file_, errno);
    }
}

FileReplacement::FileReplacement(const std::filesystem::path& file, std::uint64_t limit, FileMode mode)
    : file_(file)
    , target_(ReplacedFile(file))
    , limit_(limit)
{
    // A file-size limit should fail the write with EFBIG, not end the
    // program: the save then reports it and removes the temporary.
    static const bool sizeSignalIgnored = (std::signal(SIGXFSZ, SIG_IGN), true);
    (void)sizeSignalIgnored;
    RemoveStaleTemporaries(target_);

    static std::atomic<unsigned> counter { 0 };
    const std::string prefix = TemporaryPrefix(target_) + std::to_string(ProcessId()) + "-";
    for (unsigned attempt = 0; fd_ < 0; ++attempt) {
        temporary_ = target_;
        temporary_.replace_filename(prefix + std::to_string(counter++));
        // A private file is never readable by others, not even half written.
        fd_ = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
            mode == FileMode::kPrivate ? 0600 : 0666);
        if (fd_ < 0 && (errno != EEXIST || attempt >= 100)) {
            const int error = errno;
            temporary_.clear();
            throw FileIoError(CannotCreateMessage(file_, FileErrorReason(error)), error);
        }
    }
    struct stat old { };
    if (::stat(target_.c_str(), &old) == 0 && S_ISREG(old.st_mode))
        (void)::fchmod(fd_, old.st_mode & (mode == FileMode::kPrivate ? 0700 : 07777));
    if (mode == FileMode::kExecutable && ::fstat(fd_, &old) == 0)
        (void)::fchmod(fd_, (old.st_mode & 07777) | 0111);
}

FileReplacement::~FileReplacement()
{
    if (fd_ >= 0)
        ::close(fd_);
    if (!temporary_.empty())
        ::unlink(temporary_.c_str());
}

void FileReplacement::OwnerOnly()
{
    if (fd_ >= 0 && ::fchmod(fd_, 0600) != 0)
        Fail(errno);
}

void FileReplacement::Fail(int error)
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    ::unlink(temporary_.c_str());
    temporary_.clear();
    throw FileIoError(CannotCreateMessage(file_, FileErrorReason(error)), error);
}

void FileReplacement::Write(std::string_view bytes)
{
    if (fd_ < 0)
        Fail(EBADF);
    if (bytes.size() > limit_ - written_)
        Fail(EFBIG);
    written_ += bytes.size();
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            Fail(errno);
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
}

void FileReplacement::Commit()
{
    if (fd_ < 0)
        Fail(EBADF);
    if (::fsync(fd_) != 0)
        Fail(errno);
    const int result = ::close(fd_);
    fd_ = -1;
    // close can carry a delayed write error.
    if (result != 0 || ::rename(temporary_.c_str(), target_.c_str()) != 0)
        Fail(errno);
    temporary_.clear();
    // Make the rename itself durable; a failure here no longer endangers the
    // content, so it is not reported.
    const auto folder = target_.has_parent_path() ? target_.parent_path() : std::filesystem::path(".");
    const int folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        (void)::fsync(folderFd);
        ::close(folderFd);
    }
}

#else

namespace {

int ErrnoFor(DWORD error)
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
        return EACCES;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
        return ENOMEM;
    default:
        return EIO;
    }
}

} // namespace

std::optional<std::string> ReadFileIfExists(const std::filesystem::path& file, std::uint64_t limit)
{
    HANDLE handle = ::CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const int error = ErrnoFor(::GetLastError());
        if (error == ENOENT)
            return std::nullopt;
        CannotOpen(file, error);
    }
    struct Closer {
        HANDLE handle;
        ~Closer() { ::CloseHandle(handle); }
    } closer { handle };
    if (::GetFileType(handle) != FILE_TYPE_DISK)
        CannotOpen(file, kNotRegularFile);
    LARGE_INTEGER size {};
    if (!::GetFileSizeEx(handle, &size))
        CannotOpen(file, ErrnoFor(::GetLastError()));
    if (static_cast<std::uint64_t>(size.QuadPart) > limit)
        CannotOpen(file, EFBIG);
    std::string bytes;
    try {
        bytes.resize(static_cast<std::size_t>(size.QuadPart));
    } catch (const std::bad_alloc&) {
        CannotOpen(file, ENOMEM);
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD n = 0;
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        if (!::ReadFile(handle, bytes.data() + done, want, &n, nullptr))
            CannotOpen(file, ErrnoFor(::GetLastError()));
        if (n == 0)
            break;
        done += n;
    }
    bytes.resize(done);
    return bytes;
}

FileReader::FileReader(const std::filesystem::path& file)
    : file_(file)
{
    HANDLE handle = ::CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        CannotOpen(file_, ErrnoFor(::GetLastError()));
    handle_ = handle;
}

FileReader::~FileReader()
{
    ::CloseHandle(static_cast<HANDLE>(handle_));
}

std::size_t FileReader::Read(char* buffer, std::size_t count)
{
    DWORD n = 0;
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(count, 1u << 30));
    if (!::ReadFile(static_cast<HANDLE>(handle_), buffer, want, &n, nullptr)) {
        // A pipe whose writer has closed it has ended.
        if (::GetLastError() == ERROR_BROKEN_PIPE)
            return 0;
        CannotOpen(file_, ErrnoFor(::GetLastError()));
    }
    return n;
}

FileReplacement::FileReplacement(const std::filesystem::path& file, std::uint64_t limit, FileMode)
    : file_(file)
    , target_(ReplacedFile(file))
    , limit_(limit)
{
    RemoveStaleTemporaries(target_);
    static std::atomic<unsigned> counter { 0 };
    const std::string prefix = TemporaryPrefix(target_) + std::to_string(ProcessId()) + "-";
    for (unsigned attempt = 0; !handle_; ++attempt) {
        temporary_ = target_;
        temporary_.replace_filename(prefix + std::to_string(counter++));
        HANDLE h = ::CreateFileW(
            temporary_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            handle_ = h;
            break;
        }
        const DWORD error = ::GetLastError();
        if (error != ERROR_FILE_EXISTS || attempt >= 100) {
            temporary_.clear();
            throw FileIoError(CannotCreateMessage(file_, FileErrorReason(ErrnoFor(error))), ErrnoFor(error));
        }
    }
}

FileReplacement::~FileReplacement()
{
    if (handle_)
        ::CloseHandle(static_cast<HANDLE>(handle_));
    if (!temporary_.empty())
        ::DeleteFileW(temporary_.c_str());
}

// A file in the user's profile is the user's alone already.
void FileReplacement::OwnerOnly() { }

void FileReplacement::Fail(int error)
{
    if (handle_)
        ::CloseHandle(static_cast<HANDLE>(handle_));
    handle_ = nullptr;
    ::DeleteFileW(temporary_.c_str());
    temporary_.clear();
    throw FileIoError(CannotCreateMessage(file_, FileErrorReason(error)), error);
}

void FileReplacement::Write(std::string_view bytes)
{
    if (!handle_)
        Fail(EBADF);
    if (bytes.size() > limit_ - written_)
        Fail(EFBIG);
    written_ += bytes.size();
    while (!bytes.empty()) {
        DWORD n = 0;
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        if (!::WriteFile(static_cast<HANDLE>(handle_), bytes.data(), want, &n, nullptr))
            Fail(ErrnoFor(::GetLastError()));
        bytes.remove_prefix(n);
    }
}

void FileReplacement::Commit()
{
    if (!handle_)
        Fail(EBADF);
    if (!::FlushFileBuffers(static_cast<HANDLE>(handle_)))
        Fail(ErrnoFor(::GetLastError()));
    ::CloseHandle(static_cast<HANDLE>(handle_));
    handle_ = nullptr;
    if (!::MoveFileExW(
            temporary_.c_str(), target_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        Fail(ErrnoFor(::GetLastError()));
    temporary_.clear();
}

#endif

} // namespace platform
