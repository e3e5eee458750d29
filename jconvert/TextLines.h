#pragma once

#include <string_view>
#include <vector>

namespace jconvert {

// Splits text into lines ended by CR LF, CR or LF, without their line ends.
// Text after the last line end is a line of its own; a line end at the very
// end opens no further line. The views point into text.
std::vector<std::string_view> SplitLines(std::string_view text);

} // namespace jconvert
