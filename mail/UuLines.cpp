#include "mail/UuLines.h"

#include "jconvert/AsciiText.h"

namespace mail {
namespace {

using jconvert::AsciiUpper;

} // namespace

bool IsUuBeginLine(std::string_view line)
{
    constexpr std::string_view kBegin = "BEGIN ";
    if (line.size() < 10 || line[9] != ' ')
        return false;
    for (std::size_t i = 0; i < kBegin.size(); ++i) {
        if (AsciiUpper(line[i]) != kBegin[i])
            return false;
    }
    std::string_view number = line.substr(6, 3);
    while (!number.empty() && number.front() == ' ')
        number.remove_prefix(1);
    if (!number.empty() && number.front() == '+')
        number.remove_prefix(1);
    return jconvert::ParseDigits(number).value_or(0) > 0;
}

bool IsUuEndLine(std::string_view line)
{
    line = jconvert::TrimBlanks(line);
    return line.size() == 3 && AsciiUpper(line[0]) == 'E' && AsciiUpper(line[1]) == 'N'
        && AsciiUpper(line[2]) == 'D';
}

bool IsKnownUuDataLine(std::string_view line)
{
    return !line.empty() && (line.front() == 'M' || line.front() == 'h');
}

} // namespace mail
