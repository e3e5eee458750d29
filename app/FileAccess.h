#pragma once

// Whole-file reading and crash-safe replacement of the user's files.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace app {

// The file's bytes, or nothing when the file does not exist. A file that
// exists but cannot be read throws FileError::cannotOpen.
std::optional<std::string> ReadFileIfExists(const std::filesystem::path& file);

// Replaces the file's content with bytes: they are written to a temporary
// file in the same folder, flushed to disk and renamed over the target, so
// the old file stays whole until the new one is complete. An existing
// file's permissions are kept, and a symbolic link is followed so that the
// file it names is replaced rather than the link. Any failure removes the
// temporary file and throws FileError::cannotCreate.
void WriteFileAtomically(const std::filesystem::path& file, std::string_view bytes);

} // namespace app
