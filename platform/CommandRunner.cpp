#include "platform/CommandRunner.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <optional>
#include <poll.h>
#include <set>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace platform {
namespace {

using Clock = std::chrono::steady_clock;

// After the program has exited, what it wrote is read for this long at most:
// something it left running may hold its output open for ever.
constexpr std::chrono::milliseconds kAfterExit { 200 };

std::atomic<pid_t> gRunning { 0 };

struct Descriptor {
    int fd = -1;
    Descriptor() = default;
    explicit Descriptor(int f)
        : fd(f)
    {
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() { Close(); }
    void Close()
    {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
};

// The program as PATH finds it; empty when it is nowhere.
std::string FindProgram(const std::string& name)
{
    if (name.find('/') != std::string::npos)
        return name;
    const char* variable = std::getenv("PATH");
    std::string_view path
        = variable != nullptr && *variable != '\0' ? variable : "/usr/local/bin:/usr/bin:/bin";
    while (true) {
        const std::string_view folder = path.substr(0, path.find(':'));
        const std::string candidate = (folder.empty() ? std::string(".") : std::string(folder)) + "/" + name;
        if (::access(candidate.c_str(), X_OK) == 0 && !std::filesystem::is_directory(candidate))
            return candidate;
        if (folder.size() >= path.size())
            return {};
        path.remove_prefix(folder.size() + 1);
    }
}

// This process's children, as the kernel lists them for each thread.
std::set<pid_t> Children()
{
    std::set<pid_t> children;
    std::error_code error;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task", error)) {
        std::ifstream in(task.path() / "children");
        pid_t pid = 0;
        while (in >> pid)
            children.insert(pid);
    }
    return children;
}

[[noreturn]] void StartChild(const std::string& program, char* const argv[], int in, int out, int err,
    int report, const RunOptions& options, pid_t parent)
{
    ::setpgid(0, 0);
    // Ended with this process, whatever ends it.
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != parent)
        ::_exit(127);
    ::dup2(in, 0);
    ::dup2(out, 1);
    ::dup2(err, 2);
    if (options.cpuSeconds > 0) {
        const rlimit cpu { options.cpuSeconds, options.cpuSeconds + 1 };
        ::setrlimit(RLIMIT_CPU, &cpu);
    }
    if (options.addressSpaceBytes > 0) {
        const rlimit space { options.addressSpaceBytes, options.addressSpaceBytes };
        ::setrlimit(RLIMIT_AS, &space);
    }
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    ::signal(SIGPIPE, SIG_DFL);
    ::execve(program.c_str(), argv, environ);
    const int error = errno;
    [[maybe_unused]] const ssize_t written = ::write(report, &error, sizeof error);
    ::_exit(127);
}

} // namespace

void EndRunningCommand() noexcept
{
    if (const pid_t group = gRunning.load(); group > 0)
        ::kill(-group, SIGKILL);
}

