#include "jconvert/TextLines.h"

#include "jconvert/AsciiText.h"

namespace jconvert {
namespace {

bool IsLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

// Calls line(text of the line) for each line and end() for each line end,
// in order; a CR LF is one line end.
template <typename Line, typename End> void WalkLines(std::string_view text, Line&& line, End&& end)
{
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!IsLineEnd(text[i]))
            continue;
        line(text.substr(start, i - start));
        end();
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        line(text.substr(start));
}

} // namespace

template <typename Line> std::vector<Line> SplitLines(std::string_view text)
{
    std::vector<Line> lines;
    WalkLines(
        text, [&](std::string_view line) { lines.emplace_back(line); }, [] {});
    return lines;
}

template std::vector<std::string_view> SplitLines<std::string_view>(std::string_view text);
template std::vector<std::string> SplitLines<std::string>(std::string_view text);

bool EndsWithLineEnd(std::string_view text)
{
    return !text.empty() && IsLineEnd(text.back());
}

std::string WithLineEnds(std::string_view text, std::string_view lineEnd)
{
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    WalkLines(
        text, [&](std::string_view line) { out += line; }, [&] { out += lineEnd; });
    return out;
}

std::optional<KeyValue> SplitKeyValue(std::string_view line)
{
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos)
        return std::nullopt;
    return KeyValue { line.substr(0, eq), line.substr(eq + 1) };
}

std::vector<IniEntry> IniEntries(std::string_view text)
{
    std::vector<IniEntry> entries;
    std::string_view section;
    for (const std::string_view raw : SplitLines(text)) {
        const std::string_view line = TrimBlanks(raw);
        if (!line.empty() && line.front() == '[') {
            const std::size_t close = line.rfind(']');
            section = close == std::string_view::npos ? line.substr(1) : line.substr(1, close - 1);
            continue;
        }
        if (const std::optional<KeyValue> pair = SplitKeyValue(line))
            entries.push_back({ section, TrimBlanks(pair->key), TrimBlanks(pair->value) });
    }
    return entries;
}

} // namespace jconvert
