#include "jconvert/line_ends.h"

#include <cstring>
#include <string_view>

namespace jconvert {

namespace {

std::string_view lineEnd(int code) noexcept
{
    switch (code) {
    case RET_CRLF:
        return "\r\n";
    case RET_CR:
        return "\r";
    case RET_LF:
        return "\n";
    default:
        return {};
    }
}

} // namespace

int ReturnCodeCheck(const std::string& text)
{
    const std::size_t pos = text.find_first_of("\r\n");
    if (pos == std::string::npos)
        return RET_NONE;
    if (text[pos] == '\n')
        return RET_LF;
    return (pos + 1 < text.size() && text[pos + 1] == '\n') ? RET_CRLF : RET_CR;
}

std::string StrictConvertReturnCode(const std::string& text, int InCode, int OutCode)
{
    const std::string_view from = lineEnd(InCode);
    if (from.empty() || InCode == OutCode)
        return text;
    const std::string_view to = lineEnd(OutCode);

    // Only whole line ends of the input convention are replaced: in CR LF
    // text a lone CR is kept, together with the byte after it.
    std::string result;
    result.reserve(to.size() > from.size() ? text.size() * to.size() : text.size());
    const char first = from[0];
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p < end) {
        const char* hit = static_cast<const char*>(std::memchr(p, first, static_cast<std::size_t>(end - p)));
        if (!hit) {
            result.append(p, static_cast<std::size_t>(end - p));
            break;
        }
        result.append(p, static_cast<std::size_t>(hit - p));
        if (static_cast<std::size_t>(end - hit) >= from.size()
            && std::string_view(hit, from.size()) == from) {
            result.append(to);
            p = hit + from.size();
        } else {
            result.push_back(*hit);
            p = hit + 1;
        }
    }
    return result;
}

std::string ConvertReturnCode(const std::string& text, int OutCode)
{
    return StrictConvertReturnCode(text, ReturnCodeCheck(text), OutCode);
}

} // namespace jconvert
