#pragma once

// The mail password in the desktop's keyring (the Secret Service: GNOME
// Keyring, KWallet, KeePassXC), for the account the settings name. Every
// call is bounded by the time limit given (a keyring may ask the user to
// unlock it). One object lives as long as a run: it remembers what the
// keyring holds, so a save that changes nothing asks nothing of it.

#include "app/Settings.h"

#include <chrono>
#include <optional>
#include <string>

namespace app {

// The password a new set-up holds until one is typed.
inline constexpr char kPasswordPlaceholder[] = "qqqqq";

class KeyringPassword {
public:
    explicit KeyringPassword(std::chrono::milliseconds timeLimit)
        : timeLimit_(timeLimit)
    {
    }

    // Whether a keyring answers on the session bus.
    bool Answers() const;

    // Puts the password the keyring keeps for the account into settings,
    // unless the settings file holds one of its own (not empty, not the
    // placeholder): a save writes the password there only when the keyring
    // did not take it, so the file's is the newer one. False (settings
    // unchanged) when the file's stands, or the keyring keeps none or
    // cannot be asked.
    bool Load(Settings& settings);

    // Keeps the settings' password in the keyring; false when no keyring
    // took it (the settings file keeps it then). The placeholder of a new
    // set-up is not kept there. The password the keyring is known to hold
    // for the account is not stored again.
    bool Store(const Settings& settings);

private:
    std::chrono::milliseconds timeLimit_;
    // Account and password the keyring was last seen to hold.
    std::optional<std::string> held_;
};

} // namespace app
