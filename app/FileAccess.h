#pragma once

// The settings and memo files through the program's file unit, with the
// failures raised as FileError.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace app {

// The file's bytes, or nothing when the file does not exist. A file that
// exists but cannot be read, is not a regular file or is larger than limit
// bytes throws FileError with the cannot-open message.
std::optional<std::string> ReadFileIfExists(const std::filesystem::path& file, std::uint64_t limit);

// Replaces the file's content with bytes atomically: the old file stays
// whole until the new one is complete and flushed; links are followed and
// permissions kept. A failure throws FileError with the cannot-create
// message.
void WriteFileAtomically(const std::filesystem::path& file, std::string_view bytes);

} // namespace app
