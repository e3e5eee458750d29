#include "platform/desktops/DesktopText.h"

#include "jconvert/AsciiText.h"
#include "jconvert/TextLines.h"
#include "jconvert/charset.h"

#include <algorithm>
#include <regex>

namespace platform {

std::string UnquoteGVariant(std::string_view text)
{
    const std::string_view value = jconvert::TrimBlanks(text);
    if (value.size() < 2 || (value.front() != '\'' && value.front() != '"') || value.back() != value.front())
        return std::string(value);
    std::string out;
    for (std::size_t i = 1; i + 1 < value.size(); ++i) {
        if (value[i] == '\\' && i + 2 < value.size())
            ++i;
        out += value[i];
    }
    return out;
}

std::string QuoteGVariant(std::string_view text)
{
    std::string out = "'";
    for (const char c : text) {
        if (c == '\'' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + "'";
}

std::string FileUriToPath(std::string_view uri)
{
    if (!uri.starts_with("file://"))
        return uri.find("://") == std::string_view::npos ? std::string(uri) : std::string();
    std::string_view rest = uri.substr(7);
    // file://host/path: the path
    if (!rest.empty() && rest.front() != '/') {
        const std::size_t slash = rest.find('/');
        rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash);
    }
    std::string path;
    for (std::size_t i = 0; i < rest.size(); ++i) {
        const int high = i + 2 < rest.size() && rest[i] == '%' ? jconvert::AsciiHexValue(rest[i + 1]) : -1;
        const int low = high >= 0 ? jconvert::AsciiHexValue(rest[i + 2]) : -1;
        if (low >= 0) {
            path += static_cast<char>(high * 16 + low);
            i += 2;
        } else {
            path += rest[i];
        }
    }
    return path;
}

std::string PathToFileUri(std::string_view path)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string uri = "file://";
    for (const char ch : path) {
        const auto c = static_cast<unsigned char>(ch);
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '/' || c == '-'
            || c == '_' || c == '.' || c == '~') {
            uri += ch;
        } else {
            uri += '%';
            uri += kDigits[c >> 4];
            uri += kDigits[c & 15];
        }
    }
    return uri;
}

std::uint32_t ColorFromText(std::string_view text, std::uint32_t fallback)
{
    static const std::regex hex6("^#([0-9a-fA-F]{2})([0-9a-fA-F]{2})([0-9a-fA-F]{2})$");
    static const std::regex hex12(
        "^#([0-9a-fA-F]{2})[0-9a-fA-F]{2}([0-9a-fA-F]{2})[0-9a-fA-F]{2}([0-9a-fA-F]{2})[0-9a-fA-F]{2}$");
    static const std::regex rgb(
        "^rgba?\\(\\s*(\\d{1,3})\\s*,\\s*(\\d{1,3})\\s*,\\s*(\\d{1,3})\\s*(,[^)]*)?\\)$");
    const std::string value = UnquoteGVariant(text);
    std::smatch m;
    int base = 0;
    if (std::regex_match(value, m, hex6) || std::regex_match(value, m, hex12))
        base = 16;
    else if (std::regex_match(value, m, rgb))
        base = 10;
    else
        return fallback;
    std::uint32_t colour = 0;
    for (int i = 0; i < 3; ++i)
        colour |= static_cast<std::uint32_t>(std::min(255, std::stoi(m[i + 1], nullptr, base))) << (8 * i);
    return colour;
}

std::string IniValue(std::string_view text, std::string_view section, std::string_view key)
{
    for (const jconvert::IniEntry& entry : jconvert::IniEntries(text)) {
        if (entry.section != section || entry.key != key)
            continue;
        std::string_view raw = entry.value;
        if (raw.size() >= 2 && raw.front() == '"' && raw.back() == '"')
            raw = raw.substr(1, raw.size() - 2);
        std::string value;
        for (std::size_t i = 0; i < raw.size(); ++i) {
            if (raw[i] != '\\' || i + 1 == raw.size()) {
                value += raw[i];
                continue;
            }
            const char c = raw[++i];
            if (c == 'x') {
                unsigned long code = 0;
                for (int digits = 0;
                     digits < 4 && i + 1 < raw.size() && jconvert::AsciiHexValue(raw[i + 1]) >= 0; ++digits)
                    code = code * 16 + static_cast<unsigned long>(jconvert::AsciiHexValue(raw[++i]));
                // File names are UTF-8.
                value += jconvert::CodePointToUtf8(code);
            } else {
                value += c == 's' ? ' ' : c == 'n' ? '\n' : c == 't' ? '\t' : c;
            }
        }
        return value;
    }
    return {};
}

} // namespace platform
