#include "app/FileAccess.h"

#include "app/FileError.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace app {
namespace {

// Closes the descriptor on every path out of a function.
class Descriptor {
public:
    explicit Descriptor(int fd)
        : fd_(fd)
    {
    }
    ~Descriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    // Closes now and reports the result, which for a written file can carry a
    // delayed write error.
    int close()
    {
        const int result = ::close(fd_);
        fd_ = -1;
        return result;
    }

private:
    int fd_;
};

std::filesystem::path resolveLink(const std::filesystem::path& file)
{
    std::error_code ec;
    if (!std::filesystem::is_symlink(std::filesystem::symlink_status(file, ec)))
        return file;
    const auto target = std::filesystem::canonical(file, ec);
    return ec ? file : target;
}

std::filesystem::path temporaryName(const std::filesystem::path& file)
{
    static std::atomic<unsigned> counter { 0 };
    auto name = file;
    name.replace_filename("." + file.filename().string() + ".tmp-" + std::to_string(::getpid()) + "-"
        + std::to_string(counter++));
    return name;
}

bool writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

} // namespace

std::optional<std::string> ReadFileIfExists(const std::filesystem::path& file)
{
    Descriptor fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) {
        if (errno == ENOENT)
            return std::nullopt;
        throw FileError::cannotOpen(file, errno);
    }
    std::string bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw FileError::cannotOpen(file, errno);
        }
        if (n == 0)
            break;
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    return bytes;
}

void WriteFileAtomically(const std::filesystem::path& file, std::string_view bytes)
{
    const auto target = resolveLink(file);
    const auto temporary = temporaryName(target);
    Descriptor fd(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (fd.get() < 0)
        throw FileError::cannotCreate(file, errno);

    struct stat old { };
    if (::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode))
        (void)::fchmod(fd.get(), old.st_mode & 07777);

    const bool written = writeAll(fd.get(), bytes) && ::fsync(fd.get()) == 0;
    int error = errno;
    if (written && fd.close() == 0 && ::rename(temporary.c_str(), target.c_str()) == 0) {
        // Make the rename itself durable; a failure here no longer risks
        // the content, so it is not reported.
        Descriptor folder(::open(target.parent_path().empty() ? "." : target.parent_path().c_str(),
            O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (folder.get() >= 0)
            (void)::fsync(folder.get());
        return;
    }
    if (written)
        error = errno;
    ::unlink(temporary.c_str());
    throw FileError::cannotCreate(file, error);
}

} // namespace app