CommandResult ProcessRunner::Run(const std::vector<std::string>& argv)
{
    CommandResult result;
    if (argv.empty())
        return result;
    const std::string program = FindProgram(argv.front());
    if (program.empty()) {
        result.exitCode = 127;
        result.startError = ENOENT;
        return result;
    }
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);

    int outEnds[2], errEnds[2], reportEnds[2], inEnds[2];
    if (::pipe2(outEnds, O_CLOEXEC) != 0) {
        result.startError = errno;
        return result;
    }
    Descriptor outRead(outEnds[0]), outWrite(outEnds[1]);
    if (::pipe2(errEnds, O_CLOEXEC) != 0 || ::pipe2(reportEnds, O_CLOEXEC) != 0) {
        result.startError = errno;
        return result;
    }
    Descriptor errRead(errEnds[0]), errWrite(errEnds[1]), reportRead(reportEnds[0]),
        reportWrite(reportEnds[1]);
    // Standard input: the caller's bytes through a socket (a reader that
    // goes away is then an error to write, not a signal), else nothing.
    Descriptor inRead, inWrite;
    if (!options_.input.empty()) {
        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, inEnds) != 0) {
            result.startError = errno;
            return result;
        }
        inRead.fd = inEnds[0];
        inWrite.fd = inEnds[1];
        ::fcntl(inWrite.fd, F_SETFL, O_NONBLOCK);
    } else {
        inRead.fd = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    }
    Descriptor nullOut(options_.dropErrorOutput ? ::open("/dev/null", O_WRONLY | O_CLOEXEC) : -1);

    // Orphans of the program's own children come to this process while it
    // runs, so that they can be ended with it.
    std::set<pid_t> before;
    if (options_.endOrphans) {
        ::prctl(PR_SET_CHILD_SUBREAPER, 1);
        before = Children();
    }
    const pid_t parent = ::getpid();
    const pid_t pid = ::fork();
    if (pid == 0)
        StartChild(program, args.data(), inRead.fd, outWrite.fd, nullOut.fd >= 0 ? nullOut.fd : errWrite.fd,
            reportWrite.fd, options_, parent);
    if (pid < 0) {
        if (options_.endOrphans)
            ::prctl(PR_SET_CHILD_SUBREAPER, 0);
        result.startError = errno;
        return result;
    }
    ::setpgid(pid, pid);
    gRunning = pid;
    inRead.Close();
    outWrite.Close();
    errWrite.Close();
    reportWrite.Close();
    nullOut.Close();
    int execError = 0;
    if (::read(reportRead.fd, &execError, sizeof execError) == sizeof execError)
        result.startError = execError;

    const auto deadline = Clock::now() + options_.timeLimit;
    // A descriptor that becomes readable when the program exits.
    Descriptor exited(static_cast<int>(::syscall(SYS_pidfd_open, pid, 0)));
    std::optional<Clock::time_point> stopReading;
    std::size_t inputSent = 0;
    std::string* sinks[2] = { &result.output, &result.errorOutput };
    bool timedOut = false;
    char buffer[4096];
    while (outRead.fd >= 0 || errRead.fd >= 0 || inWrite.fd >= 0 || !stopReading) {
        const Clock::time_point now = Clock::now();
        if (now >= deadline) {
            timedOut = !stopReading;
            break;
        }
        if (stopReading && (now >= *stopReading || (outRead.fd < 0 && errRead.fd < 0)))
            break;
        pollfd fds[4] = { { outRead.fd, POLLIN, 0 }, { errRead.fd, POLLIN, 0 }, { inWrite.fd, POLLOUT, 0 },
            { stopReading ? -1 : exited.fd, POLLIN, 0 } };
        auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(
            (stopReading ? *stopReading : deadline) - now);
        // Without a process descriptor the exit is looked for now and then.
        if (exited.fd < 0 && !stopReading)
            wait = std::min(wait, std::chrono::milliseconds(20));
        if (::poll(fds, 4, static_cast<int>(std::max<long long>(wait.count(), 1))) < 0 && errno != EINTR)
            break;
        for (int i = 0; i < 2; ++i) {
            Descriptor& from = i == 0 ? outRead : errRead;
            if (from.fd < 0 || fds[i].revents == 0)
                continue;
            const ssize_t n = ::read(from.fd, buffer, sizeof buffer);
            if (n > 0) {
                if (sinks[i]->size() < options_.outputLimit)
                    sinks[i]->append(buffer,
                        std::min<std::size_t>(
                            static_cast<std::size_t>(n), options_.outputLimit - sinks[i]->size()));
            } else if (n == 0 || errno != EINTR) {
                from.Close();
            }
        }
        if (inWrite.fd >= 0 && fds[2].revents != 0) {
            const ssize_t n = ::send(inWrite.fd, options_.input.data() + inputSent,
                options_.input.size() - inputSent, MSG_NOSIGNAL);
            if (n > 0)
                inputSent += static_cast<std::size_t>(n);
            if ((n < 0 && errno != EINTR && errno != EAGAIN) || inputSent == options_.input.size())
                inWrite.Close();
        }
        if (!stopReading) {
            siginfo_t info {};
            if ((exited.fd >= 0 && fds[3].revents != 0)
                || (exited.fd < 0
                    && ::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0
                    && info.si_pid == pid)) {
                stopReading = std::min(Clock::now() + kAfterExit, deadline);
                inWrite.Close();
            }
        }
    }

    // The group first, while the program's own pid still holds it.
    ::kill(-pid, SIGKILL);
    int status = 0;
    if (timedOut)
        ::kill(pid, SIGKILL);
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) { }
    gRunning = 0;
    // What it started outside its group and left to this process.
    for (int round = 0; options_.endOrphans && round < 8; ++round) {
        std::vector<pid_t> strays;
        for (const pid_t child : Children())
            if (!before.contains(child))
                strays.push_back(child);
        if (strays.empty())
            break;
        for (const pid_t stray : strays) {
            ::kill(-stray, SIGKILL);
            ::kill(stray, SIGKILL);
            while (::waitpid(stray, nullptr, 0) < 0 && errno == EINTR) { }
        }
    }
    if (options_.endOrphans)
        ::prctl(PR_SET_CHILD_SUBREAPER, 0);

    if (result.startError != 0)
        result.exitCode = 127;
    else if (timedOut)
        result.exitCode = 124;
    else if (WIFSIGNALED(status))
        result.exitCode = 128 + (result.signal = WTERMSIG(status));
    else
        result.exitCode = WEXITSTATUS(status);
    return result;
}

std::vector<std::string> SplitCommandLine(std::string_view line, bool& unclosed)
{
    unclosed = false;
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == ' ' || c == '\t') {
            if (inWord)
                words.push_back(std::move(word));
            word.clear();
            inWord = false;
            continue;
        }
        inWord = true;
        if (c == '\'') {
            const std::size_t close = line.find('\'', i + 1);
            if (close == std::string_view::npos) {
                unclosed = true;
                return words;
            }
            word.append(line.substr(i + 1, close - i - 1));
            i = close;
        } else if (c == '"') {
            for (++i;; ++i) {
                if (i >= line.size()) {
                    unclosed = true;
                    return words;
                }
                if (line[i] == '"')
                    break;
                if (line[i] == '\\' && i + 1 < line.size() && (line[i + 1] == '"' || line[i + 1] == '\\'))
                    ++i;
                word += line[i];
            }
        } else if (c == '\\' && i + 1 < line.size()) {
            word += line[++i];
        } else {
            word += c;
        }
    }
    if (inWord)
        words.push_back(std::move(word));
    return words;
}

} // namespace platform
