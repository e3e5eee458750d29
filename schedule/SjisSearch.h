#pragma once

// Whole-character text operations on Shift_JIS used by the date language
// (internal to the schedule module).

#include <string>
#include <string_view>

namespace schedule {

// True when needle occurs in text starting on a character boundary.
bool SjisContains(std::string_view text, std::string_view needle);

// Replaces every occurrence of from (whole characters, left to right, no
// overlap, inserted text not scanned again) by to.
std::string SjisReplaceAll(std::string_view text, std::string_view from, std::string_view to);

} // namespace schedule
