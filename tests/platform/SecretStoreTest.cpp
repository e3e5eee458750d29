// The keyring store against a real gnome-keyring-daemon on a private D-Bus
// session bus (a configuration of the test's own: no services but the
// prompter each test chooses). Every call runs in a fresh process, as the
// program at its start: GLib keeps the first session bus it met for the
// whole process.
#include "platform/SecretStore.h"

#include "common/TempFolder.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <libsecret/secret.h>
#include <optional>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using platform::SecretAccount;
using platform::SecretResult;
using platform::SecretStatus;
using platform::SecretStore;
using namespace std::chrono_literals;

// The prompter the keyring asks to unlock a locked keyring: none can start
// (as without a display: the keyring takes it as dismissed), or one that
// starts and never answers.
enum class Prompter { kCannotStart, kSilent };

class KeyringSession {
public:
    ~KeyringSession() { Stop(); }

    // Starts a bus and, unless without keyring, gnome-keyring-daemon on it;
    // with a password the daemon opens the login keyring (creating it).
    void Start(Prompter prompter, bool keyring, const std::optional<std::string>& password)
    {
        Stop();
        const std::string root = folder_.Path().string();
        folder_.Write("services/prompter.service",
            "[D-BUS Service]\nName=org.gnome.keyring.SystemPrompter\nExec="
                + std::string(prompter == Prompter::kCannotStart
                        ? "/bin/false\n"
                        : "/bin/sh -c 'exec dbus-monitor --address \"$DBUS_STARTER_ADDRESS\" >/dev/null'\n"));
        folder_.Write("bus.conf",
            "<busconfig><type>session</type><listen>unix:dir=" + root + "</listen><servicedir>" + root
                + "/services</servicedir><policy context=\"default\"><allow send_destination=\"*\"/>"
                  "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>");
        std::filesystem::create_directories(folder_ / "run");
        std::filesystem::permissions(folder_ / "run", std::filesystem::perms::owner_all);
        env_ = { "HOME=" + root, "XDG_DATA_HOME=" + root + "/data", "XDG_RUNTIME_DIR=" + root + "/run",
            "PATH=/usr/bin:/bin" };
        std::string address;
        bus_ = Spawn({ "dbus-daemon", "--config-file=" + root + "/bus.conf", "--nofork", "--print-address" },
            std::nullopt, &address);
        env_.push_back("DBUS_SESSION_BUS_ADDRESS=" + address.substr(0, address.find('\n')));
        if (!keyring)
            return;
        std::vector<std::string> argv { "gnome-keyring-daemon", "--foreground", "--components=secrets" };
        if (password)
            argv.emplace_back("--unlock");
        keyring_ = Spawn(argv, password.value_or(""), nullptr);
        const auto end = std::chrono::steady_clock::now() + 10s;
        while (Run([] { return SecretStore(2s).Probe(); }).status != SecretStatus::kDone
            && std::chrono::steady_clock::now() < end)
            std::this_thread::sleep_for(100ms);
    }

    void Stop()
    {
        for (pid_t* pid : { &keyring_, &bus_ })
            if (*pid > 0) {
                ::kill(*pid, SIGTERM);
                ::waitpid(*pid, nullptr, 0);
                *pid = 0;
            }
    }

    // The operation's result, from a fresh process in this session.
    SecretResult Run(const std::function<SecretResult()>& operation, bool withBus = true) const
    {
        int channel[2];
        if (::pipe(channel) != 0)
            return {};
        const pid_t child = ::fork();
        if (child == 0) {
            ::clearenv();
            for (const std::string& variable : env_)
                if (withBus || variable.rfind("DBUS_", 0) != 0)
                    ::putenv(const_cast<char*>(variable.c_str()));
            const SecretResult result = operation();
            const std::string out = std::to_string(static_cast<int>(result.status)) + "\n" + result.password;
            (void)!::write(channel[1], out.data(), out.size());
            ::_exit(0);
        }
        ::close(channel[1]);
        std::string out;
        char buffer[256];
        for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) > 0;)
            out.append(buffer, static_cast<std::size_t>(n));
        ::close(channel[0]);
        ::waitpid(child, nullptr, 0);
        const std::size_t line = out.find('\n');
        if (line == std::string::npos)
            return { SecretStatus::kFailed, {}, "the child died" };
        return { static_cast<SecretStatus>(std::stoi(out.substr(0, line))), out.substr(line + 1), {} };
    }

private:
    // Starts argv[0] with this session's environment; input, when given, is
    // its standard input; output, when asked for, the first chunk of its
    // standard output.
    pid_t Spawn(
        const std::vector<std::string>& argv, const std::optional<std::string>& input, std::string* output)
    {
        int in[2], out[2];
        if (::pipe(in) != 0 || ::pipe(out) != 0)
            return 0;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, in[0], 0);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        // Their complaints (a refused prompter, the bus's notes) are not the test's.
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        for (int fd : { in[0], in[1], out[0], out[1] })
            posix_spawn_file_actions_addclose(&actions, fd);
        std::vector<char*> args, env;
        for (const std::string& arg : argv)
            args.push_back(const_cast<char*>(arg.c_str()));
        for (const std::string& variable : env_)
            env.push_back(const_cast<char*>(variable.c_str()));
        args.push_back(nullptr);
        env.push_back(nullptr);
        pid_t pid = 0;
        posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), env.data());
        posix_spawn_file_actions_destroy(&actions);
        ::close(in[0]);
        ::close(out[1]);
        if (input)
            (void)!::write(in[1], input->data(), input->size());
        ::close(in[1]);
        char buffer[512];
        const ssize_t n = output ? ::read(out[0], buffer, sizeof buffer) : 0;
        if (n > 0)
            output->assign(buffer, static_cast<std::size_t>(n));
        ::close(out[0]);
        return pid;
    }

    test_files::TempFolder folder_ { "keyring" };
    std::vector<std::string> env_;
    pid_t bus_ = 0;
    pid_t keyring_ = 0;
};

