#pragma once

// The settings file as a list of lines. Only lines of the form key=value
// are looked at; everything else (comments, blank lines, unknown keys, later
// duplicates) is kept unchanged and in place, so a hand-edited file keeps its
// shape across saves.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace app {

class IniLines {
public:
    IniLines() = default;
    explicit IniLines(std::vector<std::string> lines)
        : lines_(std::move(lines))
    {
    }

    // Splits bytes into lines ending at CR LF, a lone CR or a lone LF. A final
    // line end does not start another line; empty input has no lines.
    static IniLines Parse(std::string_view bytes);

    // Every line followed by CR LF.
    std::string Serialize() const;

    // Index of the first line whose text before its first "=" equals key,
    // ASCII letters compared without regard to case (double-byte Shift_JIS
    // characters byte for byte). Nothing is trimmed.
    std::optional<std::size_t> Find(std::string_view key) const;

    // The text after the first "=" of the key's line; empty when missing.
    std::string Value(std::string_view key) const;

    // A non-empty value replaces the key's line by key=value, or appends it
    // when the key has no line. An empty value removes the key's line; when
    // a later duplicate line exists, the line is left as "key=" instead, so
    // that the duplicate's older value is not read at the next start. A
    // value is cut at its first CR or LF: a line end would split the line
    // and let the rest be read as a line of its own.
    void Set(std::string_view key, std::string_view value);

    const std::vector<std::string>& Lines() const { return lines_; }

private:
    std::optional<std::size_t> FindFrom(std::string_view key, std::size_t first) const;

    std::vector<std::string> lines_;
};

} // namespace app
