#include "platform/CommandRunner.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace platform {
namespace {

// Standard output and standard error are each at most this much; more is
// read and dropped so the process is never blocked writing.
constexpr std::size_t kOutputLimit = 16u << 20;

} // namespace

CommandResult ProcessRunner::Run(const std::vector<std::string>& argv)
{
    CommandResult result;
    if (argv.empty())
        return result;
    int outFds[2];
    int errFds[2];
    if (::pipe2(outFds, O_CLOEXEC) != 0)
        return result;
    if (::pipe2(errFds, O_CLOEXEC) != 0) {
        ::close(outFds[0]);
        ::close(outFds[1]);
        return result;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, outFds[1], 1);
    posix_spawn_file_actions_adddup2(&actions, errFds[1], 2);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    // Its own process group, so that a process that runs out of time is
    // killed with whatever it started.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = ::posix_spawnp(&pid, args[0], &actions, &attributes, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    ::close(outFds[1]);
    ::close(errFds[1]);
    if (spawned != 0) {
        ::close(outFds[0]);
        ::close(errFds[0]);
        result.exitCode = 127;
        return result;
    }
    const auto deadline = std::chrono::steady_clock::now() + timeLimit_;
    pollfd fds[2] = { { outFds[0], POLLIN, 0 }, { errFds[0], POLLIN, 0 } };
    std::string* sinks[2] = { &result.output, &result.errorOutput };
    bool timedOut = false;
    char buffer[4096];
    while (fds[0].fd >= 0 || fds[1].fd >= 0) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            timedOut = true;
            break;
        }
        const int ready = ::poll(fds, 2, static_cast<int>(left.count()));
        if (ready < 0 && errno != EINTR)
            break;
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0)
                continue;
            const ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                if (sinks[i]->size() < kOutputLimit)
                    sinks[i]->append(buffer, static_cast<std::size_t>(n));
            } else if (n == 0 || errno != EINTR) {
                ::close(fds[i].fd);
                fds[i].fd = -1;
            }
        }
    }
    for (const pollfd& fd : fds)
        if (fd.fd >= 0)
            ::close(fd.fd);
    // A process may close its output and go on running: it gets the rest of
    // its time to end, then it is killed with its group.
    int status = 0;
    for (;;) {
        if (timedOut)
            ::kill(-pid, SIGKILL);
        const pid_t done = ::waitpid(pid, &status, timedOut ? 0 : WNOHANG);
        if (done == pid || (done < 0 && errno != EINTR))
            break;
        if (done == 0) {
            if (std::chrono::steady_clock::now() >= deadline)
                timedOut = true;
            else
                ::usleep(1000);
        }
    }
    if (timedOut)
        result.exitCode = 124;
    else
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return result;
}

} // namespace platform
