// `password set` and the read of a reception, against a real
// gnome-keyring-daemon in a private session. Each call is this test program
// started afresh, as the tool and the logon run are.
#include "CommandRegistry.h"
#include "app/KeyringPassword.h"
#include "app/SettingsStore.h"
#include "app/Texts.h"
#include "common/KeyringSession.h"
#include "tool/Texts.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <iostream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

// The child's part, run once every command is registered:
// CORKPANE_PASSWORD_CALL="set DIR" runs `password set` on standard input and
// prints its status and where the message says the password went; "load
// DIR" prints the password a reception would use. Its lines start "= ",
// apart from what the test runner prints.
class Child : public testing::Environment {
    void SetUp() override
    {
        const char* call = std::getenv("CORKPANE_PASSWORD_CALL");
        if (!call)
            return;
        std::istringstream words(call);
        std::string verb, dir;
        words >> verb >> dir;
        if (verb == "set") {
            std::ostringstream out, err;
            tool::Io io { std::cin, out, err };
            const int status = tool::CommandRegistry::Instance().Run({ "password", "set", "--dir", dir }, io);
            const std::string said = err.str();
            std::printf("= %d %s\n", status,
                said.find(tool::texts::kPasswordInKeyring) != std::string::npos    ? "keyring"
                    : said.find(tool::texts::kPasswordInFile) != std::string::npos ? "file"
                    : said.find(app::texts::kPasswordNotKept) != std::string::npos ? "refused"
                                                                                   : said.c_str());
        } else {
            app::Settings settings;
            std::string memo;
            app::LoadSettings(dir, settings, memo);
            app::KeyringPassword(std::chrono::milliseconds(1500)).Load(settings);
            std::printf("= %s\n", settings.Password.c_str());
        }
        std::fflush(stdout);
        ::_exit(0);
    }
};
[[maybe_unused]] testing::Environment* const kChild = testing::AddGlobalTestEnvironment(new Child);

TEST(PasswordSet, KeptInTheKeyringWhereOneTakesItElseInTheSettingsFile)
{
    if (!test_files::KeyringToolsInstalled())
        GTEST_SKIP() << "not installed: gnome-keyring, dbus, libsecret-tools";
    const std::string prelude
        = "mkdir d; printf 'POP3Host1=pop.example.jp\\r\\nUser1=taro\\r\\nPOP3Port1=110\\r\\n' > "
          "d/corkpane.ini\n"
          "self() { if [ -n \"$nobus\" ]; then env -u DBUS_SESSION_BUS_ADDRESS \"$@\" \"$SELF\"; "
          "  else env \"$@\" \"$SELF\"; fi | sed -n 's/^= //p'; }\n"
          "put() { printf '%s\\n' \"$1\" | self CORKPANE_PASSWORD_CALL='set d'; }\n"
          "load() { self CORKPANE_PASSWORD_CALL='load d'; }\n"
          "inFile() { grep -c '^PassWord1=.' d/corkpane.ini; }\n"
          "items() { secret-tool search --all application corkpane 2>&1 | grep -c '^label'; }\n"
          "kept() { secret-tool lookup application corkpane server pop.example.jp port 110 user taro; echo; "
          "}\n";
    const struct {
        std::string script;
        std::string output;
    } cases[] = {
        // No keyring: scrambled in the file; what that form cannot give back
        // is refused and the stored password stays.
        { "nobus=1; put older; put 'ñandú'; load; inFile\n", "0 file\n1 refused\nolder\n1\n" },
        // An older password in the file moves to the keyring at the next
        // save; a second save replaces the keyring's item.
        { "nobus=1; put older; nobus=; unlocked; load; put 'ｐａｓｓ*ワード 1'; load; inFile; kept; put "
          "newer; items; load\n",
            "0 file\nolder\n0 keyring\nｐａｓｓ*ワード 1\n0\nｐａｓｓ*ワード 1\n0 keyring\n1\nnewer\n" },
        // A locked keyring the user does not open: the file keeps the new
        // password, and it stays the one read once the keyring is open.
        { "unlocked; put first; locked; put second; load; unlocked; load; kept\n",
            "0 keyring\n0 file\nsecond\nsecond\nfirst\n" },
    };
    const std::string self = "SELF='" + std::filesystem::read_symlink("/proc/self/exe").string() + "'";
    for (const auto& c : cases)
        EXPECT_EQ(test_files::InKeyringSession(test_files::kPrompterCannotStart, prelude + c.script, self),
            c.output)
            << c.script;
}

} // namespace
