#pragma once

// A private desktop session with gnome-keyring-daemon for tests of the
// password's keeping: a fresh home on a private D-Bus session bus with no
// services but the unlock prompter the test chooses. The script runs there
// under sh with these functions:
//   unlocked  starts the keyring, unlocked with its password
//   locked    starts it locked (a prompt goes to the chosen prompter)
// Header-only; GoogleTest-free.

#include "common/TempFolder.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace test_files {

// Prompters: one that cannot start (as without a display: the prompt is
// dismissed at once), and one that takes the prompter's name on the bus and
// never answers.
inline constexpr char kPrompterCannotStart[] = "/bin/false";
inline constexpr char kPrompterSilent[]
    = "/bin/sh -c 'exec dbus-monitor --address \"$DBUS_STARTER_ADDRESS\" >/dev/null'";

inline bool KeyringToolsInstalled()
{
    return std::system("command -v gnome-keyring-daemon dbus-run-session dbus-monitor dbus-send secret-tool "
                       ">/dev/null")
        == 0;
}

// Standard output of the script (standard error dropped); variables holds
// "NAME='value' " words the script sees besides HOME, XDG_*_HOME and PATH.
inline std::string InKeyringSession(
    const std::string& prompter, const std::string& script, const std::string& variables = "")
{
    const TempFolder home("keyring");
    const std::string root = home.Path().string();
    home.Write("services/prompter.service",
        "[D-BUS Service]\nName=org.gnome.keyring.SystemPrompter\nExec=" + prompter + "\n");
    home.Write("bus.conf",
        "<busconfig><type>session</type><listen>unix:dir=" + root + "</listen><servicedir>" + root
            + "/services</servicedir><policy context=\"default\"><allow send_destination=\"*\"/>"
              "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>");
    home.Write("case.sh",
        "keyring() { gnome-keyring-daemon --replace --daemonize --components=secrets \"$@\" >/dev/null; n=0;"
        "  until dbus-send --session --print-reply --dest=org.freedesktop.secrets /org/freedesktop/secrets"
        "    org.freedesktop.DBus.Peer.Ping >/dev/null 2>&1 || [ $((n += 1)) -gt 50 ]; do sleep 0.1; done; "
        "}\n"
        "unlocked() { printf 'keyring password' | keyring --unlock; }\n"
        "locked() { keyring </dev/null; }\n"
            + script);
    const std::string command = "cd '" + root
        + "' && env -i HOME=\"$PWD\" XDG_DATA_HOME=\"$PWD\" XDG_CONFIG_HOME=\"$PWD\" "
          "XDG_RUNTIME_DIR=\"$PWD\" "
          "PATH=/usr/bin:/bin "
        + variables + " dbus-run-session --config-file=bus.conf -- sh case.sh 2>/dev/null";
    std::string out;
    FILE* pipe = ::popen(command.c_str(), "r");
    for (int c; pipe && (c = std::fgetc(pipe)) != EOF;)
        out += static_cast<char>(c);
    if (pipe)
        ::pclose(pipe);
    return out;
}

} // namespace test_files
