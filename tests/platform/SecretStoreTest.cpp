// The keyring store against a real gnome-keyring-daemon on a private session
// bus (no services but the unlock prompter each case chooses). Each call is
// made by this program started afresh, as the logon run would make it.
#include "platform/SecretStore.h"

#include "common/KeyringSession.h"

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

TEST(SecretStore, AgainstGnomeKeyring)
{
    if (!test_files::KeyringToolsInstalled())
        GTEST_SKIP() << "not installed: gnome-keyring, dbus, libsecret-tools";
    const char* cannotStart = test_files::kPrompterCannotStart;
    const char* silent = test_files::kPrompterSilent;
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
    const std::string self = "SELF='" + std::filesystem::read_symlink("/proc/self/exe").string() + "'";
    for (const auto& c : cases)
        EXPECT_EQ(test_files::InKeyringSession(
                      c.prompter, "call() { CORKPANE_SECRET_CALL=\"$*\" \"$SELF\"; }\n" + c.script, self),
            c.output)
            << c.script;
}

} // namespace