bool Missing()
{
    return std::system("command -v gnome-keyring-daemon >/dev/null && command -v dbus-daemon >/dev/null"
                       " && command -v dbus-monitor >/dev/null")
        != 0;
}

const SecretAccount kAccount { "pop.example.jp", 995, "taro" };

// Items of this program in the keyring, whatever their account.
SecretResult CountItems()
{
    GHashTable* attributes = g_hash_table_new(g_str_hash, g_str_equal);
    g_hash_table_insert(attributes, const_cast<char*>("application"), const_cast<char*>("corkpane"));
    GList* items
        = secret_service_search_sync(nullptr, nullptr, attributes, SECRET_SEARCH_ALL, nullptr, nullptr);
    SecretResult result { SecretStatus::kDone, std::to_string(g_list_length(items)), {} };
    g_list_free_full(items, g_object_unref);
    g_hash_table_unref(attributes);
    return result;
}

TEST(SecretStore, RoundTripReplacingTheOlderPassword)
{
    if (Missing())
        GTEST_SKIP() << "not installed: gnome-keyring, dbus";
    KeyringSession session;
    session.Start(Prompter::kCannotStart, true, "keyring password");
    const SecretAccount other { "pop.example.jp", 110, "taro" };
    const std::string sjis = "\x82\x60\x82\x61*1"; // Ａ Ｂ in Shift_JIS: not UTF-8, kept as bytes
    const std::string newer = "ｐａｓｓ*ワード 12";
    const struct {
        std::function<SecretResult()> operation;
        SecretStatus status;
        std::string password;
    } steps[] = {
        { [] { return SecretStore().Lookup(kAccount); }, SecretStatus::kNotFound, "" },
        { [] { return SecretStore().Store(kAccount, "older"); }, SecretStatus::kDone, "" },
        { [&] { return SecretStore().Store(kAccount, newer); }, SecretStatus::kDone, "" },
        { [&] { return SecretStore().Store(other, sjis); }, SecretStatus::kDone, "" },
        { [] { return SecretStore().Lookup(kAccount); }, SecretStatus::kDone, newer },
        { [&] { return SecretStore().Lookup(other); }, SecretStatus::kDone, sjis },
        { &CountItems, SecretStatus::kDone, "2" }, // one item an account: the older one replaced
        { [] { return SecretStore().Remove(kAccount); }, SecretStatus::kDone, "" },
        { [] { return SecretStore().Remove(kAccount); }, SecretStatus::kNotFound, "" },
        { [] { return SecretStore().Lookup(kAccount); }, SecretStatus::kNotFound, "" },
        { [&] { return SecretStore().Lookup(other); }, SecretStatus::kDone, sjis },
    };
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        const SecretResult result = session.Run(steps[i].operation);
        EXPECT_EQ(result.status, steps[i].status) << "step " << i << ": " << result.reason;
        EXPECT_EQ(result.password, steps[i].password) << "step " << i;
    }
}

TEST(SecretStore, NoServiceLockedAndUnansweredKeyrings)
{
    if (Missing())
        GTEST_SKIP() << "not installed: gnome-keyring, dbus";
    KeyringSession session;
    session.Start(Prompter::kCannotStart, true, "keyring password");
    ASSERT_EQ(session.Run([] { return SecretStore().Store(kAccount, "kept"); }).status, SecretStatus::kDone);

    const auto limit = 1500ms;
    const struct {
        const char* what;
        Prompter prompter;
        bool keyring;
        bool bus;
        SecretStatus status;
    } cases[] = {
        { "no session bus", Prompter::kCannotStart, false, false, SecretStatus::kNoService },
        { "a bus without a keyring", Prompter::kCannotStart, false, true, SecretStatus::kNoService },
        { "locked, no prompt can be shown", Prompter::kCannotStart, true, true, SecretStatus::kLocked },
        { "locked, a prompt nobody answers", Prompter::kSilent, true, true, SecretStatus::kTimedOut },
    };
    for (const auto& c : cases) {
        for (const auto& operation :
            std::vector<std::function<SecretResult()>> { [&] { return SecretStore(limit).Lookup(kAccount); },
                [&] { return SecretStore(limit).Store(kAccount, "lost"); },
                [&] { return SecretStore(limit).Remove(kAccount); } }) {
            // Started without the password: locked. Afresh for each call,
            // since gnome-keyring-daemon 42 does not survive a prompt
            // dismissed while its prompter is still starting.
            session.Start(c.prompter, c.keyring, std::nullopt);
            const auto start = std::chrono::steady_clock::now();
            const SecretResult result = session.Run(operation, c.bus);
            EXPECT_EQ(result.status, c.status) << c.what << ": " << result.reason;
            EXPECT_LT(std::chrono::steady_clock::now() - start, limit + 2s) << c.what;
        }
    }
    // Opened again with its password, the keyring still holds what it held.
    session.Start(Prompter::kCannotStart, true, "keyring password");
    EXPECT_EQ(session.Run([] { return SecretStore().Lookup(kAccount); }).password, "kept");
}

} // namespace
