#pragma once

// The desktop session's own variables, kept in a small file for programs
// that start outside the session. The daily redraw is started by the
// user's service manager, whose environment on many desktops (Xfce, LXQt,
// LXDE, sway without an import line) has no display and no desktop name;
// the window writes them at each start and the redraw takes the ones it
// lacks from there.

#include "platform/UserFolders.h"

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace platform {

// The record's file: session.txt in Corkpane's own config folder.
std::filesystem::path SessionRecordFile(const UserFolders& folders);

// NAME=VALUE lines for the session variables variable gives, or an empty
// text when it gives no display at all (nothing worth keeping).
std::string SessionRecord(const EnvironmentLookup& variable);

// Writes the record to file when it differs from what the file holds (the
// file unit's error on failure).
void KeepSessionRecord(const std::filesystem::path& file, const EnvironmentLookup& variable);

// The recorded variables that variable does not give, in file order;
// nothing when the file is missing or cannot be read.
std::vector<std::pair<std::string, std::string>> MissingSessionVariables(
    const std::filesystem::path& file, const EnvironmentLookup& variable);

} // namespace platform
