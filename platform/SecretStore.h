#pragma once

// The desktop's keyring: a mail account's password kept through the Secret
// Service on the session bus (GNOME Keyring, KWallet, KeePassXC), by
// libsecret. Qt-free.
//
// Each password is one item of the keyring's default collection, found by
// the attributes application=corkpane, server, port and user (schema
// "org.example.corkpane.Password"). Storing replaces the item of the same
// account, so a keyring never holds two passwords for one account.
//
// Every call is bounded by the store's time limit: a keyring may show the
// user a prompt (to unlock it) that nobody answers, or a service may hang.
// When the limit passes, the call is cancelled (a prompt is dismissed
// through the service), waits at most one more second for the service to
// acknowledge, and returns kTimedOut: the keyring is then as it was, unless
// the service had finished the change just before.
// The work runs on the calling thread in a main context of its own, so a
// Qt or GLib loop of the caller does not run meanwhile. GLib's shared
// session bus connection of the process is told not to end the program when
// the bus goes away (its default); the calls then fail instead.

#include <chrono>
#include <string>
#include <string_view>

namespace platform {

// The account a password belongs to. Server and user are the program's
// Shift_JIS text; the keyring gets them in UTF-8 (bytes that are no
// character as U+F700 + byte, so different names never share an item).
struct SecretAccount {
    std::string server;
    int port = 0;
    std::string user;
};

enum class SecretStatus {
    kDone, // stored, found, removed, or (Probe) a service answers
    kNotFound, // the keyring holds no password for the account
    kNoService, // no session bus, or no Secret Service answers on it
    kLocked, // the keyring is locked and was not unlocked (declined, or no prompt could be shown)
    kTimedOut, // no answer within the time limit (a prompt nobody answered, a hung service)
    kFailed, // anything else: reason says what
};

struct SecretResult {
    SecretStatus status = SecretStatus::kFailed;
    // Lookup with kDone: the password's bytes exactly as they were stored.
    std::string password;
    // kFailed (and kNoService where there is one): the service's or the
    // bus's own words, in UTF-8, for a log line.
    std::string reason;
};

class SecretStore {
public:
    // Long enough for a user to type a keyring password at a prompt.
    static constexpr std::chrono::milliseconds kInteractiveTimeLimit { 60000 };
    // For a run nobody watches (the logon run): a prompt it may raise
    // stands for a few seconds only.
    static constexpr std::chrono::milliseconds kUnattendedTimeLimit { 5000 };

    explicit SecretStore(std::chrono::milliseconds timeLimit = kInteractiveTimeLimit)
        : timeLimit_(timeLimit)
    {
    }

    // kDone when a Secret Service answers on the session bus (a service the
    // bus starts on demand is started), else kNoService or kTimedOut.
    SecretResult Probe() const;

    // Keeps password (any bytes, kept exactly; UTF-8 is stored as text, so
    // that the keyring's own tools show it) for the account, replacing the
    // one kept before. A locked default collection is unlocked first, which
    // may prompt the user.
    SecretResult Store(const SecretAccount& account, std::string_view password) const;

    // The password kept for the account. Where the keyring is locked, it is
    // unlocked first (the user may be prompted): kLocked when it stays
    // locked, since a locked keyring does not say what it holds.
    SecretResult Lookup(const SecretAccount& account) const;

    // Removes the password kept for the account: kDone, or kNotFound when
    // there was none.
    SecretResult Remove(const SecretAccount& account) const;

private:
    std::chrono::milliseconds timeLimit_;
};

} // namespace platform
