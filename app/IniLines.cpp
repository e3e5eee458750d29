#include "app/IniLines.h"

#include "jconvert/AsciiText.h"
#include "jconvert/TextLines.h"
#include "jconvert/sjis.h"

namespace app {
namespace {

bool KeyEquals(std::string_view name, std::string_view key)
{
    if (name.size() != key.size())
        return false;
    for (std::size_t i = 0; i < key.size(); ++i) {
        // The second byte of a double-byte character may look like an ASCII
        // letter; it must match exactly, or ア would equal another kana.
        if (jconvert::IsSjisLeadByte(static_cast<unsigned char>(key[i])) && i + 1 < key.size()) {
            if (name[i] != key[i] || name[i + 1] != key[i + 1])
                return false;
            ++i;
            continue;
        }
        if (jconvert::AsciiUpper(name[i]) != jconvert::AsciiUpper(key[i]))
            return false;
    }
    return true;
}

} // namespace

IniLines IniLines::Parse(std::string_view bytes)
{
    std::vector<std::string> lines;
    for (const std::string_view line : jconvert::SplitLines(bytes))
        lines.emplace_back(line);
    return IniLines(std::move(lines));
}

std::string IniLines::Serialize() const
{
    std::size_t total = 0;
    for (const auto& line : lines_)
        total += line.size() + 2;
    std::string out;
    out.reserve(total);
    for (const auto& line : lines_) {
        out += line;
        out += "\r\n";
    }
    return out;
}

std::optional<std::size_t> IniLines::Find(std::string_view key) const
{
    return FindFrom(key, 0);
}

std::optional<std::size_t> IniLines::FindFrom(std::string_view key, std::size_t first) const
{
    for (std::size_t i = first; i < lines_.size(); ++i) {
        if (const auto pair = jconvert::SplitKeyValue(lines_[i]); pair && KeyEquals(pair->key, key))
            return i;
    }
    return std::nullopt;
}

std::string IniLines::Value(std::string_view key) const
{
    const auto index = Find(key);
    if (!index)
        return {};
    return std::string(jconvert::SplitKeyValue(lines_[*index])->value);
}

void IniLines::Set(std::string_view key, std::string_view value)
{
    value = value.substr(0, value.find_first_of("\r\n"));
    const auto index = Find(key);
    if (value.empty()) {
        if (!index)
            return;
        // With a later line for the same key, removing this one would let
        // that older value come back at the next start; an empty value reads
        // the same as a missing key, so the line is emptied instead.
        if (FindFrom(key, *index + 1)) {
            lines_[*index] = std::string(key) + "=";
            return;
        }
        lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(*index));
        return;
    }
    std::string line;
    line.reserve(key.size() + 1 + value.size());
    line.append(key).append("=").append(value);
    if (index)
        lines_[*index] = std::move(line);
    else
        lines_.push_back(std::move(line));
}

} // namespace app
