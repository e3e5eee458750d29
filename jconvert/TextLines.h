#pragma once

// Lines of text and their line ends: the one place that knows a line ends
// at CR LF, at a lone CR or at a lone LF. Trail bytes of Shift_JIS are never
// CR or LF, so Shift_JIS text is split byte by byte.

#include <string>
#include <string_view>
#include <vector>

namespace jconvert {

// Splits text into lines ended by CR LF, CR or LF, without their line ends.
// Text after the last line end is a line of its own; a line end at the very
// end opens no further line, and empty text has no lines. Line is
// std::string_view (pointing into text) or std::string (a copy of each).
template <typename Line = std::string_view> std::vector<Line> SplitLines(std::string_view text);

extern template std::vector<std::string_view> SplitLines<std::string_view>(std::string_view text);
extern template std::vector<std::string> SplitLines<std::string>(std::string_view text);

// True when text ends with a line end.
bool EndsWithLineEnd(std::string_view text);

// text with each of its line ends (CR LF, CR or LF) written as lineEnd;
// everything else, NUL bytes included, is kept.
std::string WithLineEnds(std::string_view text, std::string_view lineEnd);

// text with CR LF line ends, as the program's files and modules keep text.
inline std::string WithCrLfLineEnds(std::string_view text)
{
    return WithLineEnds(text, "\r\n");
}

} // namespace jconvert
