#include "mail/UuLines.h"

namespace mail {
namespace {

char AsciiUpper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool IsBlank(char c)
{
    return static_cast<unsigned char>(c) <= 0x20;
}

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
    if (number.empty())
        return false;
    int value = 0;
    for (char c : number) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    return value > 0;
}

bool IsUuEndLine(std::string_view line)
{
    while (!line.empty() && IsBlank(line.front()))
        line.remove_prefix(1);
    while (!line.empty() && IsBlank(line.back()))
        line.remove_suffix(1);
    return line.size() == 3 && AsciiUpper(line[0]) == 'E' && AsciiUpper(line[1]) == 'N'
        && AsciiUpper(line[2]) == 'D';
}

bool IsKnownUuDataLine(std::string_view line)
{
    return !line.empty() && (line.front() == 'M' || line.front() == 'h');
}

} // namespace mail
