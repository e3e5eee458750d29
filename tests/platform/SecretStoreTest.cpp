// The keyring store against a real gnome-keyring-daemon on a private session
// bus (no services but the unlock prompter each case chooses). Each call is
// made by this program started afresh, as the logon run would make it.
#include "platform/SecretStore.h"

#include "common/TempFolder.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;
using platform::SecretResult;

constexpr auto kLimit = 1500ms;

// The child's part: CORKPANE_SECRET_CALL="PORT probe|lookup|remove" or
// "PORT store PASSWORD" for taro@pop.example.jp:PORT prints the status, the
// password found, and "slow" when the call overran its limit.
const bool kChild = [] {
    const char* call = std::getenv("CORKPANE_SECRET_CALL");
    if (!call)
        return false;
    std::istringstream words(call);
    int port = 0;
    std::string verb, password;
    std::getline(words >> port >> verb >> std::ws, password);
    const platform::SecretAccount account { "pop.example.jp", port, "taro" };
    const platform::SecretStore store(kLimit);
    const auto start = std::chrono::steady_clock::now();
    const SecretResult r = verb == "probe" ? store.Probe()
        : verb == "lookup"                 ? store.Lookup(account)
        : verb == "remove"                 ? store.Remove(account)
                                           : store.Store(account, password);
    std::printf("%d%s%s%s\n", static_cast<int>(r.status), r.password.empty() ? "" : " ", r.password.c_str(),
        std::chrono::steady_clock::now() - start > kLimit + 2s ? " slow" : "");
    std::fflush(stdout);
    ::_exit(0);
}();

// The output of the case's script, run in a fresh home on a private bus.
std::string InSession(const std::string& prompter, const std::string& script)
{
    const test_files::TempFolder home("keyring");
    const std::string root = home.Path().string();
    home.Write("services/prompter.service",
        "[D-BUS Service]\nName=org.gnome.keyring.SystemPrompter\nExec=" + prompter + "\n");
    home.Write("bus.conf",
        "<busconfig><type>session</type><listen>unix:dir=" + root + "</listen><servicedir>" + root
            + "/services</servicedir><policy context=\"default\"><allow send_destination=\"*\"/>"
              "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>");
    home.Write("case.sh",
        "call() { CORKPANE_SECRET_CALL=\"$*\" \"$SELF\"; }\n"
        "keyring() { gnome-keyring-daemon --replace --daemonize --components=secrets \"$@\" >/dev/null; n=0;"
        "  until [ \"$(call 0 probe)\" = 0 ] || [ $((n += 1)) -gt 50 ]; do sleep 0.1; done; }\n"
        "unlocked() { printf 'keyring password' | keyring --unlock; }\n"
        "locked() { keyring </dev/null; }\n"
            + script);
    const std::string command = "cd '" + root
        + "' && env -i HOME=\"$PWD\" XDG_DATA_HOME=\"$PWD\" XDG_RUNTIME_DIR=\"$PWD\" "
          "PATH=/usr/bin:/bin SELF='"
        + std::filesystem::read_symlink("/proc/self/exe").string()
        + "' dbus-run-session --config-file=bus.conf -- sh case.sh 2>/dev/null";
    std::string out;
    FILE* pipe = ::popen(command.c_str(), "r");
    for (int c; pipe && (c = std::fgetc(pipe)) != EOF;)
        out += static_cast<char>(c);
    if (pipe)
        ::pclose(pipe);
    return out;
}

TEST(SecretStore, AgainstGnomeKeyring)
{
    if (std::system("command -v gnome-keyring-daemon dbus-run-session dbus-monitor secret-tool >/dev/null"))
        GTEST_SKIP() << "not installed: gnome-keyring, dbus, libsecret-tools";
    const char* cannotStart = "/bin/false"; // as without a display: the prompt is dismissed
    const char* silent = "/bin/sh -c 'exec dbus-monitor --address \"$DBUS_STARTER_ADDRESS\" >/dev/null'";
    // Status numbers: 0 done, 1 not found, 2 no service, 3 locked, 4 timed out.
    const struct {
        const char* prompter;
        std::string script;
        std::string output;
    } cases[] = {
        // A keyring holding an older password; another account's in Shift_JIS bytes.
        { cannotStart,
            "unlocked; call 995 lookup; call 995 store older; call 995 store 'ｐａｓｓ*ワード 12'\n"
            "call 110 store \"$(printf '\\202\\140\\202\\141*1')\"; call 995 lookup; call 110 lookup\n"
            "secret-tool search --all application corkpane | grep -c '^label'\n"
            "call 995 remove; call 995 remove; call 995 lookup; call 110 lookup\n",
            "1\n0\n0\n0\n0 ｐａｓｓ*ワード 12\n0 \x82\x60\x82\x61*1\n2\n0\n1\n1\n0 \x82\x60\x82\x61*1\n" },
        // No session bus, then a bus without a keyring.
        { cannotStart,
            "env -u DBUS_SESSION_BUS_ADDRESS CORKPANE_SECRET_CALL='995 lookup' \"$SELF\"\n"
            "call 995 lookup; call 995 store x; call 995 remove\n",
            "2\n2\n2\n2\n" },
        // Locked, no prompt can be shown; then opened with its password.
        { cannotStart,
            "unlocked; call 995 store kept; locked; call 995 lookup; call 995 store lost; call 995 remove\n"
            "unlocked; call 995 lookup\n",
            "0\n3\n3\n3\n0 kept\n" },
        // Locked, a prompt nobody answers. gnome-keyring-daemon 42 does not
        // survive a prompt dismissed while its prompter starts: each call
        // gets a daemon of its own.
        { silent,
            "unlocked; call 995 store kept; for c in lookup 'store lost' remove; do locked; call 995 $c; "
            "done\n",
            "0\n4\n4\n4\n" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(InSession(c.prompter, c.script), c.output) << c.script;
}

} // namespace
