#include "Arguments.h"

#include "jconvert/cp932.h"

namespace tool {

std::string Shown(std::string_view argument)
{
    return jconvert::Utf8ToCp932(argument);
}

std::optional<std::chrono::year_month_day> ParseIsoDate(std::string_view text)
{
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return std::nullopt;
    const auto y = ParseNumber<int>(text.substr(0, 4));
    const auto m = ParseNumber<unsigned>(text.substr(5, 2));
    const auto d = ParseNumber<unsigned>(text.substr(8, 2));
    if (!y || !m || !d || *y < 1)
        return std::nullopt;
    const std::chrono::year_month_day date { std::chrono::year { *y }, std::chrono::month { *m },
        std::chrono::day { *d } };
    if (!date.ok())
        return std::nullopt;
    return date;
}

} // namespace tool
