#pragma once

// Whole-file reading and atomic replacement (internal to the schedule
// module). Failures raise ScheduleError with a message naming the file.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace schedule {

// The file's bytes, or nothing when no file exists at path.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path);

// Writes bytes to a new file beside path and renames it over path, so that
// path holds either its old content or the new one, never a part. The
// replaced file's permission bits are kept.
void ReplaceFileAtomically(const std::filesystem::path& path, std::string_view bytes);

} // namespace schedule
