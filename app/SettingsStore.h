#pragma once

// Loading and saving of the window's state: the memo in "memo.txt" and the
// settings in "corkpane.ini", both in a given folder (the program uses its
// working directory). Both files are Shift_JIS bytes.

#include "app/KeyringPassword.h"
#include "app/PasswordScrambler.h"
#include "app/Settings.h"

#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace app {

inline constexpr char kMemoFileName[] = "memo.txt";
inline constexpr char kSettingsFileName[] = "corkpane.ini";

// The five lines a new settings file starts with.
const std::vector<std::string>& SettingsFileHeader();

// The files a load found but could not read (too large, no permission, a
// read error). A save leaves each of them exactly as it is: what the window
// holds in their place is the defaults, not the user's data.
struct UnreadFiles {
    bool memo = false;
    bool settings = false;

    bool Any() const { return memo || settings; }
};

// Reads the memo (if "memo.txt" exists, with every line end made CR LF), then
// sets the password placeholder "qqqqq", then applies every key of
// "corkpane.ini" (if it exists) to settings, in file order: a missing key
// reads as an empty value, and the stored server is appended to the server
// list. Without a settings file the settings keep what they hold. Each file
// is read on its own: one that exists but cannot be read leaves its part as
// it was and is marked in unread (when given), and the other is still read;
// after both, the failure is thrown as platform::FileIoError, naming each
// file that could not be read and saying it will not be overwritten.
void LoadSettings(const std::filesystem::path& folder, Settings& settings, std::string& memo,
    const MessageCallback& message = {}, UnreadFiles* unread = nullptr);

// Writes the memo unchanged to "memo.txt", then stores every key into the
// lines of the existing "corkpane.ini" (or a new file's header) and writes
// them back, private to the user. A file marked in unread is not written.
// The password is left out where passwordInKeyring says the desktop's
// keyring keeps it; a password the scrambled form cannot give back exactly
// (ScrambleKeepsPassword) leaves the stored value as it was, never empties
// it. Each file is replaced atomically, never larger than it is read with;
// a failure throws the file unit's error and leaves that file whole, and a
// failure on the memo leaves the settings file untouched.
void SaveSettings(const std::filesystem::path& folder, const Settings& settings, const std::string& memo,
    const MessageCallback& message = {}, const UnreadFiles& unread = {}, bool passwordInKeyring = false);

enum class PasswordPlace { kKeyring, kSettingsFile };

// Stores password for the account "corkpane.ini" in folder names, where the
// window keeps it: in the desktop's keyring when useKeyring and one takes it
// (the file then holds no password), else scrambled in the file. The memo
// and every other setting stay as they are. Throws platform::UserError
// (texts::kPasswordNotKept) when neither can keep it exactly, the file left
// as it was, and the file's error when it cannot be read or written.
PasswordPlace StorePassword(const std::filesystem::path& folder, const std::string& password, bool useKeyring,
    std::chrono::milliseconds timeLimit);

} // namespace app
