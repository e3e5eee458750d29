#include "mail/TokenCommand.h"

#include "jconvert/AsciiText.h"
#include "mail/MailError.h"
#include "mail/Texts.h"
#include "platform/SystemErrorText.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace mail {

namespace {

// More than any real token (a few kilobytes); the rest of the output is
// read and dropped.
constexpr std::size_t kMaxKept = 64 * 1024;

long long NowMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Closes a descriptor when it goes out of scope.
struct Descriptor {
    int fd = -1;
    ~Descriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

// The child and everything it started, stopped for good.
void Kill(pid_t pid)
{
    ::kill(-pid, SIGKILL);
    ::kill(pid, SIGKILL);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) { }
}

std::string TimeoutMessage(int timeoutMs)
{
    return texts::kTokenCommandTimeout + std::to_string((timeoutMs + 999) / 1000)
        + texts::kTokenCommandTimeoutEnd;
}

} // namespace

std::vector<std::string> SplitCommandLine(std::string_view line)
{
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
            if (close == std::string_view::npos)
                throw MailError(texts::kTokenCommandUnclosedQuote);
            word.append(line.substr(i + 1, close - i - 1));
            i = close;
        } else if (c == '"') {
            for (++i;; ++i) {
                if (i >= line.size())
                    throw MailError(texts::kTokenCommandUnclosedQuote);
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

std::string RunTokenCommand(const std::string& commandLine, int timeoutMs)
{
    const std::vector<std::string> words = SplitCommandLine(commandLine);
    if (words.empty())
        throw MailError(texts::kNoTokenCommand);

    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0)
        throw MailError(texts::kTokenCommandNotStarted + platform::SystemErrorText(errno));
    Descriptor output { ends[0] };
    Descriptor input { ends[1] };

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, input.fd, 1);
    // Whatever the helper says on standard error could hold the token too.
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    // A process group of its own, so that a helper that hangs is stopped
    // with whatever it started.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    std::vector<char*> argv;
    for (const std::string& word : words)
        argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = ::posix_spawnp(&pid, argv[0], &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    ::close(input.fd);
    input.fd = -1;
    if (spawned != 0)
        throw MailError(texts::kTokenCommandNotStarted + platform::SystemErrorText(spawned));

    const long long deadline = NowMs() + (timeoutMs > 0 ? timeoutMs : 0);
    std::string kept;
    char buffer[4096];
    pollfd p { output.fd, POLLIN, 0 };
    for (;;) {
        const long long left = deadline - NowMs();
        if (timeoutMs > 0 && left <= 0) {
            Kill(pid);
            throw MailError(TimeoutMessage(timeoutMs));
        }
        const int ready = ::poll(&p, 1, timeoutMs > 0 ? static_cast<int>(left) : -1);
        if (ready < 0 && errno != EINTR)
            break;
        if (ready <= 0)
            continue;
        const ssize_t got = ::read(output.fd, buffer, sizeof buffer);
        if (got == 0 || (got < 0 && errno != EINTR && errno != EAGAIN))
            break;
        if (got > 0 && kept.size() < kMaxKept)
            kept.append(buffer, static_cast<std::size_t>(std::min<std::size_t>(got, kMaxKept - kept.size())));
    }

    // The output has ended; the helper still has to end within the limit.
    int status = 0;
    for (;;) {
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid)
            break;
        if (done < 0 && errno != EINTR)
            break;
        if (timeoutMs > 0 && NowMs() >= deadline) {
            Kill(pid);
            throw MailError(TimeoutMessage(timeoutMs));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (WIFSIGNALED(status))
        throw MailError(
            texts::kTokenCommandKilled + std::to_string(WTERMSIG(status)) + texts::kTokenCommandFailedEnd);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw MailError(texts::kTokenCommandFailed
            + std::to_string(WIFEXITED(status) ? WEXITSTATUS(status) : -1) + texts::kTokenCommandFailedEnd);

    std::string_view token = kept;
    token = token.substr(0, token.find('\n'));
    token = jconvert::TrimBlanks(token);
    if (token.empty())
        throw MailError(texts::kTokenCommandNoToken);
    // A token is printable ASCII; anything else would be sent into the
    // protocol as it is.
    for (const char c : token) {
        if (c < 0x21 || c > 0x7e)
            throw MailError(texts::kTokenCommandBadToken);
    }
    return std::string(token);
}

} // namespace mail
