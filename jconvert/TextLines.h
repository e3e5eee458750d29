#pragma once

// Lines of text and their line ends: the one place that knows a line ends
// at CR LF, at a lone CR or at a lone LF. Trail bytes of Shift_JIS are never
// CR or LF, so Shift_JIS text is split byte by byte.

#include <optional>
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

// A line of the form key=value: the key is what stands before the first
// "=", the value everything after it; nothing is trimmed.
struct KeyValue {
    std::string_view key;
    std::string_view value;
};
// nullopt for a line without "=".
std::optional<KeyValue> SplitKeyValue(std::string_view line);

// The key=value lines of an INI-style text, in order, each with the section
// it stands in: the text between the first "[" and the last "]" of the
// latest section line ("" before the first). Keys and values are trimmed of
// blanks; lines without "=" and blank lines are skipped.
struct IniEntry {
    std::string_view section;
    std::string_view key;
    std::string_view value;
};
std::vector<IniEntry> IniEntries(std::string_view text);

} // namespace jconvert
