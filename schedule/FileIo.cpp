#include "schedule/FileIo.h"

#include "jconvert/cp932.h"
#include "platform/SystemErrorText.h"
#include "schedule/ScheduleError.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string_view>
#include <system_error>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace schedule {

namespace {

// The messages the other files of the program give: "ファイル "<full name>"
// は開けません。<reason>" when reading fails and "ファイル "<full name>" を作成
// できません。<reason>" when writing fails, the reason in Japanese.
enum class Failure { Open, Create };

constexpr std::string_view kFile = "ファイル \"";
constexpr std::string_view kCannotOpen = "\" は開けません。";
constexpr std::string_view kCannotCreate = "\" を作成できません。";
constexpr std::string_view kNotRegularFile = "通常のファイルではありません。";

std::string Describe(const std::filesystem::path& path, Failure failure, const std::string& reason)
{
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
    return jconvert::Utf8ToCp932(kFile) + (ec ? path : absolute.lexically_normal()).string()
        + jconvert::Utf8ToCp932(failure == Failure::Open ? kCannotOpen : kCannotCreate) + reason;
}

std::string Describe(const std::filesystem::path& path, Failure failure, int error)
{
    return Describe(path, failure, platform::SystemErrorText(error));
}

} // namespace

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path)
{
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (status.type() == std::filesystem::file_type::not_found)
        return std::nullopt;
    if (ec)
        throw ScheduleError(Describe(path, Failure::Open, ec.value()));
    if (std::filesystem::is_directory(status))
        throw ScheduleError(Describe(path, Failure::Open, EISDIR));
    // A device or pipe could block or never end; only plain files are read.
    if (!std::filesystem::is_regular_file(status))
        throw ScheduleError(Describe(path, Failure::Open, jconvert::Utf8ToCp932(kNotRegularFile)));
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        const int error = errno != 0 ? errno : EIO;
        throw ScheduleError(Describe(path, Failure::Open, error));
    }
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        throw ScheduleError(Describe(path, Failure::Open, EIO));
    return bytes;
}

#ifndef _WIN32

namespace {

class FdCloser {
public:
    explicit FdCloser(int fd)
        : fd_(fd)
    {
    }
    ~FdCloser()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FdCloser(const FdCloser&) = delete;
    FdCloser& operator=(const FdCloser&) = delete;
    int Release()
    {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }

private:
    int fd_;
};

} // namespace

void ReplaceFileAtomically(const std::filesystem::path& path, std::string_view bytes)
{
    const std::filesystem::path dir
        = path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
    std::filesystem::path temp;
    int fd = -1;
    // O_EXCL with a fresh name per attempt: never reuses a file somebody
    // else created, and the mode goes through the umask as for a new file.
    for (unsigned attempt = 0; fd < 0; ++attempt) {
        temp = dir
            / (path.filename().string() + ".tmp" + std::to_string(::getpid()) + "_"
                + std::to_string(attempt));
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && (errno != EEXIST || attempt >= 100))
            throw ScheduleError(Describe(path, Failure::Create, errno));
    }
    FdCloser closer(fd);
    const auto fail = [&](Failure what, int error) {
        ::close(closer.Release());
        ::unlink(temp.c_str());
        throw ScheduleError(Describe(path, what, error));
    };

    struct stat old { };
    if (::stat(path.c_str(), &old) == 0)
        (void)::fchmod(fd, old.st_mode & 07777);

    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            fail(Failure::Create, errno);
        }
        done += static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0)
        fail(Failure::Create, errno);
    if (::close(closer.Release()) != 0) {
        const int error = errno;
        ::unlink(temp.c_str());
        throw ScheduleError(Describe(path, Failure::Create, error));
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        const int error = errno;
        ::unlink(temp.c_str());
        throw ScheduleError(Describe(path, Failure::Create, error));
    }
    // Make the rename itself durable; a failure here no longer endangers the
    // content, so it is not reported.
    const int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        (void)::fsync(dirFd);
        ::close(dirFd);
    }
}

#else

void ReplaceFileAtomically(const std::filesystem::path& path, std::string_view bytes)
{
    std::filesystem::path temp = path;
    temp += ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            std::error_code ignored;
            std::filesystem::remove(temp, ignored);
            throw ScheduleError(Describe(path, Failure::Create, EIO));
        }
    }
    std::error_code ec;
    std::filesystem::rename(temp, path, ec);
    if (ec) {
        std::error_code ignored;
        std::filesystem::remove(temp, ignored);
        throw ScheduleError(Describe(path, Failure::Create, ec.value()));
    }
}

#endif

} // namespace schedule
