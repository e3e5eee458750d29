#include "schedule/DelimitedText.h"

#include "jconvert/AsciiText.h"

#include <limits>

namespace schedule {

std::vector<std::string> SplitDelimited(std::string_view text, char delimiter, std::size_t maxFields)
{
    // Past the end reads as a zero byte, which ends the text.
    const auto at = [text](std::size_t i) -> unsigned char {
        return i < text.size() ? static_cast<unsigned char>(text[i]) : 0;
    };
    const auto blank = [](unsigned char c) { return c >= 1 && c <= ' '; };
    const auto delim = static_cast<unsigned char>(delimiter);

    std::vector<std::string> fields;
    std::size_t p = 0;
    while (blank(at(p)))
        ++p;
    while (at(p) != 0 && fields.size() < maxFields) {
        if (at(p) == '"') {
            std::string field;
            ++p;
            while (at(p) != 0) {
                if (at(p) == '"') {
                    if (at(p + 1) != '"') {
                        ++p;
                        break;
                    }
                    ++p;
                }
                field.push_back(static_cast<char>(at(p)));
                ++p;
            }
            fields.push_back(std::move(field));
        } else {
            const std::size_t start = p;
            while (at(p) > ' ' && at(p) != delim)
                ++p;
            fields.emplace_back(text.substr(start, p - start));
        }
        while (blank(at(p)))
            ++p;
        if (at(p) == delim) {
            if (at(p + 1) == 0 && fields.size() < maxFields)
                fields.emplace_back();
            do
                ++p;
            while (blank(at(p)));
        }
    }
    return fields;
}

std::optional<std::int32_t> ParseDecimal(std::string_view text)
{
    return jconvert::ParseInt32(text);
}

} // namespace schedule
