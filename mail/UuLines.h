#pragma once

// Recognition of uuencoded blocks inside body text, which the memo leaves out.

#include <string_view>

namespace mail {

// "begin " (any case), a positive number in the 7th to 9th characters
// (leading blanks and a plus sign allowed) and a blank as the 10th.
bool IsUuBeginLine(std::string_view line);

// "end" in any case, surrounding blanks ignored.
bool IsUuEndLine(std::string_view line);

// Whether the line after a begin line starts data of a known scheme:
// uuencode ("M") or xxencode ("h").
bool IsKnownUuDataLine(std::string_view line);

} // namespace mail
