#include "mail/HeaderFields.h"

#include "jconvert/AsciiText.h"

namespace mail {
namespace {

using jconvert::IsAsciiBlank;
using jconvert::TrimBlanks;

// RFC 2231 extended values: charset'language'%XX-encoded text. The values
// read from parameters (boundary, charset, format, delsp) are ASCII, so the
// charset part is not needed.
std::string PercentDecode(std::string_view s)
{
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size() && jconvert::AsciiHexValue(s[i + 1]) >= 0
            && jconvert::AsciiHexValue(s[i + 2]) >= 0) {
            out += static_cast<char>(
                jconvert::AsciiHexValue(s[i + 1]) * 16 + jconvert::AsciiHexValue(s[i + 2]));
            i += 2;
        } else {
            out += s[i];
        }
    }
    return out;
}

} // namespace

std::size_t ReadHeaderFields(std::span<const std::string> lines, std::vector<HeaderField>& fields)
{
    fields.clear();
    std::size_t i = 0;
    for (; i < lines.size() && !lines[i].empty(); ++i) {
        const std::string& line = lines[i];
        if (line.front() == ' ' || line.front() == '\t') {
            if (!fields.empty()) {
                std::string& value = fields.back().value;
                value += ' ';
                value += TrimBlanks(line);
            }
            continue;
        }
        const std::size_t colon = line.find(':');
        if (colon == std::string::npos)
            continue;
        fields.push_back({ std::string(TrimBlanks(std::string_view(line).substr(0, colon))),
            std::string(TrimBlanks(std::string_view(line).substr(colon + 1))) });
    }
    for (HeaderField& field : fields)
        field.value = std::string(TrimBlanks(field.value));
    return i;
}

std::map<std::string, std::string> ReadHeaderParams(std::string_view value)
{
    const std::size_t semicolon = value.find(';');
    if (semicolon == std::string_view::npos)
        return {};
    const std::string_view v = value.substr(semicolon + 1);
    struct Section {
        std::string value;
        bool extended = false;
    };
    std::map<std::string, std::map<int, Section>> sections;
    std::size_t i = 0;
    while (i < v.size()) {
        while (i < v.size() && (IsAsciiBlank(v[i]) || v[i] == ';'))
            ++i;
        if (i < v.size() && v[i] == '(') { // a comment
            int depth = 0;
            for (; i < v.size(); ++i) {
                if (v[i] == '(')
                    ++depth;
                else if (v[i] == ')' && --depth == 0) {
                    ++i;
                    break;
                }
            }
            continue;
        }
        const std::size_t nameStart = i;
        while (i < v.size() && v[i] != '=' && v[i] != ';')
            ++i;
        std::string name = jconvert::AsciiLowerCopy(TrimBlanks(v.substr(nameStart, i - nameStart)));
        if (i >= v.size() || v[i] != '=')
            continue;
        ++i;
        while (i < v.size() && IsAsciiBlank(v[i]))
            ++i;
        std::string text;
        if (i < v.size() && v[i] == '"') {
            for (++i; i < v.size() && v[i] != '"'; ++i) {
                if (v[i] == '\\' && i + 1 < v.size())
                    ++i;
                text += v[i];
            }
            ++i;
        } else {
            const std::size_t start = i;
            while (i < v.size() && v[i] != ';' && !IsAsciiBlank(v[i]))
                ++i;
            text = std::string(v.substr(start, i - start));
        }
        if (name.empty())
            continue;
        // name, name*, name*N, name*N*
        Section section { std::move(text), false };
        if (name.back() == '*') {
            section.extended = true;
            name.pop_back();
        }
        int index = 0;
        const std::size_t star = name.find('*');
        if (star != std::string::npos) {
            const std::string digits = name.substr(star + 1);
            name.resize(star);
            if (digits.empty() || digits.size() > 3
                || digits.find_first_not_of("0123456789") != std::string::npos)
                continue;
            index = std::stoi(digits);
        }
        sections[name].emplace(index, std::move(section));
    }
    std::map<std::string, std::string> params;
    for (auto& [name, parts] : sections) {
        std::string joined;
        for (auto& [index, section] : parts) {
            std::string_view text = section.value;
            if (section.extended && index == 0) {
                // Drop charset'language'.
                const std::size_t q1 = text.find('\'');
                const std::size_t q2 = q1 == std::string_view::npos ? q1 : text.find('\'', q1 + 1);
                if (q2 != std::string_view::npos)
                    text.remove_prefix(q2 + 1);
            }
            joined += section.extended ? PercentDecode(text) : std::string(text);
        }
        params.emplace(name, std::move(joined));
    }
    return params;
}

} // namespace mail
