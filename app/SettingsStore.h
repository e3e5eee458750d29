#pragma once

// Loading and saving of the window's state: the memo in "memo.txt" and the
// settings in "corkpane.ini", both in a given folder (the program uses its
// working directory). Both files are Shift_JIS bytes.

#include "app/PasswordScrambler.h"
#include "app/Settings.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace app {

inline constexpr char kMemoFileName[] = "memo.txt";
inline constexpr char kSettingsFileName[] = "corkpane.ini";

// The five lines a new settings file starts with.
const std::vector<std::string>& SettingsFileHeader();

// Reads the memo (if "memo.txt" exists, with every line end made CR LF), then
// sets the password placeholder "qqqqq", then applies every key of
// "corkpane.ini" (if it exists) to settings, in file order: a missing key
// reads as an empty value, and the stored server is appended to the server
// list. Without a settings file the settings keep what they hold. A file
// that exists but cannot be read throws the file unit's error
// (platform::FileIoError); what was applied before stays.
void LoadSettings(const std::filesystem::path& folder, Settings& settings, std::string& memo,
    const MessageCallback& message = {});

// Writes the memo unchanged to "memo.txt", then stores every key into the
// lines of the existing "corkpane.ini" (or a new file's header) and writes
// them back. Each file is replaced atomically; a failure throws the file
// unit's error and leaves that file whole, and a failure on the memo leaves
// the settings file untouched.
void SaveSettings(const std::filesystem::path& folder, const Settings& settings, const std::string& memo,
    const MessageCallback& message = {});

} // namespace app
